#pragma once
// The help texts: a page for each command (its usage on row 1, what it does from row 3, notes
// and examples below) and the general list of commands. They are laid out for the console:
// DrawText wraps after column 93, and the blanks at the end of a row push the next word onto
// the next row, so no word is cut in two.

#include <QString>
#include <QStringList>

#include <span>

struct HelpLine
{
    int row = 0;
    const char *text = nullptr; // null: the entry has no more lines
};

struct HelpEntry
{
    const char *words; // the lower-case words that select it, separated by blanks
    HelpLine lines[9]; // in row order (vlpl has the most)
    int chartRow = 0;  // the row where the chart of colour names starts; 0 for none
};

namespace Help {

std::span<const HelpEntry> entries();
// The entry a lower-case word selects, or null.
const HelpEntry *find(const QString &word);
// The words of an entry.
QStringList words(const HelpEntry &entry);
// The list of all commands, for the pager.
QString generalList();

} // namespace Help
