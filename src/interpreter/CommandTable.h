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
    // Commands that could do harm from a batch file ask the user first while one runs.
    enum class Confirm { No, WhileBatchRuns };
    struct Entry
    {
        CommandHandler handler = nullptr;
        Confirm confirm = Confirm::No;
    };

    // word is lower case; registering a word twice is a programming error.
    void add(const QString &word, CommandHandler handler, Confirm confirm = Confirm::No);
    // The entry of a lower-case word; its handler is null when the word is not a command.
    Entry find(const QString &lowerWord) const { return m_entries.value(lowerWord); }

private:
    QHash<QString, Entry> m_entries;
};
