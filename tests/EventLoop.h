#pragma once
// Letting timers, queued calls and players' events run in a test, bounded in time.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

// Runs the event loop until the condition holds or the time is up; true when it held.
inline bool waitFor(const std::function<bool()> &condition, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// Runs the event loop for a while.
inline void runFor(int ms)
{
    waitFor([] { return false; }, ms);
}
