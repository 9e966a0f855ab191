#pragma once
// Moving through the playlist and starting and pausing it: one way of doing each, whoever
// asks (the playlist view's keys, the commands, the desktop's media controls).

class Session;

// Starts entry `index` as a skip does: the track playing fades out, the entry starts on the
// other player, and the playlist view, when shown, follows.
void skipTo(Session &s, int index);
// The entry after or before the current one; nothing happens at the ends of the table.
void skipNext(Session &s);
void skipPrevious(Session &s);
// Playing pauses, paused plays, a track that has ended starts again from its beginning, and
// with nothing loaded the first entry starts.
void playPause(Session &s);
// Paused or ended plays; with nothing loaded the first entry starts.
void play(Session &s);
// The user's volume (0..100) for the playlist players, at once and in the runs after.
void setPlaylistVolume(Session &s, int volume);
