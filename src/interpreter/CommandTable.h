#pragma once
// The one table of command words and every fact about each: its handler, whether it asks
// first while a batch runs, whether it keeps what the console shows, whether it needs a
// loaded music database. Each subsystem registers its commands here; the interpreter and
// the help read only this table.

#include "interpreter/CommandArgs.h"

#include <QHash>
#include <QString>
#include <QStringList>

class Session;

using CommandHandler = void (*)(Session &, const CommandArgs &);

// What the interpreter and the help know of a command besides its handler.
struct CommandFacts
{
    // Commands that could do harm from a batch file ask the user first while one runs.
    bool confirmInBatch = false;
    // Commands that draw over, or leave alone, what the console shows: no clearing first.
    bool keepsScreen = false;
    // Music commands end at once, with the "no database" message, when none is loaded.
    bool needsDatabase = false;
};

class CommandTable
{
public:
    using Facts = CommandFacts;
    struct Entry
    {
        CommandHandler handler = nullptr;
        Facts facts;
    };

    // word is lower case. Registering a word twice, or an upper-case word, is a
    // programming error and throws std::logic_error in every build.
    void add(const QString &word, CommandHandler handler, Facts facts = {});
    // The entry of a lower-case word; its handler is null when the word is not a command.
    Entry find(const QString &lowerWord) const { return m_entries.value(lowerWord); }
    // Every registered word, sorted.
    QStringList words() const;

private:
    QHash<QString, Entry> m_entries;
};
