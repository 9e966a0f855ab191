// The command-line entry, run on the real executable.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

ProgramRun runProgram(const QStringList &arguments, const QString &home, const QString &configHome)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.remove(QStringLiteral("I2KCMD_HOME"));
    process.setProcessEnvironment(env);
    QStringList all = {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--home"), home};
    all += arguments;
    process.start(QStringLiteral(I2KCMD_EXE), all);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

class CommandLineTest : public ::testing::Test
{
protected:
    QTemporaryDir home;
    QTemporaryDir config;
    ProgramRun run(const QStringList &arguments) { return runProgram(arguments, home.path(), config.path()); }
};

TEST_F(CommandLineTest, ScreenTextToStandardOutputHas37RowsOf94Characters)
{
    const ProgramRun r = run({"--exec", "write hello", "--screen-text", "-"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 38); // 37 lines each ended by CR LF, then nothing
    EXPECT_TRUE(lines.last().isEmpty());
    for (int i = 0; i < 37; ++i) {
        ASSERT_EQ(lines[i].size(), 95) << "line " << i; // 94 characters and the CR
        EXPECT_TRUE(lines[i].endsWith('\r'));
    }
    EXPECT_TRUE(lines[0].startsWith("hello "));
    EXPECT_EQ(lines[32].mid(3, 9), "COMMAND: ");
}

TEST_F(CommandLineTest, StepsRunInOrderAndQuitSavesOptionsAndLog)
{
    const QString shot = home.filePath("shot.png");
    const ProgramRun r = run({"--exec", "write one", "--wait", "50", "--exec", "eventlog 4096", "--exec", "write two",
                       "--screenshot", shot, "--screen-text", home.filePath("screen.txt"), "--quit"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile screen(home.filePath("screen.txt"));
    ASSERT_TRUE(screen.open(QIODevice::ReadOnly));
    EXPECT_TRUE(screen.readLine().startsWith("two "));
    QImage image(shot);
    EXPECT_EQ(image.size(), QSize(1024, 768));

    QFile log(home.filePath("eventlog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> records = log.readAll().split('\n');
    ASSERT_GE(records.size(), 4);
    EXPECT_TRUE(records[0].contains(" - COMMAND: write two"));
    EXPECT_TRUE(records[1].contains(" - COMMAND: eventlog 4096"));
    EXPECT_TRUE(records[2].contains(" - COMMAND: write one"));
    EXPECT_TRUE(records[3].contains(" - COMMAND: about"));

    QSettings options(config.filePath("Idrisk Tovar/Idrisk Tovar.ini"), QSettings::IniFormat);
    EXPECT_EQ(options.value("i2kCmd/Opt16").toString(), "4096");
    EXPECT_EQ(options.value("i2kCmd/Opt3").toString(), "write two");
}

TEST_F(CommandLineTest, UnknownOptionAndBadWaitGiveUsageAndExitCode2)
{
    ProgramRun r = run({"--frobnicate"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("unknown option '--frobnicate'"));
    EXPECT_TRUE(r.err.contains("Usage: i2kCmd"));
    r = run({"--wait", "soon"});
    EXPECT_EQ(r.exitCode, 2);
    r = run({"--exec"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("--exec needs a value"));
}

TEST_F(CommandLineTest, ExitCommandEndsTheRunThroughShutDown)
{
    const ProgramRun r = run({"--exec", "exit", "--exec", "write never"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile log(home.filePath("eventlog.txt"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_TRUE(text.contains("COMMAND: exit"));
    EXPECT_FALSE(text.contains("write never"));
    QSettings options(config.filePath("Idrisk Tovar/Idrisk Tovar.ini"), QSettings::IniFormat);
    EXPECT_EQ(options.value("i2kCmd/Opt3").toString(), "exit");
}

} // namespace
