#pragma once
// The one guard around every wait during which a command lets window events run before it
// has finished: a web request, a shell command, a file search, a question. While it lives
// the batch runs no line and no timed command, the keyboard turns keys away (Escape and
// Break cancel the wait; the command line is not typed into) and no other command line
// starts, so a command never runs inside another. Waits nest: each leaves what it found.

#include "batch/Batch.h"

#include <functional>

class Session;

class CommandWait
{
public:
    // onCancel is told when the user cancels, so the waiting command can give up at once.
    explicit CommandWait(Session &session, std::function<void()> onCancel = {});
    ~CommandWait();
    CommandWait(const CommandWait &) = delete;
    CommandWait &operator=(const CommandWait &) = delete;

    void cancel();
    bool cancelled() const { return m_cancelled; }

private:
    Session &m_session;
    std::function<void()> m_onCancel;
    Batch::HeldTimers m_held;
    CommandWait *m_outer;
    bool m_cancelled = false;
};
