#pragma once
// The playlist on its two alternating players: starting a track, the fade of a skipped one,
// the advance before a track ends, and the playlist kept between runs.

#include <QString>

class Session;

// Where a playlist builder starts adding: 0 when opt(9) resets the list before a search (or
// when every entry is in use), else the number of entries in use.
int PLCount(const Session &s);
// Shuffles the entries from minItem to the end (Fisher-Yates) when shuffleAnyway is true or
// opt(8) is "1"; the entries before minItem and plIndex stay as they are.
void RandomizeList(Session &s, int minItem, bool shuffleAnyway);
// Minutes, a colon and two-digit seconds of the whole seconds: 125.7 gives "2:05".
QString num2time(double seconds);
// Starts entry plIndex on the other playlist player, at the user's volume (a fade still
// running on that player ends at once). Any failure (an entry that is no number,
// a track the database cannot give) ends it silently, the steps before it done.
void PlayWMP(Session &s);
// Both playlist players unloaded, the playlist emptied, plIndex 0, the console cleared.
void WMPreset(Session &s);
// Starts fading out the player in use, from the user's volume down by 40 dB; a fade still
// running is cut short first.
void reducevol(Session &s);
// One step of the fade: 10 hundredths of a decibel lower; 40 dB down the player stops and
// both playlist players are back at the user's volume.
void fadeTick(Session &s);
// The next entry starts in the second in which five whole seconds of the track remain (or at
// once when that second has passed unseen).
void trackendcheck(Session &s);
// playlist.dat read back, the current track started, its state and position restored.
void RestorePlaylist(Session &s);
// The two halves of saving the playlist at shut-down: the file, then the option slots.
void SavePlaylistFile(Session &s);
void SavePlaylistState(Session &s);
