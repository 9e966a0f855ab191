// libFuzzer target: the store's text reader on arbitrary input, and the promises that whatever
// it accepts is saved and loaded back unchanged, that the reader which passes over bad lines
// keeps at least every pair a strict load keeps, and that the loaded catalogue, reading the text
// in pieces of bytes (cut anywhere, even inside a character), loads what the store loads from
// the whole decoded text, finds each of its keys in any letter case and keeps the catalogue
// it had when the text is bad.

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "formats/Catalogue.h"
#include "formats/KeyValueStore.h"

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

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TextFile::save(first, bytes);
    KeyValueStore tolerant;
    try {
        tolerant.LoadFileSkippingBadLines(first);
    } catch (const RuntimeError &) {
        // Only a store of another layout version is refused whole.
    }

    const QString text = TextFile::decode(bytes);
    KeyValueStore store;
    QString strictError;
    try {
        store.LoadText(text);
    } catch (const RuntimeError &error) {
        strictError = error.description();
    }
    // The first byte picks the size of the pieces.
    const qsizetype pieceSize = size > 0 ? 1 + data[0] % 16 : 1;
    Catalogue pieces;
    pieces.SetValue(QStringLiteral("before"), QStringLiteral("kept"));
    const QString before = pieces.ListAll();
    QString piecesError;
    try {
        pieces.LoadPieces([&](const auto &sink) {
            for (qsizetype at = 0; at < bytes.size(); at += pieceSize)
                sink(bytes.mid(at, pieceSize), bytes.size());
        });
    } catch (const RuntimeError &error) {
        piecesError = error.description();
    }
    if (piecesError != strictError ||
        pieces.ListAll() != (strictError.isEmpty() ? store.ListAll() : before)) {
        std::fprintf(stderr, "the catalogue loaded differently\n");
        std::abort();
    }
    // Each listed key, in other letter cases, finds its value in both.
    for (const QString &line : store.ListAll().split(QStringLiteral("\r\n"))) {
        const QString key = line.section(QStringLiteral(" = "), 0, 0);
        for (const QString &spelled : {key.toUpper(), key.toLower()}) {
            if (pieces.GetValue(spelled) != store.GetValue(spelled)) {
                std::fprintf(stderr, "the catalogue found a key differently\n");
                std::abort();
            }
        }
    }
    if (!strictError.isEmpty())
        return 0;
    if (tolerant.ListAll() != store.ListAll()) {
        std::fprintf(stderr, "a clean store read differently when bad lines may be skipped\n");
        std::abort();
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
