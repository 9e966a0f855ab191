// The window's edge: real Qt events reach the keyboard handler as virtual keys.

#include "TestSession.h"
#include "app/MainWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

void press(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&window, &event);
    QCoreApplication::processEvents();
}

TEST(MainWindow, KeyMouseFocusAndCloseEventsReachTheConsole)
{
    TestSession t;
    t->console.ClScreen();
    MainWindow window(*t);

    press(window, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    press(window, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("w\t"));
    press(window, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_EQ(t->console.cmdText, QString());
    for (const QChar c : QStringLiteral("write hi"))
        press(window, QChar(c).toUpper().unicode(), Qt::NoModifier, QString(c));
    press(window, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(t.row(1), QStringLiteral("hi"));
    press(window, Qt::Key_Q, Qt::AltModifier, QStringLiteral("q"));
    EXPECT_EQ(t.row(1), QStringLiteral("The Alt+Q key combination has not been defined"));

    // A right click opens the screen menu at the click; the script picks the entry.
    t->scripted.pickMenuEntry(QStringLiteral("Insert these coordinates"));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(40, 60), QPointF(40, 60), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);
    EXPECT_EQ(t->console.cmdText, QStringLiteral("40,60"));

    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&window, &out);
    EXPECT_FALSE(t->cursorTimer.timFlash.isActive());
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&window, &in);
    EXPECT_TRUE(t->cursorTimer.timFlash.isActive());

    t->setWindowTitle(QStringLiteral("1:00 / 2:00 - idrisk2k Command"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("1:00 / 2:00 - idrisk2k Command"));

    // exit closes the window through the shut-down, which writes the store.
    t.exe({QStringLiteral("set kept yes")});
    window.show();
    t.exe({QStringLiteral("exit")});
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(QFile::exists(t.file(QStringLiteral("set.cf"))));
}

} // namespace
