#pragma once
// A keyed store of texts, filled from a file or a text and written back to a file.
// Two instances live in a session: the settings store (aliases, variables, key bindings)
// and the index of the loaded music database. Keys compare without regard to letter case
// and are kept as first written; values may hold any text, line breaks included.

#include <QHash>
#include <QString>

class KeyValueStore
{
public:
    // What GetValue answers for a key that is absent.
    static inline const QString kNotFound = QStringLiteral("[NOT FOUND]");

    // Replace the content by the pairs in the file or text. A missing file raises
    // "File not found (53)"; a text that breaks the layout raises "Invalid file format"
    // and leaves the content as it was.
    void LoadFile(const QString &path);
    void LoadText(const QString &text);
    // Write every pair so that LoadFile restores them; written atomically.
    void SaveFile(const QString &path) const;

    QString GetValue(const QString &key) const;
    void SetValue(const QString &key, const QString &value);
    void DeleteKey(const QString &key);
    // Every pair, one per line, sorted by key: the key as stored, " = ", the value with
    // its line breaks shown as "\r" and "\n".
    QString ListAll() const;

    qsizetype count() const { return m_entries.size(); }

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    // Indexed by the case-folded key.
    QHash<QString, Entry> m_entries;
};
