#pragma once
// Finding the audio files and playlists under the folders a database is made from.

#include <QHash>
#include <QString>
#include <QStringList>

namespace FolderScan {

struct Found
{
    QStringList audioFiles; // absolute, clean paths, in natural order of the path
    QStringList playlists;  // the same, for .m3u and .m3u8 files
    // Texts that go with a track: "FOLDER/NAME" (the track's path without its extension)
    // to the path of NAME.lyrics.txt or NAME.notes.txt (any letter case) beside it.
    QHash<QString, QString> lyricsFiles;
    QHash<QString, QString> notesFiles;
};

// True for the extensions vldmake catalogues, in any letter case.
bool isAudioFile(const QString &fileName);
bool isPlaylist(const QString &fileName);

// The key under which a track's side texts are found: its path without the extension.
QString sideKey(const QString &audioPath);

// Walks each folder and everything below it. Links to files count; links to folders are not
// followed, so a link loop cannot trap the walk. A file reached twice (folders given twice or
// one inside another) is listed once.
Found scan(const QStringList &folders);

// The order people expect of file names: letters compared without regard to case, runs of
// digits by their value ("Track 2" before "Track 10"). Ties fall back on the plain order, so
// the result never depends on the order things were found in.
int naturalCompare(QStringView a, QStringView b);
inline bool naturalLess(QStringView a, QStringView b)
{
    return naturalCompare(a, b) < 0;
}
// Sorts in that order on two threads (the halves at once, then one merge): a hundred
// thousand paths take a good part of a second.
void sortNaturally(QStringList &list);

} // namespace FolderScan
