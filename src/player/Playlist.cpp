#include "player/Playlist.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// The fields of a playlist file in order, one at a time: a field is a double-quoted text
// (anything after the closing quote up to the separator is ignored) or bare text, blanks
// trimmed. Read from the bytes: the separators and quotes are ASCII, which never stands
// inside a UTF-8 sequence, so only the fields taken are ever decoded.
class FieldReader
{
public:
    explicit FieldReader(const QByteArray &bytes)
        : m_bytes(bytes), m_utf8(QByteArrayView(bytes).isValidUtf8())
    {
        if (m_utf8 && bytes.startsWith("\xEF\xBB\xBF")) // a byte order mark
            m_at = 3;
    }

    // The next field, or false at the end of the text.
    bool next(QString &field)
    {
        const qsizetype n = m_bytes.size();
        const char *b = m_bytes.constData();
        const auto isSeparator = [](char c) { return c == ',' || c == '\r' || c == '\n'; };
        for (;;) {
            while (m_at < n && (b[m_at] == ' ' || b[m_at] == '\t'))
                ++m_at;
            if (m_at >= n)
                return false;
            if (b[m_at] != '\r' && b[m_at] != '\n')
                break;
            ++m_at; // an empty line holds no field
        }
        QByteArrayView bytes;
        const bool quoted = b[m_at] == '"';
        if (quoted) {
            const qsizetype close = m_bytes.indexOf('"', m_at + 1);
            const qsizetype end = close < 0 ? n : close;
            bytes = QByteArrayView(b + m_at + 1, end - m_at - 1);
            m_at = close < 0 ? n : close + 1;
            while (m_at < n && !isSeparator(b[m_at]))
                ++m_at;
        } else {
            const qsizetype start = m_at;
            while (m_at < n && !isSeparator(b[m_at]))
                ++m_at;
            bytes = QByteArrayView(b + start, m_at - start);
        }
        field = m_utf8 ? utf8(bytes) : TextFile::decodeCp1252(bytes);
        if (!quoted)
            field = field.trimmed();
        if (m_at < n && b[m_at] == ',')
            ++m_at;
        return true;
    }

private:
    // QString::fromUtf8 drops a byte order mark at the start of the text: at the start of a
    // field it belongs to the name, and a save and a read must give the name back whole.
    static QString utf8(QByteArrayView bytes)
    {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder(bytes);
    }

    const QByteArray &m_bytes;
    const bool m_utf8;
    qsizetype m_at = 0;
};

} // namespace

int Playlist::count() const
{
    int n = 0;
    while (n < int(m_entries.size()) && !m_entries[n].artist.isEmpty())
        ++n;
    return n;
}

Playlist::Entry &Playlist::operator[](int index)
{
    if (index < 0 || index >= kCapacity)
        throw RuntimeError::subscriptOutOfRange();
    if (index >= int(m_entries.size()))
        m_entries.resize(index + 1);
    return m_entries[index];
}

const Playlist::Entry &Playlist::operator[](int index) const
{
    static const Entry kEmpty;
    if (index < 0 || index >= kCapacity)
        throw RuntimeError::subscriptOutOfRange();
    return index < int(m_entries.size()) ? m_entries[index] : kEmpty;
}

void Playlist::save(const QString &path) const
{
    QString text;
    const int n = count();
    for (int i = 0; i < n; ++i)
        text += u'"' + m_entries[i].artist + QStringLiteral("\",\"") + m_entries[i].track +
                QStringLiteral("\"\r\n");
    TextFile::save(path, TextFile::encode(text));
}

void Playlist::restore(const QString &path)
{
    m_restoreNotice.clear();
    if (!QFile::exists(path))
        return;
    const QByteArray bytes = TextFile::readBytes(path);
    FieldReader fields(bytes);
    QString artist;
    QString track;
    int i = 0;
    while (fields.next(artist)) {
        // An odd field at the end gives an artist with no track.
        if (!fields.next(track))
            track.clear();
        // An entry with no artist ends the list in memory: it is passed over, so the entries
        // after it are kept rather than lost at the next save.
        if (artist.isEmpty())
            continue;
        if (i == kCapacity) {
            // The rest is never read: a file of millions of fields must not take the memory.
            m_restoreNotice =
                QStringLiteral("%1: only the first %2 entries were read").arg(path).arg(kCapacity);
            return;
        }
        (*this)[i++] = {artist, track};
    }
}
