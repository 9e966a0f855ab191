#pragma once
// A command line split the way every handler receives it, and the shared argument rules.

#include <QString>
#include <QStringList>

struct CommandArgs
{
    QString word;    // the command word as typed
    QString arg1;    // the second blank-separated word
    QString rest;    // everything after the second blank, blanks kept
    QString allArgs; // arg1, a blank and rest, trimmed of blanks

    // Splits at single blanks into at most three parts; no quoting.
    static CommandArgs split(const QString &line);
};

// Whether a line is the lastcmd command, which puts the last line back for editing.
bool startsWithLastcmd(const QString &line);
// Splits at every comma, keeping empty pieces.
QStringList splitCommas(const QString &text);
// Splits at every comma; more than most pieces raise "Subscript out of range (9)".
QStringList splitCommasAtMost(const QString &text, int most);
// Splits at commas into at most limit pieces; the last keeps any further commas.
QStringList splitCommas(const QString &text, int limit);
// Removes leading and trailing blanks (only blanks: tabs are kept, as users' scripts expect).
QString trimBlanks(const QString &text);
