#include "batch/Batch.h"

#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>

namespace {

// The bytes of a batch file, through the file guard (regular files only, bounded size). A
// missing file in an existing folder is made, empty, so a new batch can be started by name.
QByteArray readBatchFile(const QString &path)
{
    const QFileInfo info(path);
    if (!path.isEmpty() && !info.exists() && !info.isSymLink() && info.absoluteDir().exists()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw RuntimeError::permissionDenied();
        return {};
    }
    return TextFile::readBytes(path);
}

// Lines end at CR LF, as Windows editors write them, or at a lone LF, as Linux editors do.
QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

Batch::Batch(BatchHost &host, TimerSource &timers)
    : m_host(host),
      m_lineRunner(timers.timer(1, [this] { m_host.handleEvent([this] { runNextLine(); }); })),
      m_clockTimer(timers.timer(kClockStep, [this] { m_host.handleEvent([this] { clockTick(); }); }))
{
}

void Batch::initbatch(const QString &batchfile)
{
    QByteArray bytes;
    try {
        bytes = readBatchFile(batchfile);
    } catch (const RuntimeError &) {
        // Nothing will run: leave the keyboard working rather than waiting for Break.
        m_running = false;
        throw;
    }
    const QString text = TextFile::decode(bytes);
    m_lines = text.isEmpty() ? QStringList() : splitLines(text);
    m_line = -1;
    m_timed.clear();
    m_clock = 0;
    m_ended = false;
    m_running = true;
    m_lineRunner->start();
}

bool Batch::batchconfirm(const QString &cmd)
{
    if (!m_running && m_outsideLines == 0)
        return true;
    return m_host.askYesNo(Msg::kBatchWarningTitle, Msg::batchWarning(cmd));
}

void Batch::at(const QString &due, const QString &command)
{
    if (m_timed.size() >= kTimedCapacity)
        throw RuntimeError::subscriptOutOfRange();
    m_timed.append({due, command});
    m_ended = false;
    if (!m_clockTimer->isActive())
        m_clockTimer->start();
}

void Batch::end()
{
    m_clockTimer->stop();
    m_ended = true;
    // The line runner has already passed the last line: nothing else would end the batch.
    if (!m_lineRunner->isActive())
        m_running = false;
}

void Batch::pausetimed()
{
    if (m_running)
        m_clockTimer->stop();
}

void Batch::resumetimed()
{
    if (m_running && !m_timed.isEmpty() && !m_ended && !m_clockTimer->isActive())
        m_clockTimer->start();
}

void Batch::stopbatch()
{
    m_clockTimer->stop();
    m_lineRunner->stop();
    m_running = false;
}

Batch::HeldTimers Batch::holdTimers()
{
    const HeldTimers held{m_lineRunner->isActive(), m_clockTimer->isActive()};
    m_lineRunner->stop();
    m_clockTimer->stop();
    return held;
}

void Batch::releaseTimers(HeldTimers held)
{
    if (!m_running)
        return;
    if (held.lineRunner)
        m_lineRunner->start();
    if (held.clock)
        m_clockTimer->start();
}

void Batch::runNextLine()
{
    if (!m_running || !m_host.atPrompt())
        return;
    // Empty lines are passed over, as Enter on an empty command line is.
    do
        ++m_line;
    while (m_line < m_lines.size() && m_lines[m_line].isEmpty());
    if (m_line >= m_lines.size()) {
        if (!m_clockTimer->isActive())
            m_running = false;
        m_lineRunner->stop();
        return;
    }
    m_host.exe(m_lines[m_line]);
}

void Batch::clockTick()
{
    // Commands scheduled by a command that fires wait for the next tick.
    const qsizetype count = m_timed.size();
    for (qsizetype i = 0; i < std::min(count, m_timed.size()) && m_running; ++i) {
        TimedCommand &entry = m_timed[i];
        const std::optional<double> due = Numeric::parse(entry.due);
        if (!due) {
            // A due time that is no number can never come: say so once and drop it.
            entry = {QStringLiteral("0"), QString()};
            m_host.reportError(RuntimeError::typeMismatch());
            continue;
        }
        if (*due <= static_cast<double>(m_clock)) {
            const QString command = entry.command;
            entry = {QStringLiteral("0"), QString()};
            if (!command.isEmpty())
                m_host.exe(command);
        }
    }
    m_clock += kClockStep;
}
