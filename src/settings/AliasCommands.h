#pragma once
// set, alt and f1..f12: aliases, variables and key bindings in the settings store.

class CommandTable;

// The settings store's key of a binding: "¬F" + number, or "¬" + letter.
inline constexpr char16_t kBindingMark = u'\u00ac';

void registerAliasCommands(CommandTable &table);
