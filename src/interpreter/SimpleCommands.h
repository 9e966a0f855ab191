#pragma once
// about, cls, exit and quit, curfol, lastcmd, now and write.

class CommandTable;

void registerSimpleCommands(CommandTable &table);
