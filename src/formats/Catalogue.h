#pragma once
// The catalogue of the loaded music database: the store text of its VELMORAD entry (the
// layout of docs/formats.md, as KeyValueStore reads it), loaded once and then looked up. A
// catalogue of 100,000 tracks holds some 600,000 pairs; they are kept as the file's UTF-8
// lines one after another, found through a table of 32-bit places in them, so that the
// catalogue costs little more than its file. Keys compare as KeyValueStore's do, by Unicode
// case folding, and an absent key reads as KeyValueStore::kNotFound.

#include "formats/CatalogueIndex.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

class Catalogue
{
public:
    // Where LoadPieces gets its bytes: it hands each piece of the text, in order, to the sink,
    // with the size of the whole text.
    using ByteSink = std::function<void(const QByteArray &piece, qint64 totalSize)>;
    using ByteSource = std::function<void(const ByteSink &sink)>;

    // Replaces the content by the pairs of a store text that comes as bytes in pieces (read
    // from its archive), read as TextFile::decode reads bytes and KeyValueStore::LoadText
    // reads the text, errors included. The text is read through once to check it; only then
    // is the old content dropped and the text read again to be kept. So a bad text leaves
    // the content as it was, and two catalogues are never held at once. Should the second
    // reading fail (the file changed in between), the catalogue is left empty. Only the pairs
    // are kept: a text of mostly empty lines costs next to nothing.
    void LoadPieces(const ByteSource &read);

    // The value, or KeyValueStore::kNotFound when the key is absent.
    QString GetValue(QStringView key) const;
    // The same without a copy, for loops over a whole catalogue: the UTF-8 where it lies, or,
    // for a value written with escapes, the text decoded into `decoded`; null when the key is
    // absent. Valid until the catalogue or `decoded` next changes.
    QAnyStringView valueView(QStringView key, QString &decoded) const;
    // For loops over many keys: a key's case-folded form (which must outlive the probe),
    // hashed once and its slot fetched ahead, so that its lookup a few keys later seldom
    // waits for memory.
    struct Probe
    {
        QStringView folded;
        std::uint32_t hash;
    };
    Probe probe(QStringView folded) const;
    QAnyStringView valueView(const Probe &probe, QString &decoded) const;
    // Adds or replaces a pair, a key keeping the spelling it was first written with: for a
    // catalogue made in memory. A replaced pair's line stays until the next load.
    void SetValue(const QString &key, const QString &value);
    // For walks over every key of one shape, without a lookup each: visit(first, second,
    // value) for each pair whose key is a number, the field (ASCII, any letter case) and a
    // number ("12Track3"; numbers from 1, without leading zeros), in the order of the text.
    // Answers false, visiting nothing, when a key of that shape could hide behind another
    // spelling (a line written with escapes, a key beyond ASCII) or a line was replaced by a
    // later one of the same key: then the keys must be looked up one by one.
    bool forEachNumberedPair(
        QByteArrayView field,
        const std::function<void(qint64 first, qint64 second, QUtf8StringView value)> &visit) const;
    // As KeyValueStore::ListAll lists the same pairs.
    QString ListAll() const;
    qsizetype count() const { return qsizetype(m_index.size()); }

private:
    // The line that starts at place, without its line end.
    QByteArrayView lineAt(std::uint32_t place) const;
    // Whether the line at place holds the key whose case-folded form is given.
    bool isKey(std::uint32_t place, QStringView folded) const;
    std::uint32_t hashAt(std::uint32_t place) const;
    QAnyStringView valueAt(std::uint32_t place, QString &decoded) const;
    // The line, checked, as the catalogue keeps it; answers its place.
    std::uint32_t keep(QByteArrayView line, qsizetype lineNo);
    // Makes the kept line at place its key's.
    void index(std::uint32_t place);
    void load(const ByteSource &read, bool cp1252);

    // Each pair's line as the file has it, LF-ended; a line with escapes is marked by a
    // leading backslash, which no plain line has.
    QByteArray m_text;
    CatalogueIndex m_index;
    // Whether every key is ASCII and written without escapes, each in one line.
    bool m_plainKeysOnly = true;
    bool m_noneReplaced = true;
};
