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

TEST_F(CommandLineTest, KeysAndAnswersDriveTheConsoleWithoutEverWaiting)
{
    ProgramRun r = run({"--keys", "text:write a\\,b,Enter", "--keys", "Menu:Browse for file...", "--answer",
                        "/tmp/picked file", "--keys", "Menu:Browse for file...", "--screen-text", "-"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 38);
    EXPECT_TRUE(lines[0].startsWith("a,b "));
    // The second dialog had no answer left: cancelled, nothing typed.
    EXPECT_EQ(lines[32].trimmed(), "COMMAND: /tmp/picked file");

    r = run({"--keys", "F5,Hyper+Q"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("unknown key 'Hyper+Q' in --keys")) << r.err.toStdString();
}

TEST_F(CommandLineTest, StartChangeQuitAndStartAgainKeepsEverything)
{
    // A person types an alias, a binding and a setting, then quits with the alias.
    ProgramRun r = run({"--keys", "text:set e exit,Enter", "--keys", "text:f5 write hi,Enter", "--keys",
                        "text:eventlog 4096,Enter", "--keys", "text:e,Enter", "--wait", "5000"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(home.filePath("set.cf")));
    EXPECT_TRUE(QFile::exists(home.filePath("playlist.dat")));
    const QString ini = config.filePath("Idrisk Tovar/Idrisk Tovar.ini");
    {
        QSettings options(ini, QSettings::IniFormat);
        // The alias ran the line it stands for, which is the last command.
        EXPECT_EQ(options.value("i2kCmd/Opt3").toString(), "exit");
        EXPECT_EQ(options.value("i2kCmd/Opt16").toString(), "4096");
        options.setValue("i2kCmd/Opt14", "my.bat");
    }

    r = run({"--keys", "F5", "--exec", "write %nothing%", "--keys", "F5", "--screen-text", "-"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("hi "));
    {
        QSettings options(ini, QSettings::IniFormat);
        EXPECT_EQ(options.value("i2kCmd/Opt16").toString(), "4096");
        // Another program version: the options with defaults go back to them, the rest stay.
        options.setValue("i2kCmd/Opt17", "0.0.0-older");
    }
    r = run({"--quit"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QSettings options(ini, QSettings::IniFormat);
    EXPECT_EQ(options.value("i2kCmd/Opt16").toString(), "1048576");
    EXPECT_EQ(options.value("i2kCmd/Opt14").toString(), "my.bat");
    EXPECT_NE(options.value("i2kCmd/Opt17").toString(), "0.0.0-older");
}

TEST_F(CommandLineTest, AnswersDecideTheBatchWarningsOfAHeadlessRun)
{
    QFile batch(home.filePath("risky.txt"));
    ASSERT_TRUE(batch.open(QIODevice::WriteOnly));
    batch.write("set first 1\r\nset second 2\r\nset third 3");
    batch.close();
    // Yes, then No, then no answer left: No.
    const ProgramRun r = run({"--answer", "yes", "--answer", "no", "--exec", "batch " + batch.fileName(), "--wait",
                              "500", "--quit"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile store(home.filePath("set.cf"));
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    const QByteArray text = store.readAll();
    EXPECT_TRUE(text.contains("first=1"));
    EXPECT_FALSE(text.contains("second"));
    EXPECT_FALSE(text.contains("third"));
}

} // namespace
