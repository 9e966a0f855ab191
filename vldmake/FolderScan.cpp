#include "FolderScan.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <thread>

namespace FolderScan {

namespace {

bool hasSuffix(const QString &fileName, std::initializer_list<QStringView> suffixes)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0) // ".mp3" alone is a hidden file, not a track
        return false;
    const QStringView suffix = QStringView(fileName).sliced(dot + 1);
    return std::any_of(suffixes.begin(), suffixes.end(),
                       [&](QStringView s) { return suffix.compare(s, Qt::CaseInsensitive) == 0; });
}

// ASCII, nearly every character of a path, is answered without Qt's Unicode tables: sorting
// a hundred thousand paths compares millions of characters.
bool isDigit(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? (u >= u'0' && u <= u'9') : c.isDigit();
}

char16_t caseFolded(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= u'A' && u <= u'Z') ? char16_t(u + (u'a' - u'A')) : u;
    return c.toCaseFolded().unicode();
}

// Where the run of digits that starts at `from` ends.
qsizetype digitRunEnd(QStringView s, qsizetype from)
{
    while (from < s.size() && isDigit(s[from]))
        ++from;
    return from;
}

} // namespace

bool isAudioFile(const QString &fileName)
{
    return hasSuffix(fileName, {u"mp3", u"ogg", u"oga", u"opus", u"flac", u"m4a", u"wav"});
}

bool isPlaylist(const QString &fileName)
{
    return hasSuffix(fileName, {u"m3u", u"m3u8"});
}

QString sideKey(const QString &audioPath)
{
    const qsizetype slash = audioPath.lastIndexOf(u'/');
    const qsizetype dot = audioPath.lastIndexOf(u'.');
    return dot > slash + 1 ? audioPath.first(dot) : audioPath;
}

Found scan(const QStringList &folders)
{
    static const QString kLyrics = QStringLiteral(".lyrics.txt");
    static const QString kNotes = QStringLiteral(".notes.txt");
    Found found;
    QSet<QString> seen;
    for (const QString &folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QString name = it.fileName();
            if (name.endsWith(kLyrics, Qt::CaseInsensitive) ||
                name.endsWith(kNotes, Qt::CaseInsensitive)) {
                const bool lyrics = name.endsWith(kLyrics, Qt::CaseInsensitive);
                const QString path = QDir::cleanPath(it.fileInfo().absoluteFilePath());
                const QString key = path.first(path.size() - (lyrics ? kLyrics : kNotes).size());
                (lyrics ? found.lyricsFiles : found.notesFiles).insert(key, path);
                continue;
            }
            const bool audio = isAudioFile(name);
            if (!audio && !isPlaylist(name))
                continue;
            const QString path = QDir::cleanPath(it.fileInfo().absoluteFilePath());
            if (seen.contains(path))
                continue;
            seen.insert(path);
            (audio ? found.audioFiles : found.playlists).append(path);
        }
    }
    sortNaturally(found.audioFiles);
    sortNaturally(found.playlists);
    return found;
}

void sortNaturally(QStringList &list)
{
    const auto begin = list.begin(); // detached here, before the threads share it
    const auto end = list.end();
    const auto middle = begin + list.size() / 2;
    {
        const std::jthread firstHalf([&] { std::sort(begin, middle, naturalLess); });
        std::sort(middle, end, naturalLess);
    }
    std::inplace_merge(begin, middle, end, naturalLess);
}

int naturalCompare(QStringView a, QStringView b)
{
    const QStringView x(a);
    const QStringView y(b);
    // Paths share long beginnings. The same characters compare equal however they are
    // read, so the walk starts where the two first differ, or at the start of the run of
    // digits that place is in (a number is compared whole).
    const qsizetype common =
        std::mismatch(x.begin(), x.begin() + std::min(x.size(), y.size()), y.begin()).first -
        x.begin();
    qsizetype i = common;
    while (i > 0 && isDigit(x[i - 1]))
        --i;
    qsizetype j = i;
    while (i < x.size() && j < y.size()) {
        if (isDigit(x[i]) && isDigit(y[j])) {
            qsizetype xs = i;
            qsizetype ys = j;
            while (xs < x.size() && x[xs] == u'0')
                ++xs;
            while (ys < y.size() && y[ys] == u'0')
                ++ys;
            const qsizetype xe = digitRunEnd(x, xs);
            const qsizetype ye = digitRunEnd(y, ys);
            // Without leading zeros the longer run is the larger number; equal lengths
            // compare digit by digit. No conversion, so any length of digits works.
            if (xe - xs != ye - ys)
                return xe - xs < ye - ys ? -1 : 1;
            if (const int c = x.sliced(xs, xe - xs).compare(y.sliced(ys, ye - ys)); c != 0)
                return c < 0 ? -1 : 1;
            i = digitRunEnd(x, i);
            j = digitRunEnd(y, j);
            continue;
        }
        const char16_t cx = caseFolded(x[i]);
        const char16_t cy = caseFolded(y[j]);
        if (cx != cy)
            return cx < cy ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < x.size() || j < y.size())
        return i < x.size() ? 1 : -1;
    const int plain = a.compare(b);
    return plain < 0 ? -1 : (plain > 0 ? 1 : 0);
}

} // namespace FolderScan
