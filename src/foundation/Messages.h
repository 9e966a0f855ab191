#pragma once
// The program's fixed texts, kept in one place so each is written once.

#include <QString>

namespace Msg {

inline QString notDefined(const QString &word)
{
    return QStringLiteral("The command '%1' has not been defined").arg(word);
}
inline QString infiniteLoop(int depth)
{
    return QStringLiteral("Infinite loop stopped at %1 recursions").arg(depth);
}
// A run-time error as users read it: "Type mismatch (13)".
inline QString errorText(const QString &description, int number)
{
    return QStringLiteral("%1 (%2)").arg(description).arg(number);
}
inline QString errorOccurred(const QString &description, int number)
{
    return QStringLiteral("An error has occurred: ") + errorText(description, number);
}
// A file the program keeps could not be written; the old one is still there.
inline QString saveFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("Could not save %1: %2").arg(path, reason);
}

inline const QString kHelpHint = QStringLiteral("Type 'help' for help.");
inline const QString kCurrentFolder = QStringLiteral("Current folder:");
inline const QString kOptionHeading = QStringLiteral("Internal 'option' variables:");

inline const QString kLogSizeNotNumeric =
    QStringLiteral("Max event log size argument must be numeric");
inline const QString kLogSizeTooSmall =
    QStringLiteral("Max event log size argument must be greater than 512 bytes");
inline QString logHeading(const QString &size, const QString &limit)
{
    return QStringLiteral("Event Log.  Size: %1 bytes.  Max size: %2 bytes.").arg(size, limit);
}

inline const QString kInvalidNotSign = QStringLiteral("Invalid character: '\u00ac'");
inline const QString kAltUsage = QStringLiteral("Usage: Alt <letter>");
inline const QString kSeeAssignments = QStringLiteral("Type 'set' to see current assignments");
inline const QString kSetUsage = QStringLiteral(
    "Usage: set <word> <command/variable>\r\n"
    "E.g. 'set 123 help' would call the help command when 123 is entered; 'set shared "
    "/usr/share'would result in '%shared%' being replaced with '/usr/share' in a command\r\n\r\n"
    "Current assignments:\r\n--------------------\r\n");
inline QString commandDeleted(const QString &word)
{
    return QStringLiteral("Command '%1' has been deleted").arg(word);
}
inline QString commandSet(const QString &word, const QString &value)
{
    return QStringLiteral("Command '%1' set to '%2'").arg(word, value);
}
inline QString functionKeySet(const QString &key, const QString &command)
{
    return QStringLiteral("The %1 key has been set to the command '%2'").arg(key, command);
}
inline QString functionKeyUnbound(const QString &key)
{
    return QStringLiteral("The %1 key has been unbound").arg(key);
}
inline QString altKeySet(const QString &letter, const QString &command)
{
    return QStringLiteral("The Alt+%1 key combination has been set to '%2'").arg(letter, command);
}
inline QString altKeyUnbound(const QString &letter)
{
    return QStringLiteral("The Alt+%1 key combination has been unbound").arg(letter);
}

inline const QString kBatchWarningTitle = QStringLiteral("Batch File Warning");
inline QString batchWarning(const QString &cmd)
{
    return QStringLiteral(
               "The below command could potentially cause damage to your system:\r\n\r\n%1\r\n\r\n"
               "Are you sure you want to execute it?")
        .arg(cmd);
}

inline QString functionKeyNotDefined(int n)
{
    return QStringLiteral("The F%1 key has not been defined").arg(n);
}
inline QString altKeyNotDefined(QChar letter)
{
    return QStringLiteral("The Alt+%1 key combination has not been defined").arg(letter);
}

inline const QString kBatchAlreadyRunning = QStringLiteral("Batch file already running");
inline const QString kAtOutsideBatch =
    QStringLiteral("The 'at' command can only be used as part of a batch program.");
inline const QString kEndOutsideBatch =
    QStringLiteral("The 'end' command can only be used as part of a batch program.");

inline const QString kNoDatabase = QStringLiteral("No valid Velmora database has been loaded");
inline QString fileDoesNotExist(const QString &path)
{
    return QStringLiteral("The filename specified does not exist - '%1'").arg(path);
}

inline const QString kWindowTitle = QStringLiteral("idrisk2k Command");

} // namespace Msg
