// i2kCmd --remote against a console running on its own, in a private runtime folder: lines
// run there with the batch's question rules, its text comes back, a missing console is exit
// 1, and a socket or a client of another user is refused.

#include "EventLoop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

struct Sent
{
    int exitCode;
    QString out;
    QString err;
};

// A private HOME, XDG folders and runtime folder, owned by the user who runs in them.
class PrivateFolders
{
public:
    explicit PrivateFolders(uid_t owner = geteuid())
    {
        for (const char *name : {"home", "config", "data", "runtime"}) {
            const QString path = m_root.filePath(QString::fromLatin1(name));
            QDir().mkpath(path);
            ::chmod(QFile::encodeName(path).constData(), 0700);
            EXPECT_EQ(::chown(QFile::encodeName(path).constData(), owner, owner), 0);
        }
        if (owner != geteuid()) {
            EXPECT_EQ(::chmod(QFile::encodeName(m_root.path()).constData(), 0755), 0);
        }
    }
    QString path(const char *name) const { return m_root.filePath(QString::fromLatin1(name)); }
    QString socket() const { return path("runtime") + QStringLiteral("/i2kCmd.socket"); }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), path("home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("runtime"));
        env.insert(QStringLiteral("I2KCMD_AUDIO_OUTPUT"), QStringLiteral("null"));
        env.insert(QStringLiteral("I2KCMD_MPRIS"), QStringLiteral("0"));
        env.remove(QStringLiteral("I2KCMD_HOME"));
        return env;
    }

private:
    QTemporaryDir m_root;
};

// A program run as the given user: setpriv drops root's rights for another.
void start(QProcess &process, const PrivateFolders &folders, const QStringList &arguments,
           uid_t user = geteuid())
{
    process.setProcessEnvironment(folders.environment());
    if (user == geteuid()) {
        process.start(QStringLiteral(I2KCMD_EXE), arguments);
        return;
    }
    const QString id = QString::number(user);
    process.start(QStringLiteral("setpriv"),
                  QStringList{QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id,
                              QStringLiteral("--clear-groups"), QStringLiteral(I2KCMD_EXE)} +
                      arguments);
}

