#include "app/ScriptRunner.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "session/Session.h"

#include <QBuffer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

void runSteps(Session &session, const CommandLine &line)
{
    for (const CommandLine::Step &step : line.steps) {
        if (session.closeRequested())
            return;
        if (step.kind == CommandLine::Step::Kind::Exec) {
            session.exe(step.value);
        } else if (step.kind == CommandLine::Step::Kind::Keys) {
            KeyScript::deliver(session, step.keys);
        } else {
            QEventLoop loop;
            QTimer::singleShot(step.value.toInt(), &loop, &QEventLoop::quit);
            loop.exec();
        }
    }
}

namespace {

// Through the file guard: a regular file is replaced atomically, a FIFO or device is written
// into.
bool writeOutput(const QString &path, const QByteArray &bytes)
{
    try {
        TextFile::save(path, bytes);
        return true;
    } catch (const RuntimeError &error) {
        std::fprintf(stderr, "i2kCmd: cannot write %s: %s\n", qPrintable(path), error.what());
        return false;
    }
}

// "--screen-text -": the one place where "-" means standard output, not a file of that name.
bool writeStandardOutput(const QByteArray &bytes)
{
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) ==
            static_cast<size_t>(bytes.size()) &&
        std::fflush(stdout) == 0)
        return true;
    std::fprintf(stderr, "i2kCmd: cannot write the screen text to standard output\n");
    return false;
}

} // namespace

bool writeTextOutput(const QString &target, const QByteArray &bytes)
{
    return target == u"-" ? writeStandardOutput(bytes) : writeOutput(target, bytes);
}

bool writeOutputs(const Session &session, const CommandLine &line)
{
    bool ok = true;
    if (!line.screenText.isEmpty()) {
        const QByteArray text = TextFile::encode(session.console.scrCells().screenText());
        ok = writeTextOutput(line.screenText, text) && ok;
    }
    if (!line.screenshot.isEmpty()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!session.console.surface().save(&buffer, "PNG")) {
            std::fprintf(stderr, "i2kCmd: cannot encode the screenshot\n");
            ok = false;
        } else {
            ok = writeOutput(line.screenshot, png) && ok;
        }
    }
    return ok;
}
