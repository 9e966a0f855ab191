// libFuzzer target: text from outside the program as the web and run commands take it. A
// page reduced to text keeps no "<" or ">" of its own and ends its last line; with the
// plugin's decoder it never fails. Line ends turned into CR LF stay so when turned again.
// Arguments split as a shell splits them split the same way once quoted again.

#include "TextConversions.h"
#include "foundation/LineBreaks.h"
#include "foundation/TextFile.h"
#include "system/HtmlToText.h"
#include "system/ShellWords.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "web text: %s\n", what);
        std::abort();
    }
}

QString quoted(const QStringList &words)
{
    QStringList out;
    for (QString word : words)
        out.append(u'\'' + word.replace(u'\'', QStringLiteral("'\\''")) + u'\'');
    return out.join(u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        TextFile::decode(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));

    const QString page = toCrLf(text);
    check(toCrLf(page) == page, "CR LF applied twice changed the text");

    const QString plain = HtmlToText(page, [](const QString &run) { return run; });
    check(!plain.contains(u'<') && !plain.contains(u'>'), "markup left in the text");
    check(plain.isEmpty() || plain.endsWith(u"\r\n"), "the text does not end its last line");
    HtmlToText(page, [](const QString &run) { return Tovar::html2pt(run); });

    if (const std::optional<QStringList> words = splitShellWords(text)) {
        const std::optional<QStringList> again = splitShellWords(quoted(*words));
        check(again == words, "quoted words split differently");
    }
    return 0;
}
