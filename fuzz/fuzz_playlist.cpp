// libFuzzer target: playlist.dat read from arbitrary bytes, and the promises that entries are
// said to be left out only of a full table, and that a list it reads is written and read back
// with the same entries (while they hold no quotes or line breaks, which the layout cannot
// carry).

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "player/Playlist.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool representable(const QString &text)
{
    return !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n') &&
           !text.contains(u',') && text == text.trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString input = dir.filePath(QStringLiteral("input.dat"));
    static const QString saved = dir.filePath(QStringLiteral("saved.dat"));
    if (!dir.isValid())
        std::abort();

    TextFile::save(input, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    Playlist list;
    list.restore(input);
    const int n = list.count();
    if (!list.restoreNotice().isEmpty() && n != Playlist::kCapacity) {
        std::fprintf(stderr, "entries said to be left out of a list of %d\n", n);
        std::abort();
    }
    for (int i = 0; i < n; ++i) {
        if (!representable(list[i].artist) || !representable(list[i].track))
            return 0;
    }
    list.save(saved);
    Playlist reloaded;
    reloaded.restore(saved);
    if (reloaded.count() != n) {
        std::fprintf(stderr, "playlist of %d entries came back with %d\n", n, reloaded.count());
        std::abort();
    }
    for (int i = 0; i < n; ++i) {
        if (reloaded[i].artist != list[i].artist || reloaded[i].track != list[i].track) {
            std::fprintf(stderr, "entry %d changed\n", i);
            std::abort();
        }
    }
    return 0;
}
