#pragma once
// optvars: the option table listed in the pager.

class CommandTable;

void registerOptionCommands(CommandTable &table);
