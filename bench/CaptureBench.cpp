// Commands that take in output without end: openurl on a body that never ends and cmd on a
// command that never stops printing. Both are cut at 16 MiB; the counter is the process's
// peak resident memory afterwards, which the limits are there to bound (run each alone:
// the peak is the process's).

#include "../tests/LocalWebServer.h"
#include "BenchSession.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

double peakMebibytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

void BM_OpenurlEndlessBodyPeakMemory(benchmark::State &state)
{
    LocalWebServer server;
    server.serve("/endless", {.body = QByteArray(64 * 1024, 'x'), .endless = true});
    BenchSession b;
    const QString line = QStringLiteral("openurl ") + server.url("/endless");
    for (auto _ : state)
        b.session.exe(line);
    if (!b.session.console.scrCells().screenText().contains(QStringLiteral("(35767)")))
        state.SkipWithError("the page was not cut at the limit");
    state.counters["peak_rss_MiB"] = peakMebibytes();
}
BENCHMARK(BM_OpenurlEndlessBodyPeakMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CmdYesPeakMemory(benchmark::State &state)
{
    BenchSession b;
    for (auto _ : state)
        b.session.exe(QStringLiteral("cmd yes"));
    if (b.session.pager.pageCount() != 64001)
        state.SkipWithError("the output was not cut");
    state.counters["peak_rss_MiB"] = peakMebibytes();
}
BENCHMARK(BM_CmdYesPeakMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
