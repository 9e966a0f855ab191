#pragma once
// A command line run by /bin/sh with what it prints (standard output and errors) captured in
// a file, for `cmd`. Its input is empty, so a command that reads never waits for it. The
// shell runs in a process group of its own, so stopping it stops what it started too.

#include <QProcess>
#include <QString>
#include <functional>

class ShellCommand
{
public:
    // Starts `/bin/sh -c line` writing into captureFile, which it replaces. Raises
    // "Error starting task" when the shell cannot be started.
    ShellCommand(const QString &line, const QString &captureFile);
    // Stops the command and everything in its process group when it still runs.
    ~ShellCommand();
    ShellCommand(const ShellCommand &) = delete;
    ShellCommand &operator=(const ShellCommand &) = delete;

    // Lets window events run until the command ends (true) or giveUp answers true (false);
    // giveUp is asked every 20 ms. The program quitting ends the wait too (false).
    bool wait(const std::function<bool()> &giveUp);
    void stop();

private:
    QProcess m_process;
};
