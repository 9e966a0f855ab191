#pragma once
// textcol, textbgc and background: the colours of the text, of the box behind each
// character, and the console background (a colour or a picture).

class CommandTable;

void registerAppearanceCommands(CommandTable &table);
