#pragma once
// Reading .m3u and .m3u8 playlists, which become the database's batches.

#include <QString>
#include <QStringList>

namespace Playlist {

// The entries of a playlist, in order, as absolute clean paths: relative entries are taken
// from the playlist's folder, "file://" addresses become paths, and comment and "#EXT"
// lines, blank lines and other addresses (http:// and the like) are passed over. Raises the
// file guard's errors when the playlist cannot be read.
QStringList entries(const QString &playlistPath);

// The batch name: the file name without its extension.
QString batchName(const QString &playlistPath);

} // namespace Playlist
