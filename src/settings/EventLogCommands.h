#pragma once
// eventlog: shows the event log, or sets its maximum size.

class CommandTable;

void registerEventLogCommands(CommandTable &table);
