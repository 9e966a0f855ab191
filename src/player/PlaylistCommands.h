#pragma once
// The playlist's own commands: shuffle, randpl, rpas, addat, and the player commands vlpl,
// vlplay, vlpause, vlreset, vldetails.

class CommandTable;

void registerPlaylistCommands(CommandTable &table);
