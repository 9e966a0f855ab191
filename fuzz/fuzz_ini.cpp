// libFuzzer target: the utility plugin's INI editor on arbitrary input. The input holds the
// section name, a NUL, the key name, a NUL, then the file. The promises: the result is the
// file unchanged or the file with exactly one whole line taken out, that line holding the
// key; and removing again until nothing changes always ends.

#include "IniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *why)
{
    std::fprintf(stderr, "%s\n", why);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype firstNul = input.indexOf('\0');
    const qsizetype secondNul = firstNul < 0 ? -1 : input.indexOf('\0', firstNul + 1);
    if (secondNul < 0)
        return 0;
    const QString section = QString::fromUtf8(input.first(firstNul));
    const QString key = QString::fromUtf8(input.sliced(firstNul + 1, secondNul - firstNul - 1));
    QByteArray ini = input.sliced(secondNul + 1);

    // Each removal takes a line, so there can be no more removals than lines.
    const qsizetype lines = ini.count('\n') + 1;
    for (qsizetype round = 0; round <= lines; ++round) {
        const QByteArray out = Tovar::withoutIniKey(ini, section, key);
        if (out == ini)
            return 0;
        if (out.size() >= ini.size())
            fail("a removal did not shrink the file");
        qsizetype start = 0;
        while (start < out.size() && out[start] == ini[start])
            ++start;
        start = start == 0 ? 0 : ini.lastIndexOf('\n', start - 1) + 1;
        const qsizetype removed = ini.size() - out.size();
        const QByteArray line = ini.sliced(start, removed);
        if (ini.first(start) + ini.sliced(start + removed) != out)
            fail("the result is not the file with one piece taken out");
        const qsizetype lineEnd = line.indexOf('\n');
        if (!line.contains('=') || (lineEnd >= 0 && lineEnd != line.size() - 1))
            fail("the piece taken out is not one key line");
        ini = out;
    }
    fail("removals never came to an end");
}
