#pragma once
// The file commands: filedel (deleted once a key confirms), fileinfo (a page of details),
// fileren (quoted names), filesearch (a folder tree searched, its hits paged), showfile (a
// file paged) and export (the console's text written to a file).

class CommandTable;

void registerFileCommands(CommandTable &table);
