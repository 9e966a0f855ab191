#pragma once
// run: starts a program or opens a file or address on the desktop. cmd: runs a shell line and
// shows what it printed. clipboard: shows or sets the clipboard text. listfonts: the
// installed font families.

class CommandTable;

void registerProgramCommands(CommandTable &table);
