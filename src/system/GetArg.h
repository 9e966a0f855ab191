#pragma once
// Arguments of a command line that may quote names with blanks: "a b" c is two arguments.

#include <QString>

// The n-th argument (from 0) of a text: double quotes group, and are never kept; outside
// them runs of blanks separate arguments, never making empty ones. Empty when the text has
// fewer. There are 1001 slots (0 to 1000): an n outside them, or a text with more arguments,
// raises "Subscript out of range (9)".
QString GetArg(const QString &text, int n);
