#pragma once
// The one table of command words. Each subsystem registers its handlers here; the
// interpreter only looks words up.

#include "interpreter/CommandArgs.h"

#include <QHash>
#include <QString>

class Session;

using CommandHandler = void (*)(Session &, const CommandArgs &);

class CommandTable
{
public:
    // word is lower case; registering a word twice is a programming error.
    void add(const QString &word, CommandHandler handler);
    // The handler of a lower-case word, or null.
    CommandHandler find(const QString &lowerWord) const { return m_entries.value(lowerWord); }

private:
    QHash<QString, CommandHandler> m_entries;
};
