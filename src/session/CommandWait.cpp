#include "session/CommandWait.h"

#include "session/Session.h"

CommandWait::CommandWait(Session &session, std::function<void()> onCancel)
    : m_session(session), m_onCancel(std::move(onCancel)), m_held(session.batch.holdTimers()),
      m_outer(session.wait)
{
    session.wait = this;
}

CommandWait::~CommandWait()
{
    m_session.wait = m_outer;
    m_session.batch.releaseTimers(m_held);
}

void CommandWait::cancel()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    if (m_onCancel)
        m_onCancel();
}
