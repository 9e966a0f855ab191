// Command lines through the interpreter, read back from the screen and the event log.

#include "TestSession.h"
#include "foundation/TextFile.h"

#include <gtest/gtest.h>

namespace {

// The page of the commands the tests register.
const HelpPage kTestPage = {{{1, "test"}}};

TEST(Interpreter, LinesSplitAtSingleBlanksIntoWordFirstArgumentAndRest)
{
    CommandArgs a = CommandArgs::split(QStringLiteral("cmd  second  third"));
    EXPECT_EQ(a.word, QStringLiteral("cmd"));
    EXPECT_EQ(a.arg1, QString());
    EXPECT_EQ(a.rest, QStringLiteral("second  third"));
    EXPECT_EQ(a.allArgs, QStringLiteral("second  third"));
    a = CommandArgs::split(QStringLiteral("cmd one two  three "));
    EXPECT_EQ(a.arg1, QStringLiteral("one"));
    EXPECT_EQ(a.rest, QStringLiteral("two  three "));
    EXPECT_EQ(a.allArgs, QStringLiteral("one two  three"));
    a = CommandArgs::split(QStringLiteral("cmd \"a b\""));
    EXPECT_EQ(a.arg1, QStringLiteral("\"a"));
    EXPECT_EQ(a.rest, QStringLiteral("b\""));
    a = CommandArgs::split(QStringLiteral("alone"));
    EXPECT_EQ(a.word, QStringLiteral("alone"));
    EXPECT_TRUE(a.arg1.isEmpty() && a.rest.isEmpty() && a.allArgs.isEmpty());

    TestSession t;
    t->exe(QStringLiteral("write   hello"));
    EXPECT_EQ(t.row(1), QStringLiteral("hello"));
    t->exe(QStringLiteral("write ") + QString(150, u'w'));
    EXPECT_EQ(t.row(1), QString(93, u'w'));
    EXPECT_EQ(t.row(2), QString(57, u'w'));
}

TEST(Interpreter, VariablesExpandWithTheirOddRestartPosition)
{
    TestSession t;
    KeyValueStore &store = t->CF;
    store.SetValue(QStringLiteral("windir"), QStringLiteral("C:\\WINDOWS"));
    store.SetValue(QStringLiteral("a"), QStringLiteral("1"));
    store.SetValue(QStringLiteral("long"), QStringLiteral("xxxxxx%a%"));
    store.SetValue(QString(), QStringLiteral("EMPTY"));
    const Interpreter &i = t->interpreter;
    EXPECT_EQ(i.expandVariables(QStringLiteral("dir %windir%\\x")),
              QStringLiteral("dir C:\\WINDOWS\\x"));
    EXPECT_EQ(i.expandVariables(QStringLiteral("%undefined% stays")),
              QStringLiteral("%undefined% stays"));
    EXPECT_EQ(i.expandVariables(QStringLiteral("100% and 50%")), QStringLiteral("100% and 50%"));
    EXPECT_EQ(i.expandVariables(QStringLiteral("%%")), QStringLiteral("EMPTY"));
    // A value shorter than its reference moves the restart past the next "%a%".
    EXPECT_EQ(i.expandVariables(QStringLiteral("%a%%a%")), QStringLiteral("1%a%"));
    EXPECT_EQ(i.expandVariables(QStringLiteral("%a% %a%")), QStringLiteral("1 %a%"));
    EXPECT_EQ(i.expandVariables(QStringLiteral("%a%  %a%")), QStringLiteral("1  1"));
    // A longer value is searched again from inside, so a pair in its tail expands.
    EXPECT_EQ(i.expandVariables(QStringLiteral("%long%")), QStringLiteral("xxxxxx1"));
    EXPECT_EQ(i.expandVariables(QStringLiteral("%long%%a%")), QStringLiteral("xxxxxx1%a%"));
    // After an undefined name the search goes on after its closing "%".
    EXPECT_EQ(i.expandVariables(QStringLiteral("%x%a%")), QStringLiteral("%x%a%"));

    // A value that brings its own reference back grows without end: stopped as an error.
    store.SetValue(QStringLiteral("grow"), QStringLiteral("%grow%%grow%"));
    t->exe(QStringLiteral("write %grow%"));
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Out of string space (14)"));
    // The line is logged as received, before expansion.
    t->exe(QStringLiteral("write %windir%"));
    EXPECT_EQ(t.row(1), QStringLiteral("C:\\WINDOWS"));
    EXPECT_NE(t->log.text().indexOf(QStringLiteral(" - COMMAND: write %windir%\r\n")), -1);
}

TEST(Interpreter, AliasesRunTheirValueWithTheArgumentsAndStopAtDepth15)
{
    TestSession t;
    t->CF.SetValue(QStringLiteral("say"), QStringLiteral("write said:"));
    t->exe(QStringLiteral("SAY hello  there"));
    EXPECT_EQ(t.row(1), QStringLiteral("said: hello  there"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("write said: hello  there"));
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);

    t->CF.SetValue(QStringLiteral("a"), QStringLiteral("a"));
    t->exe(QStringLiteral("a"));
    EXPECT_EQ(t.row(1), QStringLiteral("Infinite loop stopped at 15 recursions"));
    EXPECT_EQ(t.rowColour(1), 255);
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
    // Sixteen records: the command itself and its fifteen expansions, then the error.
    const QStringList records = t->log.text().split(QStringLiteral("\r\n"));
    EXPECT_TRUE(
        records[0].endsWith(QStringLiteral(" - ERROR: Infinite loop stopped at 15 recursions")));
    for (int i = 1; i <= 16; ++i)
        EXPECT_TRUE(records[i].endsWith(QStringLiteral(" - COMMAND: a"))) << i;
    EXPECT_FALSE(records[17].endsWith(QStringLiteral(" - COMMAND: a")));

    // Two aliases calling each other stop the same way, and the next command starts afresh.
    t->CF.SetValue(QStringLiteral("ping"), QStringLiteral("pong"));
    t->CF.SetValue(QStringLiteral("pong"), QStringLiteral("ping"));
    t->exe(QStringLiteral("ping"));
    EXPECT_EQ(t.row(1), QStringLiteral("Infinite loop stopped at 15 recursions"));
    t->exe(QStringLiteral("say again"));
    EXPECT_EQ(t.row(1), QStringLiteral("said: again"));
}

TEST(Interpreter, LastCommandRecordsEveryLineButLastcmd)
{
    TestSession t;
    t->exe(QStringLiteral("now"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("now"));
    t->exe(QStringLiteral("LastCmd"));
    t->exe(QStringLiteral("lastcmdx whatever"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("now"));
    t->exe(QStringLiteral("undefined thing"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("undefined thing"));
    // exe hands the command word back to its caller.
    QString line = QStringLiteral("lastCMD and more");
    t->interpreter.exe(line);
    EXPECT_EQ(line, QStringLiteral("lastCMD"));
}

TEST(Interpreter, WordsThatKeepTheScreenLeaveItAndOthersClearIt)
{
    TestSession t;
    for (const char *word : {"at", "batch", "block", "box", "circle", "end", "line", "picture",
                             "pixel", "text", "text2"}) {
        t->console.DrawText(QStringLiteral("keep me"), 10);
        t->exe(QString::fromUtf8(word) + QStringLiteral(" 1,2,3"));
        EXPECT_EQ(t.row(10), QStringLiteral("keep me")) << word;
    }
    for (const char *word : {"write", "cls", "now", "notacommand"}) {
        t->console.DrawText(QStringLiteral("gone"), 10);
        t->exe(QString::fromUtf8(word));
        EXPECT_EQ(t.row(10), QString()) << word;
    }
    // The interpreter reads the fact from the table, for any command registered with it.
    t->commands.add(
        QStringLiteral("mark"),
        [](Session &s, const CommandArgs &) { s.console.DrawText(QStringLiteral("m"), 20); },
        kTestPage, {.keepsScreen = true});
    t->console.DrawText(QStringLiteral("keep me"), 10);
    t->exe(QStringLiteral("MARK"));
    EXPECT_EQ(t.row(10), QStringLiteral("keep me"));
    EXPECT_EQ(t.row(20), QStringLiteral("m"));
}

TEST(Interpreter, AWordRegisteredTwiceInUpperCaseOrWithoutUsageIsRefusedInEveryBuild)
{
    TestSession t;
    const CommandHandler nothing = [](Session &, const CommandArgs &) {};
    EXPECT_THROW(t->commands.add(QStringLiteral("write"), nothing, kTestPage), std::logic_error);
    EXPECT_THROW(t->commands.add(QStringLiteral("Shout"), nothing, kTestPage), std::logic_error);
    EXPECT_THROW(t->commands.add(QStringLiteral("nohandler"), nullptr, kTestPage),
                 std::logic_error);
    const HelpPage noUsage;
    EXPECT_THROW(t->commands.add(QStringLiteral("nousage"), nothing, noUsage), std::logic_error);
    // The first registration stands.
    t->exe(QStringLiteral("write still here"));
    EXPECT_EQ(t.row(1), QStringLiteral("still here"));
}

TEST(Interpreter, MusicCommandsNeedALoadedDatabase)
{
    TestSession t;
    t->commands.add(
        QStringLiteral("vltest"),
        [](Session &s, const CommandArgs &) { s.console.DrawText(QStringLiteral("ran"), 5); },
        kTestPage, {.needsDatabase = true});
    t->exe(QStringLiteral("vltest"));
    EXPECT_EQ(t.row(1), QStringLiteral("No valid Velmora database has been loaded"));
    EXPECT_EQ(t.rowColour(1), 255);
    EXPECT_EQ(t.row(5), QString());
    EXPECT_TRUE(
        t->log.text()
            .section(QStringLiteral("\r\n"), 0, 0)
            .endsWith(QStringLiteral(" - ERROR: No valid Velmora database has been loaded")));
    t->vld.SetValue(QStringLiteral("Artists"), QStringLiteral("1"));
    t->exe(QStringLiteral("vltest"));
    EXPECT_EQ(t.row(1), QString());
    EXPECT_EQ(t.row(5), QStringLiteral("ran"));
}

TEST(Interpreter, RunTimeErrorsAreReportedInRedOnRow2AndTheConsoleRecovers)
{
    TestSession t;
    t->console.setMode(Console::Mode::AliasExpansion); // as in an alias's command
    t->console.setFace(GlyphCache::Face::Arrows);
    // Text long enough to wrap past row 37.
    t->exe(QStringLiteral("write ") + QString(93 * 37 + 1, u'e'));
    const QString message = QStringLiteral("An error has occurred: Subscript out of range (9)");
    EXPECT_EQ(t.row(2), message); // the rest of its row blanked, so no older text reads on
    EXPECT_EQ(t.rowColour(2), 255);
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
    EXPECT_EQ(t.row(3), QString(93, u'e')); // drawn before the failure, left as it was
    // The font is the console's again: the next text is recorded in it and readable.
    t->exe(QStringLiteral("write ok"));
    EXPECT_EQ(t.row(1), QStringLiteral("ok"));
    const QStringList records = t->log.text().split(QStringLiteral("\r\n"));
    EXPECT_TRUE(records[1].endsWith(
        QStringLiteral(" - ERROR: An error has occurred: Subscript out of range (9)")));
}

} // namespace
