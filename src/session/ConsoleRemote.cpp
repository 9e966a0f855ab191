#include "session/ConsoleRemote.h"

#include "console/VirtualKeys.h"
#include "session/Session.h"

bool ConsoleRemote::ready() const
{
    const int mode = m_session.console.dispMode;
    return !m_session.wait && (mode == Console::Prompt || mode == Console::Pager);
}

void ConsoleRemote::run(const QStringList &lines)
{
    Batch &batch = m_session.batch;
    ++batch.outsideLines;
    for (const QString &line : lines) {
        if (m_session.closeRequested() || !ready())
            break;
        m_session.handleEvent([&] {
            if (m_session.console.dispMode == Console::Pager)
                m_session.keyboard.keyDown(Vk::Escape, 0);
            m_session.exe(line);
        });
    }
    --batch.outsideLines;
}

QString ConsoleRemote::screenText() const
{
    return m_session.console.scrCells().screenText();
}
