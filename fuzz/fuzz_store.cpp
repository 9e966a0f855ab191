// libFuzzer target: the store's text reader on arbitrary input, and the promise that whatever
// it accepts is saved and loaded back unchanged.

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "settings/KeyValueStore.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString first = dir.filePath(QStringLiteral("first.cf"));
    static const QString second = dir.filePath(QStringLiteral("second.cf"));
    if (!dir.isValid())
        std::abort();

    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    KeyValueStore store;
    try {
        store.LoadText(text);
    } catch (const RuntimeError &) {
        return 0;
    }

    store.SaveFile(first);
    KeyValueStore reloaded;
    reloaded.LoadFile(first); // must not throw: SaveFile wrote it
    reloaded.SaveFile(second);
    if (reloaded.count() != store.count() || reloaded.ListAll() != store.ListAll() ||
        TextFile::readBytes(first) != TextFile::readBytes(second)) {
        std::fprintf(stderr, "store did not survive save and load\n");
        std::abort();
    }
    return 0;
}
