#pragma once
// Playlist operations shared by start-up, the keys, the timer and the music commands.

#include <QString>

class Session;

// Minutes, a colon and two-digit seconds of the whole seconds: 125.7 gives "2:05".
QString num2time(double seconds);
// Both players unloaded, the playlist emptied, plIndex 0, the console cleared.
void WMPreset(Session &s);
// The next entry starts five seconds before the current track ends.
void trackendcheck(Session &s);
// playlist.dat read back, the current track started, its state and position restored.
void RestorePlaylist(Session &s);
// The two halves of saving the playlist at shut-down: the file, then the option slots.
void SavePlaylistFile(Session &s);
void SavePlaylistState(Session &s);
