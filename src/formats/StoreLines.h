#pragma once
// The line layout of the keyed store's text (docs/formats.md), shared by the settings store
// and the loaded catalogue: the header, one "key=value" pair a line with its escapes, and
// the case folding keys compare by.

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

namespace StoreLines {

constexpr QStringView kHeaderTag = u"#i2kCmd-store ";
constexpr int kLayoutVersion = 1;

// Whether line 1 is the header. Without one a strict load fails ("missing header"), a
// tolerant one reads the line as a pair; a header of another version always fails.
bool takeHeader(QStringView line, bool tolerant);
bool isBlankLine(QStringView line);
// Reads one "key=value" line (without its line end) into key and value; a line that breaks
// the layout raises "Invalid file format" naming lineNo.
void parsePair(QStringView line, qsizetype lineNo, QString &key, QString &value);
// Appends text with the layout's escapes, as a key (where "=" is escaped too) or a value.
void appendEscaped(QString &out, QStringView text, bool isKey);
// Appends text with line breaks shown as "\r" and "\n", so that a listed pair stays on one
// line.
void appendShown(QString &out, QStringView text);

// The case-folded form of a key. Folding ASCII is lowering A-Z, done here without Unicode
// tables or an allocation; a key already folded is its own folded form.
class FoldedKey
{
public:
    explicit FoldedKey(QStringView key);
    FoldedKey(const FoldedKey &) = delete;
    FoldedKey &operator=(const FoldedKey &) = delete;

    QStringView view() const { return m_view; }
    // Whether folding changed nothing.
    bool same() const { return m_same; }

private:
    QVarLengthArray<char16_t, 64> m_ascii;
    QString m_unicode;
    QStringView m_view;
    bool m_same = true;
};

} // namespace StoreLines
