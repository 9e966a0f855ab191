#pragma once
// What happens, in order, when the console window opens and when it closes.

class Session;

// Each step runs even when an earlier one failed; start-up never stops on an error.
void startUp(Session &session);
// Writes the settings store and the options back and removes temporary files.
void shutDown(Session &session);

// The playlist kept between runs, beside playlist.dat: the option slots of the current entry,
// the player it is on, its state and position.
void SavePlaylistState(Session &s);
// playlist.dat read back, the current track started on the player that had it, its state
// and position restored.
void RestorePlaylist(Session &s);
