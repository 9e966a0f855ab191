// i2kCmd: the console window, started from the command line.

#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/MprisService.h"
#include "app/RemoteControl.h"
#include "session/ConsoleRemote.h"
#include "app/ScriptRunner.h"
#include "session/Session.h"
#include "controller/Lifecycle.h"

#include <QApplication>
#include <QDBusConnection>
#include <cstdio>
#include <optional>

namespace {

// The usage, the version or a mistake in the arguments: said, and the run ends.
std::optional<int> answeredAtOnce(const CommandLine &line)
{
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
    return std::nullopt;
}

// The desktop's media controls get the players only from a window a person uses: a run
// without a display of its own (offscreen, as scripts and tests run) stays off the session
// bus, unless I2KCMD_MPRIS is 1; I2KCMD_MPRIS=0 keeps any run off it.
bool offersMediaControls(const QString &platform)
{
    const QByteArray wanted = qgetenv("I2KCMD_MPRIS");
    if (!wanted.isEmpty())
        return wanted == "1";
    return platform != u"offscreen" && platform != u"minimal";
}

} // namespace

int main(int argc, char *argv[])
{
    // Qt aborts when it finds no display, so the arguments are read before it starts: the
    // usage and the version need none, and a run that only automates needs no screen.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    bool platformGiven = false;
    const CommandLine early =
        CommandLine::parse(CommandLine::withoutQtOptions(arguments, &platformGiven));
    const bool display = platformGiven || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
                         !qEnvironmentVariableIsEmpty("DISPLAY") ||
                         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // With a display a mistake is left to the second reading, which knows every Qt option.
    if (early.error.isEmpty() || !display) {
        if (const std::optional<int> code = answeredAtOnce(early))
            return *code;
    }
    // The lines go to the console already running; this run needs no display of its own.
    if (early.remote && early.error.isEmpty())
        return RemoteControl::send(early.remoteLines, early.screenText);
    if (!display) {
        if (!early.quitsAfterSteps()) {
            std::fprintf(stderr, "i2kCmd: no display (DISPLAY and WAYLAND_DISPLAY are not set); "
                                 "use -platform offscreen to run without one\n");
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("i2kCmd"));
    // Desktops match the window to its launcher entry (and icon) by this name.
    QApplication::setDesktopFileName(QString::fromLatin1(MprisService::kDesktopEntry));
    QApplication::setApplicationVersion(Options::CV());

    const CommandLine line = CommandLine::parse(QApplication::arguments().mid(1));
    if (const std::optional<int> code = answeredAtOnce(line))
        return *code;

    const QString audioOutput =
        line.audioOutput.isEmpty() ? qEnvironmentVariable("I2KCMD_AUDIO_OUTPUT") : line.audioOutput;
    Session session({ProgramFolder::resolve(line.home), QString(), {}, audioOutput});
    for (const QString &answer : line.answers)
        session.scripted.addAnswer(answer);
    MainWindow window(session);
    window.show();
    // Copies of tracks that runs which died left behind would otherwise stay for good.
    removeAbandonedTempFolders();
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
    PlaylistRemote playlist(session);
    MprisService mpris(playlist, [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    // No session bus: the program runs as before, without a word.
    if (offersMediaControls(platform))
        mpris.registerOn(QDBusConnection::sessionBus());
    // Likewise when another console of this user already takes the lines of i2kCmd --remote.
    ConsoleRemote console(session);
    RemoteServer remote(console);
    remote.listen();
    return QApplication::exec();
}
