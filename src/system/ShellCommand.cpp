#include "system/ShellCommand.h"

#include "foundation/RuntimeError.h"

#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <unistd.h>

namespace {

// The number the utility plugin raises for a program it cannot start.
constexpr int kErrorStartingTask = static_cast<int>(0x8004012C);

} // namespace

ShellCommand::ShellCommand(const QString &line, qint64 maxOutput) : m_maxOutput(maxOutput)
{
    m_process.setProgram(QStringLiteral("/bin/sh"));
    m_process.setArguments({QStringLiteral("-c"), line});
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { take(); });
    m_process.start();
    if (!m_process.waitForStarted())
        throw RuntimeError(kErrorStartingTask,
                           QStringLiteral("Error starting task: ") + m_process.errorString());
}

ShellCommand::~ShellCommand()
{
    stop();
}

bool ShellCommand::wait(const std::function<bool()> &giveUp)
{
    QEventLoop loop;
    QTimer poll;
    auto check = [&] {
        if (m_process.state() == QProcess::NotRunning || giveUp())
            loop.quit();
    };
    QObject::connect(&m_process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&poll, &QTimer::timeout, &loop, check);
    poll.start(20);
    if (m_process.state() != QProcess::NotRunning && !giveUp())
        loop.exec();
    if (m_process.state() != QProcess::NotRunning)
        return false;
    take();
    return true;
}

void ShellCommand::take()
{
    if (m_cut)
        return;
    // One byte more than room is left tells that the output goes past the limit.
    m_output += m_process.read(m_maxOutput - m_output.size() + 1);
    if (m_output.size() <= m_maxOutput)
        return;
    m_output.truncate(m_maxOutput);
    m_cut = true;
    stop();
}

void ShellCommand::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    const qint64 pid = m_process.processId();
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    m_process.waitForFinished(5000);
}
