// Qt's key events and the --keys names, mapped to virtual keys and characters.

#include "app/KeyScript.h"
#include "app/QtKeys.h"
#include "console/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

void expectStroke(const Keystroke &k, int code, int shift, int character)
{
    EXPECT_EQ(k.code, code);
    EXPECT_EQ(k.shift, shift);
    EXPECT_EQ(k.character, character);
}

TEST(QtKeys, WindowKeysBecomeVirtualKeysAndCharacters)
{
    expectStroke(QtKeys::fromQt(Qt::Key_A, Qt::NoModifier, "a"), 65, 0, 'a');
    expectStroke(QtKeys::fromQt(Qt::Key_A, Qt::ShiftModifier, "A"), 65, 1, 'A');
    expectStroke(QtKeys::fromQt(Qt::Key_7, Qt::NoModifier, "7"), 55, 0, '7');
    expectStroke(QtKeys::fromQt(Qt::Key_F5, Qt::NoModifier, ""), Vk::F1 + 4, 0, 0);
    expectStroke(QtKeys::fromQt(Qt::Key_F12, Qt::ControlModifier, ""), 123, 2, 0);
    // Alt with a letter types nothing; Ctrl with a letter types its control character even
    // when the window system gives no text.
    expectStroke(QtKeys::fromQt(Qt::Key_Q, Qt::AltModifier, "q"), 81, 4, 0);
    expectStroke(QtKeys::fromQt(Qt::Key_V, Qt::ControlModifier, ""), 86, 2, 22);
    expectStroke(QtKeys::fromQt(Qt::Key_C, Qt::ControlModifier, "\x03"), 67, 2, 3);
    expectStroke(QtKeys::fromQt(Qt::Key_Return, Qt::NoModifier, "\r"), 13, 0, 13);
    expectStroke(QtKeys::fromQt(Qt::Key_Enter, Qt::KeypadModifier, "\r"), 13, 0, 13);
    expectStroke(QtKeys::fromQt(Qt::Key_Escape, Qt::NoModifier, "\x1b"), 27, 0, 27);
    expectStroke(QtKeys::fromQt(Qt::Key_Backspace, Qt::NoModifier, "\b"), 8, 0, 8);
    expectStroke(QtKeys::fromQt(Qt::Key_Delete, Qt::NoModifier, "\x7f"), 46, 0, 0);
    expectStroke(QtKeys::fromQt(Qt::Key_Pause, Qt::NoModifier, ""), 19, 0, 0);
    expectStroke(QtKeys::fromQt(Qt::Key_Menu, Qt::NoModifier, ""), 93, 0, 0);
    expectStroke(QtKeys::fromQt(Qt::Key_BracketLeft, Qt::NoModifier, "["), 219, 0, '[');
    expectStroke(QtKeys::fromQt(Qt::Key_BraceRight, Qt::ShiftModifier, "}"), 221, 1, '}');
    expectStroke(QtKeys::fromQt(Qt::Key_PageDown, Qt::NoModifier, ""), 34, 0, 0);
    // A character the keyboard layout makes (AltGr) is typed.
    expectStroke(QtKeys::fromQt(Qt::Key_E, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("\u20ac")), 69, 6,
                 0x20ac);
    expectStroke(QtKeys::fromQt(Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u00e9")), 0, 0, 0xe9);
}

TEST(QtKeys, ScriptNamesParseToTheSameKeystrokes)
{
    QString error;
    const auto actions = KeyScript::parse(
        QStringLiteral("F5,alt+q,Ctrl+V,Escape,Enter,Backspace,PageDown,PageUp,Home,End,Up,Down,Break,Menu,Y,"
                       "Menu:Copy text,text:a\\,B"),
        &error);
    ASSERT_TRUE(actions.has_value()) << error.toStdString();
    const QList<int> codes = {116, 81, 86, 27, 13, 8, 34, 33, 36, 35, 38, 40, 19, 93, 89, 93, 65, 188, 66};
    QList<int> got;
    for (const KeyAction &a : *actions)
        got.append(a.stroke.code == 0 && a.stroke.character == ',' ? 188 : a.stroke.code);
    EXPECT_EQ(got, codes);
    expectStroke((*actions)[1].stroke, 81, 4, 0);
    expectStroke((*actions)[2].stroke, 86, 2, 22);
    expectStroke((*actions)[14].stroke, 89, 0, 'y');
    EXPECT_EQ((*actions)[15].menuEntry, QStringLiteral("Copy text"));
    EXPECT_FALSE((*actions)[13].menuEntry.has_value());
    EXPECT_EQ((*actions)[16].stroke.character, 'a');
    EXPECT_EQ((*actions)[18].stroke.character, 'B');

    EXPECT_FALSE(KeyScript::parse(QStringLiteral("F5,NoSuchKey"), &error).has_value());
    EXPECT_EQ(error, QStringLiteral("unknown key 'NoSuchKey' in --keys"));
    EXPECT_FALSE(KeyScript::parse(QString(), &error).has_value());
}

} // namespace
