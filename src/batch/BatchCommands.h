#pragma once
// batch, at and end.

class CommandTable;

void registerBatchCommands(CommandTable &table);
