#pragma once
// The window's edge: Qt key events become the virtual-key code, the modifier state and
// the character that the keyboard handler speaks.

#include <QString>
#include <Qt>

struct Keystroke
{
    int code = 0;      // virtual-key code; 0 for a key the handler has no code for
    int shift = 0;     // 1 Shift, 2 Ctrl, 4 Alt, summed
    int character = 0; // the character the key types; 0 when it types none
};

namespace QtKeys {

Keystroke fromQt(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text);
// A character typed on its own, as its key would type it.
Keystroke fromCharacter(QChar character);

} // namespace QtKeys
