#pragma once
// The one table of command words and every fact about each: its handler, its help page,
// whether it asks first while a batch runs, whether it keeps what the console shows, whether
// it needs a loaded music database. Each subsystem registers its commands here; the
// interpreter, the help and the completion read only this table.

#include "interpreter/CommandArgs.h"

#include <QHash>
#include <QString>
#include <QStringList>

class Session;

using CommandHandler = void (*)(Session &, const CommandArgs &);

// A command's help page, as `help <word>` draws it: its usage on row 1, what it does from row
// 3, notes and examples below. Each line is drawn by DrawText, which wraps after column 93,
// so a long line is written one console row to a literal, flush left, 93 characters with its
// trailing blanks: the blanks push the next word onto the next row, and no word is cut.
struct HelpLine
{
    int row = 0;
    const char *text = nullptr; // null: the page has no more lines
};

struct HelpPage
{
    HelpLine lines[9]; // in row order (vlpl has the most)
    int chartRow = 0;  // the row where the chart of colour names starts; 0 for none

    // "Usage: " and row 1, what a command shows when it is given too little.
    QString usage() const { return QStringLiteral("Usage: ") + QLatin1String(lines[0].text); }
};

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
        const HelpPage *help = nullptr;
        Facts facts;
    };

    // word is lower case; help is a page that lives as long as the program (words may share
    // one). Registering a word twice, an upper-case word, or one whose page has no usage
    // line is a programming error and throws std::logic_error in every build.
    void add(const QString &word, CommandHandler handler, const HelpPage &help, Facts facts = {});
    void add(const QString &, CommandHandler, const HelpPage &&, Facts = {}) = delete;
    // The entry of a lower-case word; its handler is null when the word is not a command.
    Entry find(const QString &lowerWord) const { return m_entries.value(lowerWord); }
    // Every registered word, sorted.
    QStringList words() const;

private:
    QHash<QString, Entry> m_entries;
};
