#include "foundation/Timers.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// A timer the kernel keeps in step: each tick falls due a whole interval after the one before,
// whatever the event loop did in between. Qt's timers wait the interval again, rounded up to
// the next millisecond, after each tick is handled, so the batch's 1 ms line runner ticked
// only every 1.2 ms or so. Ticks missed while the loop was busy are not made up: one tick for
// each wake.
class KernelTimer final : public Timer
{
public:
    // Takes the timer descriptor fd and closes it.
    KernelTimer(int fd, int milliseconds, std::function<void()> tick)
        : m_fd(fd), m_interval(milliseconds), m_tick(std::move(tick)),
          m_notifier(fd, QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] {
            std::uint64_t expirations = 0;
            if (::read(m_fd, &expirations, sizeof expirations) == sizeof expirations &&
                m_active)
                m_tick();
        });
    }
    ~KernelTimer() override { ::close(m_fd); }
    void start() override
    {
        m_active = true;
        arm(m_interval);
    }
    void stop() override
    {
        m_active = false;
        arm(0);
    }
    bool isActive() const override { return m_active; }
    void setInterval(int milliseconds) override
    {
        m_interval = milliseconds;
        if (m_active)
            arm(m_interval);
    }
    int interval() const override { return m_interval; }

private:
    // Re-arming also forgets the ticks that fell due but were not yet taken; 0 disarms.
    void arm(int milliseconds)
    {
        const timespec step{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
        const itimerspec period{step, step};
        ::timerfd_settime(m_fd, 0, &period, nullptr);
    }

    int m_fd;
    int m_interval;
    std::function<void()> m_tick;
    QSocketNotifier m_notifier;
    bool m_active = false;
};

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

class RealTimers final : public TimerSource
{
public:
    std::unique_ptr<Timer> timer(int milliseconds, std::function<void()> tick) override
    {
        // Qt's timers stand in for a 0 ms timer and when the system gives no timer descriptor.
        if (milliseconds > 0) {
            const int fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
            if (fd >= 0)
                return std::make_unique<KernelTimer>(fd, milliseconds, std::move(tick));
        }
        return std::make_unique<QtTimer>(milliseconds, std::move(tick));
    }
};

} // namespace

TimerSource &realTimers()
{
    static RealTimers timers;
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
