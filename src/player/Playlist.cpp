#include "player/Playlist.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QFile>

namespace {

// The fields of a playlist file in order: a field is a double-quoted text (anything after
// the closing quote up to the separator is ignored) or bare text, blanks trimmed.
QStringList readFields(const QString &text)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto isSeparator = [](QChar c) { return c == u',' || c == u'\r' || c == u'\n'; };
    while (i < n) {
        while (i < n && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
        if (i >= n)
            break;
        if (text[i] == u'\r' || text[i] == u'\n') {
            ++i; // an empty line holds no field
            continue;
        }
        QString field;
        if (text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            field = text.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
            while (i < n && !isSeparator(text[i]))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && !isSeparator(text[i]))
                ++i;
            field = text.mid(start, i - start).trimmed();
        }
        fields.append(field);
        if (i < n && text[i] == u',')
            ++i;
    }
    return fields;
}

} // namespace

int Playlist::count() const
{
    int n = 0;
    while (n < kCapacity && !m_entries[n].artist.isEmpty())
        ++n;
    return n;
}

Playlist::Entry &Playlist::operator[](int index)
{
    if (index < 0 || index >= kCapacity)
        throw RuntimeError::subscriptOutOfRange();
    return m_entries[index];
}

const Playlist::Entry &Playlist::operator[](int index) const
{
    if (index < 0 || index >= kCapacity)
        throw RuntimeError::subscriptOutOfRange();
    return m_entries[index];
}

void Playlist::save(const QString &path) const
{
    QString text;
    for (int i = 0; i < kCapacity && !m_entries[i].artist.isEmpty(); ++i)
        text += u'"' + m_entries[i].artist + QStringLiteral("\",\"") + m_entries[i].track +
                QStringLiteral("\"\r\n");
    TextFile::save(path, TextFile::encode(text));
}

void Playlist::restore(const QString &path)
{
    if (!QFile::exists(path))
        return;
    const QStringList fields = readFields(TextFile::read(path));
    int i = 0;
    for (qsizetype f = 0; f < fields.size() && i < kCapacity; f += 2) {
        // An entry with no artist ends the list in memory: it is passed over, so the entries
        // after it are kept rather than lost at the next save.
        if (fields[f].isEmpty())
            continue;
        m_entries[i].artist = fields[f];
        // An odd field at the end gives an artist with no track.
        m_entries[i].track = f + 1 < fields.size() ? fields[f + 1] : QString();
        ++i;
    }
}
