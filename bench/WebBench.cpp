// The web commands: url2text of a 1 MB page served on 127.0.0.1 (request, decoding, text
// runs through the utility plugin, the pager), and the reduction of 10 MB of HTML to text
// with the plugin decoding each run, as url2text does.

#include "../tests/LocalWebServer.h"
#include "BenchSession.h"
#include "system/HtmlToText.h"

#include <benchmark/benchmark.h>

namespace {

// The plugin built with this benchmark, unless one is chosen.
void usePluginOfThisBuild()
{
    if (qEnvironmentVariableIsEmpty("I2KCMD_PLUGIN_DIR"))
        qputenv("I2KCMD_PLUGIN_DIR", I2K_PLUGIN_BUILD_DIR);
}

// Markup as pages have it: nested tags with attributes, indentation between them, entities,
// links and line breaks inside paragraphs.
QByteArray htmlPage(qsizetype bytes)
{
    QByteArray page = "<!DOCTYPE html>\n<html>\n<head><title>Bench</title></head>\n<body>\n";
    for (int n = 0; page.size() < bytes; ++n) {
        const QByteArray number = QByteArray::number(n);
        page += "<div class=\"entry\" id=\"e" + number + "\">\n  <h2>Entry " + number +
                " &amp; notes</h2>\n  <p>Some text with a <a href=\"https://example.com/" +
                number + "\">link</a> and &quot;quotes&quot;.<br>A second line.</p>\n</div>\n";
    }
    return page + "</body>\n</html>\n";
}

void BM_Url2textOneMegabyte(benchmark::State &state)
{
    usePluginOfThisBuild();
    LocalWebServer server;
    server.serve("/page", {.body = htmlPage(1024 * 1024)});
    BenchSession b;
    const QString line = QStringLiteral("url2text ") + server.url("/page");
    for (auto _ : state)
        b.session.exe(line);
    if (b.session.pager.pageCount() < 10000)
        state.SkipWithError("the page did not arrive");
    state.counters["lines"] = b.session.pager.pageCount();
}
BENCHMARK(BM_Url2textOneMegabyte)->Unit(benchmark::kMillisecond)->UseRealTime();

void reduceTenMegabytes(benchmark::State &state,
                        const std::function<QString(const QString &)> &decode)
{
    const QString page = QString::fromUtf8(htmlPage(10 * 1024 * 1024));
    qsizetype length = 0;
    for (auto _ : state)
        length = HtmlToText(page, decode).size();
    if (length < 1000000)
        state.SkipWithError("too little text");
    state.SetBytesProcessed(state.iterations() * page.size());
    qint64 runs = 0;
    HtmlToText(page, [&runs](const QString &run) {
        ++runs;
        return run;
    });
    state.counters["decoded runs"] = static_cast<double>(runs);
}

void BM_HtmlToTextTenMegabytes(benchmark::State &state)
{
    usePluginOfThisBuild();
    BenchSession b;
    reduceTenMegabytes(state, [&b](const QString &run) {
        QVariantList arguments{run};
        return b.session.utility.invoke(Tovar::HTML2PT, arguments).toString();
    });
}
BENCHMARK(BM_HtmlToTextTenMegabytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same without decoding: what the walk costs, and so what the plugin's calls add.
void BM_HtmlToTextTenMegabytesUndecoded(benchmark::State &state)
{
    reduceTenMegabytes(state, [](const QString &run) { return run; });
}
BENCHMARK(BM_HtmlToTextTenMegabytesUndecoded)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
