// i2kCmd: the console window, started from the command line.

#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/ScriptRunner.h"
#include "session/Session.h"
#include "settings/Lifecycle.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("i2kCmd"));
    QApplication::setApplicationVersion(Options::CV());

    const CommandLine line = CommandLine::parse(QApplication::arguments().mid(1));
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "i2kCmd: %s\n\n%s", qPrintable(line.error),
                     qPrintable(CommandLine::usage()));
        return 2;
    }
    if (line.help) {
        std::printf("%s", qPrintable(CommandLine::usage()));
        return 0;
    }
    if (line.version) {
        std::printf("i2kCmd %s\n", qPrintable(Options::CV()));
        return 0;
    }

    Session session({ProgramFolder::resolve(line.home), QString(), {}});
    for (const QString &answer : line.answers)
        session.scripted.addAnswer(answer);
    MainWindow window(session);
    window.show();
    startUp(session);
    runSteps(session, line);
    // Once the script has run, a person at a real display answers the questions.
    const QString platform = QGuiApplication::platformName();
    if (platform != u"offscreen" && platform != u"minimal")
        window.desktop().setInteractive(true);

    if (line.quitsAfterSteps() || session.closeRequested()) {
        const bool written = writeOutputs(session, line);
        window.close();
        return written ? 0 : 1;
    }
    return QApplication::exec();
}
