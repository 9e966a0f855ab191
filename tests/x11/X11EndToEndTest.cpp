// End to end in a real X server: xdotool types into i2kCmd's window with real X key events,
// and what the X screen then shows of the window must be, pixel for pixel, the picture the
// offscreen platform renders for the same keys (`--keys ... --screenshot`). The cursor cell is
// left out of the comparison, as it blinks; nothing else changes with time here (the status
// line shows a track's time only while one plays, which no step does).
//
// Needs Xvfb and xdotool, which tools/install-deps.sh installs (`make test` runs it). When one
// is missing the test fails and names it: a skipped test would hide a CI machine that lost them.
// Every run of i2kCmd gets its own HOME, XDG folders and TEMP below the test's working folder.
// Every wait polls up to a deadline, so a slow machine only waits longer and nothing hangs.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 60000; // X server, window, reference run
constexpr int kShowMs = 30000;  // from the last key to the matching picture
constexpr QSize kConsole(1024, 768);
constexpr QSize kCell(11, 21);
const QString kPrompt = QStringLiteral("   COMMAND:");

// One step of the session: what xdotool does in X and the same keys for --keys.
struct Step
{
    const char *what;
    QList<QStringList> xdotool;
    QString keys;
};

QStringList typed(const char *text)
{
    return {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
            QStringLiteral("--"), QString::fromUtf8(text)};
}

QStringList key(const char *name)
{
    return {QStringLiteral("key"), QString::fromLatin1(name)};
}

const QList<Step> kSteps = {
    {"the start-up screen", {}, {}},
    {"a typed command with capitals and a comma",
     {typed("write Hello, X"), key("Return")},
     QStringLiteral("text:write Hello\\, X,Enter")},
    {"a drawing over the console",
     {typed("box 100,300,420,460,red,5,1"), key("Return")},
     QStringLiteral("text:box 100\\,300\\,420\\,460\\,red\\,5\\,1,Enter")},
    // Page Down waits for the pager: keys that come while cmd waits for its program are not
    // the pager's.
    {"a command's output in the pager",
     {typed("cmd seq 1 150"), key("Return")},
     QStringLiteral("text:cmd seq 1 150,Enter")},
    {"Page Down in the pager", {key("Next")}, QStringLiteral("PageDown")},
    {"Escape back at the prompt", {key("Escape")}, QStringLiteral("Escape")},
};

// Xvfb on the first free display, which it reports through a pipe once it accepts clients;
// ended with the test. The child dies with this process, so a killed test leaves no server.
class XServer
{
public:
    explicit XServer(const QString &log)
    {
        const QByteArray logPath = QFile::encodeName(log);
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (ready[1] == 3)
                ::fcntl(3, F_SETFD, 0);
            else
                ::dup2(ready[1], 3); // the copy is not closed on exec
            const int out = ::open(logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(out, 2);
            ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1600x1200x24", "-dpi",
                     "96", "-nolisten", "tcp", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        m_ready = ready[0];
        // The number ends with a newline; the pipe stays open for the server's life, as it
        // ends itself when it cannot write there.
        QByteArray number;
        const QDeadlineTimer deadline(kStartMs);
        pollfd wait{m_ready, POLLIN, 0};
        char c = 0;
        while (m_pid > 0 && !number.endsWith('\n') &&
               ::poll(&wait, 1, int(deadline.remainingTime())) == 1 && ::read(m_ready, &c, 1) == 1)
            number += c;
        if (number.endsWith('\n'))
            m_display = QStringLiteral(":") + QString::fromLatin1(number).trimmed();
    }
    ~XServer()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        ::close(m_ready);
    }
    QString display() const { return m_display; }

private:
    pid_t m_pid = -1;
    int m_ready = -1;
    QString m_display;
};

