#pragma once
// The key sequences of the --keys option: comma-separated names such as "F5", "Alt+Q",
// "Ctrl+V", "PageDown", "Break", "Menu", "Menu:Copy text" and "text:..." to type
// characters. A backslash makes the next character literal ("text:a\,b" types "a,b").

#include "app/QtKeys.h"

#include <QList>
#include <QString>
#include <optional>

class Session;

struct KeyAction
{
    Keystroke stroke;
    // For "Menu:ENTRY": the entry the popup menu that the keystroke opens picks.
    std::optional<QString> menuEntry;
};

namespace KeyScript {

// The actions of a sequence, or nothing with error set when a name is not known.
std::optional<QList<KeyAction>> parse(const QString &sequence, QString *error);
// Delivers the actions to the session's keyboard, letting queued keystrokes run between.
void deliver(Session &session, const QList<KeyAction> &actions);

} // namespace KeyScript
