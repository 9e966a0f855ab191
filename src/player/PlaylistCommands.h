#pragma once
// The playlist's own commands: shuffle, randpl, rpas, addat, and the player commands vlpl,
// vlplay, vlpause, vlreset, vldetails.

class CommandTable;
class Session;

void registerPlaylistCommands(CommandTable &table);

// Where a playlist builder starts adding: 0 when opt(9) resets the list before a search (or
// when every entry is in use), else the number of entries in use.
int PLCount(const Session &s);
// Shuffles the entries from minItem to the end (Fisher-Yates) when shuffleAnyway is true or
// opt(8) is "1"; the entries before minItem and plIndex stay as they are.
void RandomizeList(Session &s, int minItem, bool shuffleAnyway);