Sent send(const PrivateFolders &folders, const QStringList &arguments, uid_t user = geteuid())
{
    QProcess process;
    start(process, folders, QStringList{QStringLiteral("--remote")} + arguments, user);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A console running until told to exit, listening once its socket is there.
class Console
{
public:
    Console(const PrivateFolders &folders, const QStringList &arguments, uid_t user = geteuid())
    {
        start(m_process, folders,
              QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")} + arguments,
              user);
        listening = waitFor([&] { return QFileInfo(folders.socket()).exists(); }, 20000);
    }
    ~Console()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Ended through its normal shut-down (a sanitizer's finding would be another exit code).
    bool ended()
    {
        return m_process.waitForFinished(20000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }

    bool listening = false;

private:
    QProcess m_process;
};

QString row(const QString &screen, int number)
{
    return screen.split(QStringLiteral("\r\n")).value(number - 1).trimmed();
}

TEST(RemoteControl, LinesRunInTheRunningConsoleAndItsTextComesBack)
{
    PrivateFolders folders;
    const Sent none = send(folders, {QStringLiteral("write hi")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("no console is running"))) << none.err.toStdString();

    // The console answers its first question Yes; later ones find no answer and count as No.
    Console console(folders, {QStringLiteral("--home"), folders.path("home"),
                              QStringLiteral("--answer"), QStringLiteral("yes")});
    ASSERT_TRUE(console.listening);
    struct stat made{};
    ASSERT_EQ(::stat(QFile::encodeName(folders.socket()).constData(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777, 0600u);

    // set asks first, as in a batch: Yes sets the alias, which then runs.
    Sent sent = send(folders, {QStringLiteral("set greet write hello"), QStringLiteral("greet"),
                               QStringLiteral("--screen-text"), QStringLiteral("-")});
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_EQ(row(sent.out, 1), QStringLiteral("hello"));
    EXPECT_EQ(row(sent.out, 33), QStringLiteral("COMMAND:"));
    sent = send(folders, {QStringLiteral("set other write no"), QStringLiteral("other"),
                          QStringLiteral("--screen-text"), QStringLiteral("-")});
    EXPECT_EQ(sent.exitCode, 0);
    EXPECT_EQ(row(sent.out, 1), QStringLiteral("The command 'other' has not been defined"));

    // A second console neither listens nor says so; lines still reach the first.
    {
        QProcess second;
        start(second, folders, {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                QStringLiteral("--home"), folders.path("data")});
        runFor(1500);
        EXPECT_EQ(second.state(), QProcess::Running);
        EXPECT_TRUE(second.readAllStandardError().isEmpty());
        second.kill();
        second.waitForFinished(5000);
    }

    // Mistakes in the arguments are exit 2 and reach no console.
    for (const QStringList &wrong :
         {QStringList{}, QStringList{QStringLiteral("write a\nwrite b")},
          QStringList{QStringLiteral("write a"), QStringLiteral("--screen-text")}}) {
        EXPECT_EQ(send(folders, wrong).exitCode, 2) << wrong.join(u'|').toStdString();
    }

    // A socket that others could use, or that is not the user's, is never trusted.
    const QByteArray path = QFile::encodeName(folders.socket());
    ASSERT_EQ(::chmod(path.constData(), 0666), 0);
    sent = send(folders, {QStringLiteral("write opened")});
    EXPECT_EQ(sent.exitCode, 1);
    EXPECT_TRUE(sent.err.contains(QStringLiteral("not a socket private to this user")));
    ASSERT_EQ(::chmod(path.constData(), 0600), 0);
    ASSERT_EQ(::chown(path.constData(), kNobody, kNobody), 0);
    EXPECT_EQ(send(folders, {QStringLiteral("write taken")}).exitCode, 1);
    ASSERT_EQ(::chown(path.constData(), geteuid(), getegid()), 0);

    // Requests that break the exchange are dropped unanswered, and the console goes on.
    for (const QByteArray &hostile :
         {QByteArray("hello\nend\n"), QByteArray("i2kCmd-remote 1\nwrite unmarked\nend\n"),
          QByteArray("i2kCmd-remote 1\n") + QByteArray(2 << 20, 'x') + "\nend\n"}) {
        QLocalSocket raw;
        raw.connectToServer(folders.socket());
        ASSERT_TRUE(raw.waitForConnected(5000));
        raw.write(hostile);
        raw.waitForBytesWritten(5000);
        EXPECT_TRUE(raw.state() == QLocalSocket::UnconnectedState || raw.waitForDisconnected(10000));
        EXPECT_FALSE(raw.readAll().startsWith("done")) << hostile.left(40).toStdString();
    }
    sent = send(folders, {QStringLiteral("write back"), QStringLiteral("--screen-text"),
                          QStringLiteral("-")});
    EXPECT_EQ(row(sent.out, 1), QStringLiteral("back"));
    EXPECT_EQ(send(folders, {QStringLiteral("exit")}).exitCode, 0);
    EXPECT_TRUE(console.ended());
    EXPECT_EQ(send(folders, {QStringLiteral("write gone")}).exitCode, 1);
}

// The console checks who connects: root may open any socket, yet a console of another user
// runs none of root's lines, while its own user's lines run.
TEST(RemoteControl, TheConsoleRefusesAnotherUsersClient)
{
    if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "needs root and setpriv to run a console as another user";
    PrivateFolders folders(kNobody);
    Console console(folders, {QStringLiteral("--home"), folders.path("home")}, kNobody);
    ASSERT_TRUE(console.listening);
    // Root's client refuses the socket for not being root's, so root's connection is made
    // by hand here, as a hostile client would make it.
    QProcess raw;
    raw.setProcessEnvironment(folders.environment());
    raw.start(QStringLiteral("python3"),
              {QStringLiteral("-c"),
               QStringLiteral("import socket,sys\n"
                              "s=socket.socket(socket.AF_UNIX)\n"
                              "s.connect(sys.argv[1])\n"
                              "try:\n"
                              "  s.sendall(b'i2kCmd-remote 1\\nline write ROOTLINE\\nend\\n')\n"
                              "  answer=s.recv(100)\n"
                              "except OSError:\n"
                              "  answer=b''\n"
                              "sys.stdout.write('refused' if answer==b'' else 'answered')\n"),
               folders.socket()});
    ASSERT_TRUE(raw.waitForFinished(20000));
    EXPECT_EQ(raw.readAllStandardOutput(), "refused") << raw.readAllStandardError().toStdString();

    EXPECT_EQ(send(folders, {QStringLiteral("write OWNLINE")}, kNobody).exitCode, 0);
    EXPECT_EQ(send(folders, {QStringLiteral("exit")}, kNobody).exitCode, 0);
    ASSERT_TRUE(console.ended());
    QFile log(folders.path("home") + QStringLiteral("/eventlog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray recorded = log.readAll();
    EXPECT_TRUE(recorded.contains("OWNLINE"));
    EXPECT_FALSE(recorded.contains("ROOTLINE"));
}

} // namespace
