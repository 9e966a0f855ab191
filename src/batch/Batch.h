#pragma once
// A running batch file: its lines, started one per 1 ms tick while the console is at the
// prompt, and the timed commands that `at` schedules on a 100 ms clock.

#include "batch/BatchHost.h"
#include "foundation/Timers.h"

#include <QString>
#include <QStringList>
#include <memory>

class Batch
{
public:
    // Entries of the timed-command table.
    static constexpr int kTimedCapacity = 32001;
    static constexpr int kClockStep = 100;

    Batch(BatchHost &host, TimerSource &timers);

    // Reads the whole file (made, empty, when missing), resets the batch and starts the
    // line runner. A file that cannot be read leaves the batch idle and raises the error.
    void initbatch(const QString &batchfile);
    // True when the command line may run: always when no batch runs and no line sent from
    // outside the window runs, otherwise when the user answers Yes to the warning.
    bool batchconfirm(const QString &cmd);
    // Schedules a command due when the clock reaches the due time.
    void at(const QString &due, const QString &command);
    // Stops the clock until a later `at`; from a timed command after the last line, the
    // batch ends too.
    void end();
    // The clock stops while the console waits for the user...
    void pausetimed();
    // ...and goes on afterwards, once a timed command has been scheduled, unless `end`
    // stopped it.
    void resumetimed();
    // Break: the batch ends.
    void stopbatch();

    // While a command waits (CommandWait) its nested event loop must not run batch lines or
    // timed commands: both timers are held, and released as they were.
    struct HeldTimers
    {
        bool lineRunner = false;
        bool clock = false;
    };
    HeldTimers holdTimers();
    void releaseTimers(HeldTimers held);

    // One tick of each timer, as the timers run them.
    void runNextLine();
    void clockTick();

    bool running() const { return m_running; }
    // Lines sent from outside the window (i2kCmd --remote) run between these two calls: they
    // ask first as batch lines do.
    void beginOutsideLines() { ++m_outsideLines; }
    void endOutsideLines() { --m_outsideLines; }
    // The line last handed to the interpreter; -1 before the first.
    qsizetype currentLine() const { return m_line; }
    // Milliseconds counted by the clock in this batch; it only moves while the clock runs.
    qint64 clock() const { return m_clock; }
    bool linesRunning() const { return m_lineRunner->isActive(); }
    bool clockRunning() const { return m_clockTimer->isActive(); }
    struct TimedCommand
    {
        QString due; // milliseconds, as written
        QString command;
    };
    // The timed commands scheduled, those that fired kept in their places, emptied.
    const QList<TimedCommand> &timedCommands() const { return m_timed; }

private:
    BatchHost &m_host;
    bool m_running = false;
    int m_outsideLines = 0;
    QStringList m_lines;
    qsizetype m_line = -1;
    QList<TimedCommand> m_timed;
    qint64 m_clock = 0;
    std::unique_ptr<Timer> m_lineRunner; // 1 ms
    std::unique_ptr<Timer> m_clockTimer; // 100 ms
    // `end` stopped the clock: nothing but a later `at` starts it again.
    bool m_ended = false;
};
