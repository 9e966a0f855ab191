// The command-line entry, run on the real executable.

#include "app/CommandLine.h"

#include <QDir>
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

enum class Display { Offscreen, None };

ProgramRun runProgram(const QStringList &arguments, const QString &home, const QString &configHome,
                      Display display = Display::Offscreen)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.remove(QStringLiteral("I2KCMD_HOME"));
    QStringList all = {QStringLiteral("--home"), home};
    if (display == Display::Offscreen) {
        all.prepend(QStringLiteral("offscreen"));
        all.prepend(QStringLiteral("-platform"));
    } else {
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
    }
    process.setProcessEnvironment(env);
    all += arguments;
    process.start(QStringLiteral(I2KCMD_EXE), all);
    EXPECT_TRUE(process.waitForFinished(30000));
    // A crash (Qt aborts when it finds no display) is never a valid end.
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit)
        << process.readAllStandardError().toStdString();
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

class CommandLineTest : public ::testing::Test
{
protected:
    QTemporaryDir home;
    QTemporaryDir config;
    ProgramRun run(const QStringList &arguments)
    {
        return runProgram(arguments, home.path(), config.path());
    }
    ProgramRun runWithoutDisplay(const QStringList &arguments)
    {
        return runProgram(arguments, home.path(), config.path(), Display::None);
    }
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
    const ProgramRun r = run({"--exec", "write one", "--wait", "50", "--exec", "eventlog 4096",
                              "--exec", "write two", "--screenshot", shot, "--screen-text",
                              home.filePath("screen.txt"), "--quit"});
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
    ProgramRun r =
        run({"--keys", "text:write a\\,b,Enter", "--keys", "Menu:Browse for file...", "--answer",
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
    ProgramRun r =
        run({"--keys", "text:set e exit,Enter", "--keys", "text:f5 write hi,Enter", "--keys",
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
    const ProgramRun r = run({"--answer", "yes", "--answer", "no", "--exec",
                              "batch " + batch.fileName(), "--wait", "500", "--quit"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile store(home.filePath("set.cf"));
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    const QByteArray text = store.readAll();
    EXPECT_TRUE(text.contains("first=1"));
    EXPECT_FALSE(text.contains("second"));
    EXPECT_FALSE(text.contains("third"));
}

TEST_F(CommandLineTest, WithoutADisplayOnlyAPlainStartRefusesToRun)
{
    ProgramRun r = runWithoutDisplay({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("Usage: i2kCmd")) << r.out.toStdString();
    // Qt's own options are known before Qt starts.
    r = runWithoutDisplay({"-platform", "xcb", "--style=fusion", "-reverse", "--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("i2kCmd ")) << r.out.toStdString();
    r = runWithoutDisplay({"--frobnicate"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("unknown option '--frobnicate'"));

    // One that would wait for a person says why it cannot, and starts nothing.
    r = runWithoutDisplay({"--exec", "write hello"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("i2kCmd: no display")) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(QDir(home.path()).isEmpty());

    // A run that ends by itself needs no screen: it runs and shuts down as usual.
    r = runWithoutDisplay({"--exec", "write no screen", "--screen-text", "-"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("no screen ")) << r.out.toStdString();
    r = runWithoutDisplay({"--exec", "eventlog 4096", "--quit"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QSettings options(config.filePath("Idrisk Tovar/Idrisk Tovar.ini"), QSettings::IniFormat);
    EXPECT_EQ(options.value("i2kCmd/Opt16").toString(), "4096");
}

TEST(CommandLine, QtOptionsAreTakenOutWithTheirValues)
{
    bool platform = true;
    EXPECT_EQ(CommandLine::withoutQtOptions({"--exec", "write hi", "-style", "fusion", "--reverse",
                                             "-qwindowtitle=x", "--quit"},
                                            &platform),
              QStringList({"--exec", "write hi", "--quit"}));
    EXPECT_FALSE(platform);
    EXPECT_EQ(CommandLine::withoutQtOptions({"--platform", "offscreen", "--home", "h"}, &platform),
              QStringList({"--home", "h"}));
    EXPECT_TRUE(platform);
    // An option Qt would take a value for, given last without one, is left for the error.
    EXPECT_EQ(CommandLine::withoutQtOptions({"-platform"}, &platform), QStringList({"-platform"}));
    EXPECT_FALSE(platform);
}

} // namespace
