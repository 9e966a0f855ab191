#pragma once
// openurl: a web page's source as received. url2text: the page reduced to its text.

class CommandTable;

void registerWebCommands(CommandTable &table);
