#pragma once
// The program's timers behind one small interface. The running program uses the kernel's
// timers, read through the event loop; tests use a clock they move by hand (ManualClock), so the batch's pace, the timed
// commands and the fade are tested step by step instead of by waiting on the real clock.

#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

class Timer
{
public:
    virtual ~Timer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
};

class TimerSource
{
public:
    virtual ~TimerSource() = default;
    // A stopped timer that calls tick every interval once started.
    virtual std::unique_ptr<Timer> timer(int milliseconds, std::function<void()> tick) = 0;
};

// Timers on the real clock, for the running program: each ticks a whole interval after the
// last, in step, however long the event loop took to handle it.
TimerSource &realTimers();

// A clock that moves only when told. Its timers must not outlive it.
class ManualClock : public TimerSource
{
public:
    std::unique_ptr<Timer> timer(int milliseconds, std::function<void()> tick) override;
    // Moves the clock on by the given milliseconds, running every tick that falls due on
    // the way, in the order they fall due (timers started first go first at the same time).
    void advance(qint64 milliseconds);
    qint64 now() const { return m_now; }

private:
    class Manual;
    friend class Manual;
    std::vector<Manual *> m_timers;
    qint64 m_now = 0;
};
