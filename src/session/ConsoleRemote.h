#pragma once
// What command lines sent from outside the window (i2kCmd --remote) may do with the console:
// run as typed lines run, once the console can take them, and read its text afterwards.

#include <QString>
#include <QStringList>

class Session;

class ConsoleRemote
{
public:
    explicit ConsoleRemote(Session &session) : m_session(session) {}

    // Whether lines can run now: no command waits, and the console shows the prompt or the
    // pager (a deletion waiting for its answer, or a running shell command, comes first).
    bool ready() const;
    // Runs the lines in order through the interpreter, each under the session's trap; the
    // pager is left first, as Escape leaves it. The commands that ask first in a batch ask
    // here too. Stops when a line closes the window.
    void run(const QStringList &lines);
    // The console's text, 37 lines of 94 characters, as --screen-text writes it.
    QString screenText() const;

private:
    Session &m_session;
};
