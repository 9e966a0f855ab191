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
inline QString errorOccurred(const QString &description, int number)
{
    return QStringLiteral("An error has occurred: %1 (%2)").arg(description).arg(number);
}

inline const QString kHelpHint = QStringLiteral("Type 'help' for help.");
inline const QString kCurrentFolder = QStringLiteral("Current folder:");
inline const QString kOptionHeading = QStringLiteral("Internal 'option' variables:");

inline const QString kLogSizeNotNumeric = QStringLiteral("Max event log size argument must be numeric");
inline const QString kLogSizeTooSmall =
    QStringLiteral("Max event log size argument must be greater than 512 bytes");
inline QString logHeading(const QString &size, const QString &limit)
{
    return QStringLiteral("Event Log.  Size: %1 bytes.  Max size: %2 bytes.").arg(size, limit);
}

} // namespace Msg
