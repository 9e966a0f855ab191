#pragma once
// A keyed store of texts, filled from a file or a text and written back to a file. It holds
// the settings (aliases, variables, key bindings) and the catalogue vldmake builds; a loaded
// music database is read by Catalogue instead. Keys compare without regard to letter case
// (by Unicode case folding) and keep the spelling they were first written with; values may
// hold any text, line breaks included. The file layout is described in docs/formats.md.

#include "formats/StoreIndex.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

class KeyValueStore
{
public:
    // What GetValue answers for a key that is absent.
    static inline const QString kNotFound = QStringLiteral("[NOT FOUND]");

    // Replace the content by the pairs in the file or text. A missing file raises
    // "File not found (53)"; a text that breaks the layout raises "Invalid file format"
    // naming the line, and leaves the content as it was. When a key appears twice (in any
    // letter case), the later line wins, spelling and value.
    void LoadFile(const QString &path);
    // The text's characters are kept (not copied) for the pairs written plainly in it.
    void LoadText(QString text);
    // The same, but every good line is loaded and each line that breaks the layout (a
    // missing header included) is passed over; answers what was passed over, one text a
    // line ("Invalid file format: line 3: ..."). A file that cannot be read, or a store of
    // another layout version, still raises.
    QStringList LoadFileSkippingBadLines(const QString &path);
    // Every pair in the file layout, in key order, so that LoadText restores each key and
    // value exactly. Equal contents give equal texts.
    QString text() const;
    // The same text in UTF-8, made without the whole text in UTF-16 first.
    QByteArray utf8Text() const;
    // utf8Text(), written atomically.
    void SaveFile(const QString &path) const;

    // The value, or kNotFound when the key is absent.
    QString GetValue(const QString &key) const;
    // Setting a key that exists in another letter case replaces its value and keeps the
    // stored spelling of the key.
    void SetValue(const QString &key, const QString &value);
    // Removing an absent key does nothing.
    void DeleteKey(const QString &key);
    // Every pair, one per line, sorted by the case-folded key: the key as stored, " = ",
    // the value, with CR shown as "\r" and LF as "\n" in both so that each pair stays on its
    // line. Lines end with CR LF, the last one too; an empty store lists as an empty text.
    QString ListAll() const;

    qsizetype count() const { return m_index.size(); }
    // Room for this many keys, for a writer that knows how many it will set.
    void reserve(qsizetype keys) { m_index.reserve(keys); }

    KeyValueStore() = default;
    KeyValueStore(const KeyValueStore &other);
    KeyValueStore &operator=(const KeyValueStore &other);
    KeyValueStore(KeyValueStore &&) = default;
    KeyValueStore &operator=(KeyValueStore &&) = default;

private:
    // skipped: null for a strict load, else where the lines passed over are noted.
    void parse(QString text, QStringList *skipped);
    // One line (without its line end), whose characters lie in m_pieces, into the store.
    void readLine(QStringView line, qsizetype lineNo, QStringList *skipped, QString &key,
                  QString &value);
    // Adds or replaces a pair; folded is the case-folded key, null when the key is folded.
    void put(QStringView key, QStringView folded, QStringView value);
    // The same for a key and value that already lie in m_pieces.
    void putKept(QStringView key, QStringView folded, QStringView value);
    // Copies the pairs into fresh pieces once most of the text held is no longer used.
    void compactIfWasteful();
    // Gives the text a chunk of whole lines at a time, each some `chunk` characters long.
    template <typename Flush> void writeText(qsizetype chunk, Flush flush) const;
    // The text's length if no character needed an escape.
    qsizetype plainSize() const;

    // The texts of the keys and values, copied into large pieces that never move: a catalogue
    // of half a million pairs then costs a few dozen allocations to load and to drop, not
    // one or more per pair.
    class Pieces
    {
    public:
        Pieces() = default;
        // Moved blocks keep their addresses; the one moved from is left empty.
        Pieces(Pieces &&other) noexcept { *this = std::move(other); }
        Pieces &operator=(Pieces &&other) noexcept
        {
            m_blocks = std::move(other.m_blocks);
            m_texts = std::move(other.m_texts);
            m_free = std::exchange(other.m_free, nullptr);
            m_left = std::exchange(other.m_left, 0);
            m_size = std::exchange(other.m_size, 0);
            other.m_blocks.clear();
            other.m_texts.clear();
            return *this;
        }
        QStringView keep(QStringView text);
        // Keeps a whole text as it is, for views into it; answers it.
        const QString &adopt(QString text);
        qsizetype size() const { return m_size; }

    private:
        std::vector<std::unique_ptr<char16_t[]>> m_blocks;
        // Whole texts (a loaded file), whose plainly written pairs are used where they stand.
        std::vector<QString> m_texts;
        char16_t *m_free = nullptr;
        qsizetype m_left = 0;
        qsizetype m_size = 0;
    };
    // Every view points into m_pieces.
    StoreIndex m_index;
    Pieces m_pieces;
    // Characters of m_pieces that no entry uses any more (replaced values, deleted pairs),
    // roughly: it decides when to compact.
    qsizetype m_unused = 0;
};
