#include "session/ConsoleRemote.h"

#include "console/VirtualKeys.h"
#include "session/Session.h"

bool ConsoleRemote::ready() const
{
    const Console::Mode mode = m_session.console.mode();
    return !m_session.wait && (mode == Console::Mode::Prompt || mode == Console::Mode::Pager);
}

void ConsoleRemote::run(const QStringList &lines)
{
    Batch &batch = m_session.batch;
    batch.beginOutsideLines();
    for (const QString &line : lines) {
        if (m_session.closeRequested() || !ready())
            break;
        m_session.handleEvent([&] {
            if (m_session.console.mode() == Console::Mode::Pager)
                m_session.keyboard.keyDown(Vk::Escape, 0);
            m_session.exe(line);
        });
    }
    batch.endOutsideLines();
}

QString ConsoleRemote::screenText() const
{
    return m_session.console.scrCells().screenText();
}
