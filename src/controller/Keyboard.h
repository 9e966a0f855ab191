#pragma once
// Turns key and mouse events, already in virtual-key codes, into editing of the command
// line, paging, playlist control, key bindings and the popup menus, by display mode. While a
// command waits (CommandWait) keys and clicks are turned away; Escape and Break cancel it.

#include "controller/PromptKeys.h"

#include <QObject>
#include <QPoint>
#include <QString>

class Session;

class Keyboard
{
public:
    explicit Keyboard(Session &session) : m_session(session) {}

    // Key down: the key code and the modifier state (1 Shift, 2 Ctrl, 4 Alt, summed).
    void keyDown(int code, int shift);
    // The character of a key; set to 0 when it has been swallowed.
    void keyPress(int &character);
    // A full keystroke: key down, then its character when it has one (0 for none).
    void keystroke(int code, int shift, int character);
    // Mouse button released at a pixel of the console.
    void mouseUp(int button, int shift, int x, int y);
    void gotFocus();
    void lostFocus();

    // Where the last right click was; 0, 0 when the menu came from the keyboard.
    qint16 clickX = 0;
    qint16 clickY = 0;

private:
    void promptKeyDown(int code, int shift);
    void pagerKeyDown(int code);
    void answerDeletion(int code);
    void runBinding(const QString &storeKey, const QString &notDefinedMessage);
    void resetCommandLine();
    void drawCursor(QChar shape);
    void enter();
    // A keystroke handled after the current event, as if the window had been sent it.
    void sendKeystroke(int code, int character);
    // Where a menu opened from the keyboard appears.
    QPoint cursorPoint() const;

    Session &m_session;
    PromptKeys m_prompt{m_session};
    // Keystrokes queued on it are dropped if the keyboard goes first.
    QObject m_queue;
};