// Private folders for one run of i2kCmd, made below `root`.
QProcessEnvironment privateEnvironment(const QString &root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const auto folder = [&](const char *name, const char *sub) {
        const QString path = root + u'/' + QString::fromLatin1(sub);
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QString::fromLatin1(name), path);
    };
    folder("HOME", "home");
    folder("XDG_CONFIG_HOME", "config");
    folder("XDG_DATA_HOME", "data");
    folder("XDG_CACHE_HOME", "cache");
    folder("XDG_RUNTIME_DIR", "runtime");
    folder("TEMP", "temp");
    folder("TMPDIR", "temp");
    folder("I2KCMD_HOME", "program");
    env.insert(QStringLiteral("I2KCMD_AUDIO_OUTPUT"), QStringLiteral("null"));
    // No session bus: the desktop's is not the test's business, and without an address Qt's
    // X11 platform has libdbus start one, which leaks (LeakSanitizer fails the run).
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=") + root + QStringLiteral("/no-bus"));
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        env.remove(QString::fromLatin1(name));
    return env;
}

enum class Exit { MustSucceed, MayFail };

// Runs a program to its end; a run past the deadline is killed and fails.
QByteArray run(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
               Exit exit = Exit::MustSucceed)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(kStartMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(u' ').toStdString()
                      << ": no end within " << kStartMs << " ms";
        return {};
    }
    if (exit == Exit::MustSucceed) {
        EXPECT_TRUE(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            << program.toStdString() << " " << arguments.join(u' ').toStdString() << ": "
            << process.readAllStandardError().toStdString();
    }
    return process.readAllStandardOutput();
}

