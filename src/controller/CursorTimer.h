#pragma once
// timFlash: every 100 ms the cursor blinks, the now-playing status or the playlist view's
// window title is refreshed, and the random-drawing mode draws one shape. It stops while the
// window has no focus; the playlist's advance has a timer of its own (Players::startAdvancing).

#include <QRandomGenerator>
#include <QString>
#include <QTimer>

class Session;

class CursorTimer
{
public:
    explicit CursorTimer(Session &session);

    // One tick, as the timer runs it.
    void tick();
    // The drawing command of one random step for a shape kind 0..4; empty for others.
    QString randomCommand(int kind);

    QTimer timFlash;
    // Whether "_" is drawn at the cursor now.
    bool cursorOn = false;

private:
    void blinkCursor();
    void drawStatus();
    void randomDrawing();
    int rnd(int n) { return static_cast<int>(m_random.bounded(n)); }

    Session &m_session;
    QRandomGenerator m_random;
};
