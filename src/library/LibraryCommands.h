#pragma once
// The music library commands: loadvld and showvld; the listings and searches listartists,
// listbatches, sartist, strack and dbatch; the track pages trackinfo, lyrics and notes.

class CommandTable;

void registerLibraryCommands(CommandTable &table);
