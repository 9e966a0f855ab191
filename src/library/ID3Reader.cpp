#include "library/ID3Reader.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QByteArray>
#include <QFileInfo>

namespace {

// A text field of the tag: blanks trimmed at both ends first, so blanks that stand before NUL
// padding stay, then every NUL removed. Each field is decoded on its own (UTF-8 when valid,
// otherwise Windows-1252), so one odd byte does not change the others.
QString field(const char *tag, int offset, int length)
{
    QByteArray bytes(tag + offset, length);
    qsizetype start = 0;
    while (start < bytes.size() && bytes[start] == ' ')
        ++start;
    qsizetype end = bytes.size();
    while (end > start && bytes[end - 1] == ' ')
        --end;
    bytes = bytes.mid(start, end - start);
    bytes.removeIf([](char c) { return c == '\0'; });
    return TextFile::decode(bytes);
}

} // namespace

void ID3Reader::setFilename(const QString &path)
{
    const QString wanted = path; // path may be this reader's own filename, cleared next
    m_filename.clear();
    const QFileInfo info(wanted);
    if (wanted.isEmpty() || !info.isFile() || wanted.right(4).toUpper() != u".MP3" ||
        info.size() < kTagSize)
        return;
    const QByteArray bytes = TextFile::readTail(wanted, kTagSize);
    if (!bytes.startsWith("TAG"))
        return;
    const char *tag = bytes.constData();
    m_title = field(tag, 3, 30);
    m_artist = field(tag, 33, 30);
    m_album = field(tag, 63, 30);
    m_year = field(tag, 93, 4);
    // 29 bytes: the 30th (offset 126) is the ID3v1.1 track number, not comment text.
    m_comment = field(tag, 97, 29);
    m_genre = static_cast<unsigned char>(tag[127]);
    m_filename = wanted;
}

QString ID3Reader::filename() const
{
    return named() ? m_filename : QString();
}

bool ID3Reader::named() const
{
    return !m_filename.isEmpty() && QFileInfo(m_filename).isFile();
}
