#pragma once
// Splitting a line into a program's arguments as a POSIX shell would, without running one:
// blanks separate words; 'single quotes' keep everything; "double quotes" keep everything
// but a backslash before $ ` " \ or a line break; elsewhere a backslash keeps the next
// character. Nothing is expanded ($HOME, *, ~ stay as typed).

#include <QStringList>
#include <optional>

// The words of the line, or nothing when a quote is not closed or the line ends in a
// backslash.
std::optional<QStringList> splitShellWords(QStringView line);
