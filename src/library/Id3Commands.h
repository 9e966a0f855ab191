#pragma once
// id3: shows the ID3v1 tag of an MP3 file or of a database track. listgenres: the genre names
// with their numbers. Neither needs a loaded database to start.

class CommandTable;

void registerId3Commands(CommandTable &table);
