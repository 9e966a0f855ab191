#pragma once
// help: a command's page drawn on the console, or the list of all commands in the pager.

class CommandTable;

void registerHelpCommand(CommandTable &table);
