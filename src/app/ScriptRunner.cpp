#include "app/ScriptRunner.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "session/Session.h"

#include <QEventLoop>
#include <QFile>
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

bool writeOutputs(const Session &session, const CommandLine &line)
{
    bool ok = true;
    if (!line.screenText.isEmpty()) {
        const QByteArray text = TextFile::encode(session.console.scrCells().screenText());
        if (line.screenText == u"-") {
            std::fwrite(text.constData(), 1, text.size(), stdout);
            std::fflush(stdout);
        } else {
            try {
                TextFile::save(line.screenText, text);
            } catch (const RuntimeError &error) {
                std::fprintf(stderr, "i2kCmd: cannot write %s: %s\n", qPrintable(line.screenText),
                             error.what());
                ok = false;
            }
        }
    }
    if (!line.screenshot.isEmpty() && !session.console.surface().save(line.screenshot, "PNG")) {
        std::fprintf(stderr, "i2kCmd: cannot write %s\n", qPrintable(line.screenshot));
        ok = false;
    }
    return ok;
}
