#include "app/CommandLine.h"

namespace {

// Qt's options (QGuiApplication, QApplication and the X11 platform), written with one dash
// or two, as Qt accepts them.
const QStringList kQtOptionsWithValue = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowtitle"),
    QStringLiteral("qwindowicon"),     QStringLiteral("geometry"),
    QStringLiteral("title"),           QStringLiteral("icon"),
    QStringLiteral("display"),         QStringLiteral("session"),
    QStringLiteral("style"),           QStringLiteral("stylesheet"),
    QStringLiteral("qmljsdebugger")};
const QStringList kQtFlags = {QStringLiteral("reverse"),     QStringLiteral("testability"),
                              QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                              QStringLiteral("dograb"),      QStringLiteral("sync")};

// What is wrong with a --remote command line, or nothing: it takes lines and --screen-text
// only, and a line is one line.
QString remoteError(const CommandLine &line)
{
    if (line.remoteLines.isEmpty())
        return QStringLiteral("--remote needs at least one command line");
    for (const QString &text : line.remoteLines) {
        if (text.contains(u'\n') || text.contains(u'\r'))
            return QStringLiteral("a command line for --remote cannot hold a line break");
    }
    if (!line.home.isEmpty() || !line.audioOutput.isEmpty() || !line.steps.isEmpty() ||
        !line.answers.isEmpty() || !line.screenshot.isEmpty() || line.quit || line.help ||
        line.version)
        return QStringLiteral("--remote takes only command lines and --screen-text");
    return {};
}

} // namespace

QStringList CommandLine::withoutQtOptions(const QStringList &arguments, bool *platformGiven)
{
    if (platformGiven)
        *platformGiven = false;
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        QString name = argument;
        if (name.startsWith(u"--"))
            name.remove(0, 2);
        else if (name.startsWith(u'-'))
            name.remove(0, 1);
        else {
            kept.append(argument);
            continue;
        }
        const qsizetype equals = name.indexOf(u'=');
        if (kQtFlags.contains(name) ||
            (equals > 0 && kQtOptionsWithValue.contains(name.left(equals))))
            continue;
        if (kQtOptionsWithValue.contains(name) && i + 1 < arguments.size()) {
            if (name == u"platform" && platformGiven)
                *platformGiven = true;
            ++i;
            continue;
        }
        kept.append(argument);
    }
    return kept;
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &option = arguments[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= arguments.size()) {
                line.error = QStringLiteral("%1 needs a value").arg(option);
                return {};
            }
            return arguments[++i];
        };
        if (option == u"--home") {
            line.home = value();
        } else if (option == u"--audio-output") {
            line.audioOutput = value();
        } else if (option == u"--exec") {
            line.steps.append({Step::Kind::Exec, value(), {}});
        } else if (option == u"--keys") {
            const QString sequence = value();
            QString error;
            const std::optional<QList<KeyAction>> keys = KeyScript::parse(sequence, &error);
            if (line.error.isEmpty() && !keys)
                line.error = error;
            line.steps.append({Step::Kind::Keys, sequence, keys.value_or(QList<KeyAction>())});
        } else if (option == u"--answer") {
            line.answers.append(value());
        } else if (option == u"--wait") {
            const QString ms = value();
            bool ok = false;
            const int wait = ms.toInt(&ok);
            if (line.error.isEmpty() && (!ok || wait < 0))
                line.error =
                    QStringLiteral("--wait needs a number of milliseconds, not '%1'").arg(ms);
            line.steps.append({Step::Kind::Wait, ms, {}});
        } else if (option == u"--screen-text") {
            line.screenText = value();
        } else if (option == u"--screenshot") {
            line.screenshot = value();
        } else if (option == u"--quit") {
            line.quit = true;
        } else if (option == u"--remote") {
            line.remote = true;
            // Every argument up to --screen-text is a line, whatever it starts with.
            while (i + 1 < arguments.size() && arguments[i + 1] != u"--screen-text")
                line.remoteLines.append(arguments[++i]);
        } else if (option == u"--help" || option == u"-h") {
            line.help = true;
        } else if (option == u"--version") {
            line.version = true;
        } else {
            line.error = QStringLiteral("unknown option '%1'").arg(option);
        }
        if (!line.error.isEmpty())
            break;
    }
    if (line.error.isEmpty() && line.remote)
        line.error = remoteError(line);
    return line;
}

// The usage text is laid out as printed.
// clang-format off
QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: i2kCmd [--home DIR] [--audio-output NAME] [--exec LINE]... [--keys SEQ]... [--answer TEXT]... [--wait MS]...\n"
        "              [--screen-text FILE|-] [--screenshot FILE.png] [--quit] [--help] [--version]\n"
        "       i2kCmd --remote LINE... [--screen-text FILE|-]\n"
        "\n"
        "  --home DIR            keep set.cf, playlist.dat and eventlog.txt in DIR\n"
        "  --audio-output NAME   the players' sound output, as mpv names it (null: silent);\n"
        "                        I2KCMD_AUDIO_OUTPUT does the same\n"
        "  --exec LINE           run a command line, as if typed (repeatable)\n"
        "  --keys SEQ            press keys (repeatable): comma-separated names such as F5, Alt+Q,\n"
        "                        Ctrl+V, Escape, Enter, Backspace, PageDown, PageUp, Home, End, Up,\n"
        "                        Down, Break, Menu; Menu:ENTRY picks a popup menu entry (\"Menu:Copy\n"
        "                        text\"); text:... types characters; \\, is a comma, \\\\ a backslash\n"
        "  --answer TEXT         answer the next question (repeatable, used in order): yes or no for a\n"
        "                        yes/no box, the text for an input box, the path for the file dialog;\n"
        "                        with no answer left a question counts as No or cancelled\n"
        "  --wait MS             let timers and events run for MS milliseconds (repeatable)\n"
        "  --screen-text FILE    write the console text (37 lines of 94 characters) to FILE, or - for\n"
        "                        standard output, after the steps\n"
        "  --screenshot FILE.png write the console picture after the steps\n"
        "  --quit                close through the normal shut-down after the steps\n"
        "  --remote LINE...      run the lines in the console already running for this user, as if\n"
        "                        typed there, and end; with --screen-text, write its text after\n"
        "                        them. Exit status 0 when they ran, 1 when no console is running,\n"
        "                        2 for a mistake in the arguments. A desktop hotkey can run, e.g.,\n"
        "                        i2kCmd --remote \"vlplay\"\n"
        "  --help                show this text\n"
        "  --version             show the version\n"
        "\n"
        "--exec, --keys and --wait run in the order given. With --screen-text or --screenshot the program\n"
        "quits after writing them. Qt's own options (such as -platform offscreen) are accepted too; with no\n"
        "display, a run that ends by itself (--screen-text, --screenshot, --quit) needs none of them.\n");
}
// clang-format on