template <typename Check> bool waitFor(int ms, Check check)
{
    const QDeadlineTimer deadline(ms);
    while (!check()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    return true;
}

// The console picture the offscreen platform makes for these keys, and where the cursor is
// (an empty rectangle when the console is not at the prompt).
struct Reference
{
    QImage picture;
    QRect cursor;
};

Reference offscreenReference(const QString &folder, const QString &keys)
{
    const QString picture = folder + QStringLiteral("/expected.png");
    const QString text = folder + QStringLiteral("/expected.txt");
    QStringList arguments = {QStringLiteral("-platform"), QStringLiteral("offscreen")};
    if (!keys.isEmpty())
        arguments += {QStringLiteral("--keys"), keys};
    arguments += {QStringLiteral("--screenshot"), picture, QStringLiteral("--screen-text"), text};
    run(QStringLiteral(I2KCMD_EXE), arguments, privateEnvironment(folder));
    Reference reference{QImage(picture).convertToFormat(QImage::Format_RGB32), {}};
    QFile file(text);
    if (!file.open(QIODevice::ReadOnly))
        return reference;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    for (int row = lines.size() - 1; row >= 0; --row) {
        if (!lines[row].startsWith(kPrompt))
            continue;
        // The cursor follows the typed text, one blank after the prompt; it may be shown.
        QString line = lines[row];
        while (line.endsWith(u' ') || line.endsWith(u'_'))
            line.chop(1);
        const int column = std::max<int>(line.size(), kPrompt.size() + 1);
        reference.cursor = QRect(QPoint(column * kCell.width(), row * kCell.height()), kCell);
        break;
    }
    return reference;
}

// How many pixels differ outside the masked rectangle, and where.
struct Difference
{
    int pixels = 0;
    QRect bounds;
};

Difference compare(const QImage &shown, const QImage &expected, const QRect &mask)
{
    Difference d;
    if (shown.size() != expected.size())
        return {shown.width() * shown.height() + 1, shown.rect()};
    for (int y = 0; y < shown.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(expected.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            // The colour only: RGB32's top byte is unused.
            if (((a[x] ^ b[x]) & 0xffffff) == 0 || mask.contains(x, y))
                continue;
            ++d.pixels;
            d.bounds |= QRect(x, y, 1, 1);
        }
    }
    return d;
}

QString xdotool(const QStringList &arguments, Exit exit = Exit::MustSucceed)
{
    return QString::fromUtf8(run(QStringLiteral("xdotool"), arguments,
                                 QProcessEnvironment::systemEnvironment(), exit))
        .trimmed();
}

TEST(X11EndToEnd, TypedKeysShowWhatTheOffscreenRenderingShows)
{
    for (const char *tool : {"Xvfb", "xdotool"})
        ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            << tool << " is missing: tools/install-deps.sh installs it (make test runs it)";

    QTemporaryDir scratch(QDir::currentPath() + QStringLiteral("/x11-end-to-end-XXXXXX"));
    ASSERT_TRUE(scratch.isValid());
    const QString log = scratch.filePath(QStringLiteral("Xvfb.log"));
    XServer server(log);
    ASSERT_FALSE(server.display().isEmpty()) << "Xvfb did not start: see " << log.toStdString();
    // This process's own Qt connects to the server to take the screen's pictures.
    qputenv("DISPLAY", server.display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QProcessEnvironment own = privateEnvironment(scratch.filePath(QStringLiteral("test")));
    for (const char *name : {"XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS"})
        qputenv(name, QFile::encodeName(own.value(QString::fromLatin1(name))));
    int argc = 1;
    char name[] = "test_x11";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    QProcessEnvironment env = privateEnvironment(scratch.filePath(QStringLiteral("window")));
    env.insert(QStringLiteral("DISPLAY"), server.display());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(I2KCMD_EXE), {});
    ASSERT_TRUE(program.waitForStarted(kStartMs));

    QString window;
    ASSERT_TRUE(waitFor(kStartMs, [&] {
        window = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"), QStringLiteral("^idrisk2k Command$")},
                         Exit::MayFail)
                     .section(u'\n', 0, 0);
        return !window.isEmpty() || program.state() == QProcess::NotRunning;
    }));
    ASSERT_FALSE(window.isEmpty()) << "no window: " << program.readAllStandardError().toStdString();
    const QString geometry =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    const auto value = [&](const char *key) {
        for (const QString &line : geometry.split(u'\n'))
            if (line.startsWith(QString::fromLatin1(key) + u'='))
                return line.section(u'=', 1).toInt();
        return -1;
    };
    const QRect placed(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
    ASSERT_EQ(placed.size(), kConsole) << "the window is not 1:1 on a screen with room";
    xdotool({QStringLiteral("windowfocus"), window});
    ASSERT_TRUE(waitFor(kStartMs, [&] {
        return xdotool({QStringLiteral("getwindowfocus")}, Exit::MayFail) == window;
    }));

    QStringList keys;
    for (int i = 0; i < kSteps.size(); ++i) {
        const Step &step = kSteps[i];
        SCOPED_TRACE(step.what);
        if (!step.keys.isEmpty())
            keys += step.keys;
        const QString folder = scratch.filePath(QStringLiteral("step%1").arg(i));
        const Reference expected = offscreenReference(folder, keys.join(u','));
        ASSERT_EQ(expected.picture.size(), kConsole);
        for (const QStringList &action : step.xdotool)
            xdotool(action);
        QImage shown;
        Difference difference;
        const bool same = waitFor(kShowMs, [&] {
            shown = app.primaryScreen()
                        ->grabWindow(0, placed.x(), placed.y(), placed.width(), placed.height())
                        .toImage()
                        .convertToFormat(QImage::Format_RGB32);
            difference = compare(shown, expected.picture, expected.cursor);
            return difference.pixels == 0;
        });
        if (!same) {
            shown.save(folder + QStringLiteral("/shown.png"));
            scratch.setAutoRemove(false);
        }
        ASSERT_TRUE(same) << difference.pixels << " pixels differ within (" << difference.bounds.x()
                          << "," << difference.bounds.y() << ") " << difference.bounds.width()
                          << "x" << difference.bounds.height() << "; pictures kept in "
                          << folder.toStdString();
    }

    xdotool(typed("exit"));
    xdotool(key("Return"));
    ASSERT_TRUE(program.waitForFinished(kShowMs)) << "exit typed in X did not close the window";
    EXPECT_TRUE(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0)
        << program.readAllStandardError().toStdString();
}

} // namespace
