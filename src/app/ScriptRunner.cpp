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

// Through the file guard: a regular file is replaced atomically, a FIFO, device or "-"
// (standard output) is written into.
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

} // namespace

bool writeOutputs(const Session &session, const CommandLine &line)
{
    bool ok = true;
    if (!line.screenText.isEmpty())
        ok = writeOutput(line.screenText,
                         TextFile::encode(session.console.scrCells().screenText())) &&
             ok;
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
