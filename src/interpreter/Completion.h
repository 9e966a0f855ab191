#pragma once
// Tab completion of a command line: the command word from the command words and aliases, an
// argument from the names of files and folders (relative names from the current folder).

#include <QString>
#include <QStringList>

class CommandTable;
class KeyValueStore;

struct Completion
{
    // The line and cursor after completing as far as every choice agrees.
    QString line;
    qsizetype cursor = 0;
    // Every choice when more than one fits, sorted; empty otherwise.
    QStringList choices;
};

namespace Completer {

// The command words and the names set with "set" (aliases), sorted, without key bindings.
QStringList commandWords(const CommandTable &table, const KeyValueStore &settings);

// Completes the word that ends at the cursor. The first word is completed from words (any
// letter case) and gets a blank after it when only one fits. Later words are names of files
// and folders: a folder gets "/" after it, a file a blank. Most commands take the whole
// rest of the line as one name, blanks and all; those that split their arguments at blanks
// (fileren, run, cmd) get a name with blanks in double quotes.
Completion complete(const QString &line, qsizetype cursor, const QStringList &words);

} // namespace Completer
