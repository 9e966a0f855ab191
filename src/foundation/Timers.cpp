#include "foundation/Timers.h"

#include <QObject>
#include <QTimer>
#include <algorithm>

namespace {

class QtTimer final : public Timer
{
public:
    QtTimer(int milliseconds, std::function<void()> tick)
    {
        m_timer.setInterval(milliseconds);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(tick));
    }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    void setInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

class QtTimers final : public TimerSource
{
public:
    std::unique_ptr<Timer> timer(int milliseconds, std::function<void()> tick) override
    {
        return std::make_unique<QtTimer>(milliseconds, std::move(tick));
    }
};

} // namespace

TimerSource &qtTimers()
{
    static QtTimers timers;
    return timers;
}

class ManualClock::Manual final : public Timer
{
public:
    Manual(ManualClock &clock, int milliseconds, std::function<void()> tick)
        : m_clock(clock), m_interval(milliseconds), m_tick(std::move(tick))
    {
        m_clock.m_timers.push_back(this);
    }
    ~Manual() override { std::erase(m_clock.m_timers, this); }
    void start() override
    {
        m_active = true;
        m_due = m_clock.m_now + step();
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    void setInterval(int milliseconds) override { m_interval = milliseconds; }
    int interval() const override { return m_interval; }

    // A timer of 0 ms fires once per millisecond here, so the clock always moves on.
    qint64 step() const { return std::max(m_interval, 1); }

    ManualClock &m_clock;
    int m_interval;
    std::function<void()> m_tick;
    bool m_active = false;
    qint64 m_due = 0;
};

std::unique_ptr<Timer> ManualClock::timer(int milliseconds, std::function<void()> tick)
{
    return std::make_unique<Manual>(*this, milliseconds, std::move(tick));
}

void ManualClock::advance(qint64 milliseconds)
{
    const qint64 until = m_now + milliseconds;
    for (;;) {
        Manual *next = nullptr;
        for (Manual *timer : m_timers) {
            if (timer->m_active && timer->m_due <= until && (!next || timer->m_due < next->m_due))
                next = timer;
        }
        if (!next)
            break;
        m_now = std::max(m_now, next->m_due);
        next->m_due += next->step();
        next->m_tick();
    }
    // A tick may have moved the clock on itself (a nested wait); it never goes back.
    m_now = std::max(m_now, until);
}
