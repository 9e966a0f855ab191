#include "app/QtKeys.h"

#include "console/VirtualKeys.h"

#include <QHash>

namespace {

int virtualKey(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // Qt uses the same codes for letters and digits
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return Vk::F1 + (qtKey - Qt::Key_F1);
    static const QHash<int, int> keys = {
        {Qt::Key_Backspace, Vk::Backspace},
        {Qt::Key_Tab, Vk::Tab},
        {Qt::Key_Return, Vk::Enter},
        {Qt::Key_Enter, Vk::Enter},
        {Qt::Key_Pause, Vk::Pause},
        {Qt::Key_Escape, Vk::Escape},
        {Qt::Key_Space, Vk::Space},
        {Qt::Key_PageUp, Vk::PageUp},
        {Qt::Key_PageDown, Vk::PageDown},
        {Qt::Key_End, Vk::End},
        {Qt::Key_Home, Vk::Home},
        {Qt::Key_Left, Vk::Left},
        {Qt::Key_Up, Vk::Up},
        {Qt::Key_Right, Vk::Right},
        {Qt::Key_Down, Vk::Down},
        {Qt::Key_Insert, Vk::Insert},
        {Qt::Key_Delete, Vk::Delete},
        {Qt::Key_Menu, Vk::Menu},
        {Qt::Key_BracketLeft, Vk::BracketLeft},
        {Qt::Key_BraceLeft, Vk::BracketLeft},
        {Qt::Key_BracketRight, Vk::BracketRight},
        {Qt::Key_BraceRight, Vk::BracketRight},
    };
    return keys.value(qtKey, 0);
}

} // namespace

Keystroke QtKeys::fromQt(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text)
{
    Keystroke k;
    k.code = virtualKey(qtKey);
    if (modifiers & Qt::ShiftModifier)
        k.shift += Vk::ShiftMask;
    if (modifiers & Qt::ControlModifier)
        k.shift += Vk::CtrlMask;
    if (modifiers & Qt::AltModifier)
        k.shift += Vk::AltMask;

    // Alt alone makes a menu key, not a character; Ctrl with a letter makes a control
    // character, whatever the window system put in the text.
    if ((k.shift & Vk::AltMask) && !(k.shift & Vk::CtrlMask))
        return k;
    if (k.shift & Vk::CtrlMask && !(k.shift & Vk::AltMask) && qtKey >= Qt::Key_A &&
        qtKey <= Qt::Key_Z) {
        k.character = qtKey - Qt::Key_A + 1;
        return k;
    }
    switch (k.code) {
    case Vk::Enter:
    case Vk::Escape:
    case Vk::Backspace:
    case Vk::Tab:
        k.character = k.code;
        return k;
    default:
        break;
    }
    if (!text.isEmpty() && text[0].unicode() >= 32 && text[0].unicode() != 127)
        k.character = text[0].unicode();
    return k;
}

Keystroke QtKeys::fromCharacter(QChar character)
{
    const char16_t c = character.unicode();
    const int qtKey = c < 128 ? QChar(c).toUpper().unicode() : 0;
    Keystroke k = fromQt(qtKey, Qt::NoModifier, QString(character));
    if (c < 32) // control characters arrive as they are, as a paste would bring them
        k.character = c;
    return k;
}
