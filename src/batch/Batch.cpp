#include "batch/Batch.h"

#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "session/Session.h"

#include <QDir>
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

Batch::Batch(Session &session) : m_session(session)
{
    timBatchRun.setInterval(1);
    timBatchRun.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timBatchRun, &QTimer::timeout,
                     [this] { m_session.handleEvent([this] { runNextLine(); }); });
    timBatch.setInterval(kClockStep);
    timBatch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timBatch, &QTimer::timeout,
                     [this] { m_session.handleEvent([this] { clockTick(); }); });
}

void Batch::initbatch(const QString &batchfile)
{
    QByteArray bytes;
    try {
        bytes = readBatchFile(batchfile);
    } catch (const RuntimeError &) {
        // Nothing will run: leave the keyboard working rather than waiting for Break.
        batchRunning = false;
        throw;
    }
    const QString text = TextFile::decode(bytes);
    batchLines = text.isEmpty() ? QStringList() : splitLines(text);
    timedLast = -1;
    batchLine = -1;
    timedCommands.clear();
    batchClock = 0;
    m_ended = false;
    batchRunning = true;
    timBatchRun.start();
}

bool Batch::batchconfirm(const QString &cmd)
{
    if (!batchRunning && outsideLines == 0)
        return true;
    return m_session.askYesNo(Msg::kBatchWarningTitle, Msg::batchWarning(cmd));
}

void Batch::at(const QString &due, const QString &command)
{
    if (timedLast + 1 >= kTimedCapacity)
        throw RuntimeError::subscriptOutOfRange();
    ++timedLast;
    timedCommands.append({due, command});
    m_ended = false;
    if (!timBatch.isActive())
        timBatch.start();
}

void Batch::end()
{
    timBatch.stop();
    m_ended = true;
    // The line runner has already passed the last line: nothing else would end the batch.
    if (!timBatchRun.isActive())
        batchRunning = false;
}

void Batch::pausetimed()
{
    if (batchRunning)
        timBatch.stop();
}

void Batch::resumetimed()
{
    if (batchRunning && timedLast >= 0 && !m_ended && !timBatch.isActive())
        timBatch.start();
}

void Batch::stopbatch()
{
    timBatch.stop();
    timBatchRun.stop();
    batchRunning = false;
}

Batch::HeldTimers Batch::holdTimers()
{
    const HeldTimers held{timBatchRun.isActive(), timBatch.isActive()};
    timBatchRun.stop();
    timBatch.stop();
    return held;
}

void Batch::releaseTimers(HeldTimers held)
{
    if (!batchRunning)
        return;
    if (held.lineRunner)
        timBatchRun.start();
    if (held.clock)
        timBatch.start();
}

void Batch::runNextLine()
{
    if (!batchRunning || m_session.console.dispMode != Console::Prompt)
        return;
    // Empty lines are passed over, as Enter on an empty command line is.
    do
        ++batchLine;
    while (batchLine < batchLines.size() && batchLines[batchLine].isEmpty());
    if (batchLine >= batchLines.size()) {
        if (!timBatch.isActive())
            batchRunning = false;
        timBatchRun.stop();
        return;
    }
    m_session.exe(batchLines[batchLine]);
}

void Batch::clockTick()
{
    const int last = timedLast;
    for (int i = 0; i <= last && batchRunning; ++i) {
        TimedCommand &entry = timedCommands[i];
        const std::optional<double> due = Numeric::parse(entry.due);
        if (!due) {
            // A due time that is no number can never come: say so once and drop it.
            entry = {QStringLiteral("0"), QString()};
            m_session.reportError(RuntimeError::typeMismatch());
            continue;
        }
        if (*due <= static_cast<double>(batchClock)) {
            const QString command = entry.command;
            entry = {QStringLiteral("0"), QString()};
            if (!command.isEmpty())
                m_session.exe(command);
        }
    }
    batchClock += kClockStep;
}
