#pragma once
// A command line run by /bin/sh with what it prints (standard output and errors) captured,
// for `cmd`. Its input is empty, so a command that reads never waits for it. The shell runs
// in a process group of its own, so stopping it stops what it started too. The capture is
// bounded: output past the limit stops the command (`cmd yes` would otherwise fill memory
// or a disk in seconds).

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <functional>

class ShellCommand
{
public:
    static constexpr qint64 kMaxOutput = 16 * 1024 * 1024;

    // Starts `/bin/sh -c line`. Raises "Error starting task" when the shell cannot be started.
    explicit ShellCommand(const QString &line, qint64 maxOutput = kMaxOutput);
    // Stops the command and everything in its process group when it still runs.
    ~ShellCommand();
    ShellCommand(const ShellCommand &) = delete;
    ShellCommand &operator=(const ShellCommand &) = delete;

    // Lets window events run until the command ends (true) or giveUp answers true (false);
    // giveUp is asked every 20 ms. The program quitting ends the wait too (false). A command
    // stopped for printing too much has ended.
    bool wait(const std::function<bool()> &giveUp);
    void stop();

    // What it printed so far, at most maxOutput bytes; cut() when there was more.
    const QByteArray &output() const { return m_output; }
    bool cut() const { return m_cut; }

private:
    void take();

    QProcess m_process;
    QByteArray m_output;
    qint64 m_maxOutput;
    bool m_cut = false;
};
