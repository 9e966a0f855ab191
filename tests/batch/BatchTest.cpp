// Batch files run through `batch`, their timers on a clock the tests move by hand.

#include "TestSession.h"
#include "foundation/TextFile.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class BatchTest : public ::testing::Test
{
protected:
    TestSession t;

    QString writeBatch(const QString &name, const QByteArray &text)
    {
        const QString path = t.file(name);
        TextFile::save(path, text);
        return path;
    }
    // The commands in the event log, oldest first, without the time stamps.
    QStringList logged()
    {
        QStringList entries;
        for (const QString &line : t->log.text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            entries.prepend(line.section(QStringLiteral(" - "), 1));
        return entries;
    }
    QString fifo()
    {
        const QString path = t.file(QStringLiteral("fifo"));
        if (!QFile::exists(path)) {
            EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        return path;
    }
    // Moves the clock a millisecond at a time until the condition holds, for at most a minute.
    bool advanceUntil(const std::function<bool()> &done)
    {
        for (int ms = 0; ms < 60000 && !done(); ++ms)
            t.wait(1);
        return done();
    }
    bool finished()
    {
        return advanceUntil([&] { return !t->batch.running(); });
    }
};

TEST_F(BatchTest, LinesRunInOrderOnlyAtThePromptAndTheBatchEnds)
{
    const QString path =
        writeBatch(QStringLiteral("three.txt"), "write one\r\nwrite two\r\nwrite three");
    t.exe({QStringLiteral("batch ") + path});
    EXPECT_TRUE(t->batch.running());
    EXPECT_EQ(t->opt[Options::LastBatchFile], path);
    // Keys other than Break do nothing while it runs.
    t.keys(QStringLiteral("text:abc"));
    EXPECT_EQ(t->console.cmdText, QString());
    ASSERT_TRUE(finished());
    EXPECT_EQ(logged().mid(1), QStringList({QStringLiteral("COMMAND: write one"),
                                            QStringLiteral("COMMAND: write two"),
                                            QStringLiteral("COMMAND: write three")}));
    EXPECT_EQ(t.row(1), QStringLiteral("three"));
    EXPECT_FALSE(t->batch.linesRunning());
    t.keys(QStringLiteral("text:abc"));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("abc"));
}

TEST_F(BatchTest, LineEndsDecideTheLines)
{
    // An empty file, and a missing one (made, empty): nothing runs, no message.
    t.exe({QStringLiteral("batch ") + writeBatch(QStringLiteral("empty.txt"), "")});
    ASSERT_TRUE(finished());
    const QString missing = t.file(QStringLiteral("missing.txt"));
    t.exe({QStringLiteral("batch ") + missing});
    ASSERT_TRUE(finished());
    EXPECT_TRUE(QFile::exists(missing));
    EXPECT_EQ(logged().size(), 2);

    // CR LF and a lone LF both end a line; empty lines and the final line end run nothing,
    // so no "not defined" message clears the screen.
    t.exe({QStringLiteral("batch ") +
           writeBatch(QStringLiteral("crlf.txt"), "write a\r\n\r\nwrite b\r\n")});
    ASSERT_TRUE(finished());
    EXPECT_EQ(logged().mid(3), QStringList({QStringLiteral("COMMAND: write a"),
                                            QStringLiteral("COMMAND: write b")}));
    t.exe({QStringLiteral("batch ") +
           writeBatch(QStringLiteral("lf.txt"), "write c\n\nblock 1,1,red\nwrite d\n")});
    ASSERT_TRUE(finished());
    EXPECT_EQ(logged().mid(6), QStringList({QStringLiteral("COMMAND: write c"),
                                            QStringLiteral("COMMAND: block 1,1,red"),
                                            QStringLiteral("COMMAND: write d")}));
    EXPECT_EQ(t.row(1), QStringLiteral("d"));
    // A CR alone is no line end.
    t.exe({QStringLiteral("batch ") + writeBatch(QStringLiteral("cr.txt"), "write e\rwrite f")});
    ASSERT_TRUE(finished());
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("write e\rwrite f"));
}

TEST_F(BatchTest, MessagesForBatchInABatchAndAtOrEndAtThePrompt)
{
    t.exe({QStringLiteral("at 100 write x")});
    EXPECT_EQ(t.row(2),
              QStringLiteral("The 'at' command can only be used as part of a batch program."));
    EXPECT_EQ(t.rowColour(2), 255);
    t.exe({QStringLiteral("end")});
    EXPECT_EQ(t.row(2),
              QStringLiteral("The 'end' command can only be used as part of a batch program."));
    EXPECT_EQ(t->batch.timedCommands().size() - 1, -1);

    const QString inner = writeBatch(QStringLiteral("inner.txt"), "write inner");
    const QString outer = writeBatch(QStringLiteral("outer.txt"),
                                     ("batch " + inner + "\r\nwrite still going").toUtf8());
    t.exe({QStringLiteral("batch ") + outer});
    ASSERT_TRUE(finished());
    EXPECT_TRUE(logged().contains(QStringLiteral("ERROR: Batch file already running")));
    EXPECT_EQ(logged().last(), QStringLiteral("COMMAND: write still going"));
    EXPECT_FALSE(logged().contains(QStringLiteral("COMMAND: write inner")));
}

TEST_F(BatchTest, TimedCommandsFireInDueOrderAndTheBatchRunsUntilBreak)
{
    const QString path =
        writeBatch(QStringLiteral("timed.txt"),
                   "at 200 write second\r\nat 0 write first\r\nat 200 write third\r\n"
                   "at 200 write third\r\nat 250 text 1,5,red,a, b");
    t.exe({QStringLiteral("batch ") + path});
    ASSERT_TRUE(advanceUntil([&] { return t->batch.clock() > 300; }));
    // The lines are done but the clock goes on: the batch keeps running until Break.
    EXPECT_TRUE(t->batch.running());
    EXPECT_FALSE(t->batch.linesRunning());
    EXPECT_TRUE(t->batch.clockRunning());
    QStringList fired;
    for (const QString &entry : logged())
        if (entry.startsWith(QStringLiteral("COMMAND: write")) ||
            entry.startsWith(QStringLiteral("COMMAND: text")))
            fired.append(entry.mid(9));
    EXPECT_EQ(fired, QStringList({QStringLiteral("write first"), QStringLiteral("write second"),
                                  QStringLiteral("write third"), QStringLiteral("write third"),
                                  QStringLiteral("text 1,5,red,a, b")}));
    EXPECT_EQ(t.row(5), QStringLiteral("a"));
    // Fired entries stay in the table, emptied.
    EXPECT_EQ(t->batch.timedCommands().size() - 1, 4);
    EXPECT_EQ(t->batch.timedCommands()[0].due, QStringLiteral("0"));

    t.keys(QStringLiteral("Break"));
    EXPECT_FALSE(t->batch.running());
    EXPECT_FALSE(t->batch.clockRunning());
}

TEST_F(BatchTest, EndStopsTheClockAndLaterLinesStillRun)
{
    const QString path =
        writeBatch(QStringLiteral("end.txt"), "at 500 write never\r\nend\r\nwrite after");
    t.exe({QStringLiteral("batch ") + path});
    ASSERT_TRUE(finished());
    t.wait(700);
    EXPECT_EQ(logged().last(), QStringLiteral("COMMAND: write after"));
    EXPECT_FALSE(logged().contains(QStringLiteral("COMMAND: write never")));

    // A line that fails after `end` does not start the clock again: nothing pending fires
    // and the batch ends with its last line.
    t.exe({QStringLiteral("batch ") + writeBatch(QStringLiteral("end-fail.txt"),
                                                 "at 100 write never either\r\nend\r\nbox 1,2")});
    ASSERT_TRUE(finished());
    t.wait(300);
    EXPECT_FALSE(logged().contains(QStringLiteral("COMMAND: write never either")));
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Type mismatch (13)"));
    // A later `at` starts it again, as `at` always does.
    t.exe({QStringLiteral("batch ") +
           writeBatch(QStringLiteral("end-at.txt"),
                      "at 5000 write old\r\nend\r\nat 0 write new\r\nat 0 end")});
    ASSERT_TRUE(finished());
    EXPECT_TRUE(logged().contains(QStringLiteral("COMMAND: write new")));
    EXPECT_FALSE(logged().contains(QStringLiteral("COMMAND: write old")));

    // end fired by the clock after the last line finishes the batch at once.
    t.exe({QStringLiteral("batch ") +
           writeBatch(QStringLiteral("late-end.txt"), "at 0 write fired\r\nat 100 end")});
    ASSERT_TRUE(finished());
    EXPECT_TRUE(logged().contains(QStringLiteral("COMMAND: write fired")));
}

TEST_F(BatchTest, APagerLineHoldsTheBatchUntilEscape)
{
    const QString path = writeBatch(QStringLiteral("pager.txt"),
                                    "at 60000 write much later\r\noptvars\r\nwrite after");
    t.exe({QStringLiteral("batch ") + path});
    ASSERT_TRUE(advanceUntil([&] { return t->console.mode() == Console::Mode::Pager; }));
    t.wait(150);
    EXPECT_NE(logged().last(), QStringLiteral("COMMAND: write after"));
    EXPECT_FALSE(t->batch.clockRunning());
    // The pager keys work while the batch waits.
    t.keys(QStringLiteral("End,Escape"));
    EXPECT_TRUE(t->batch.clockRunning());
    ASSERT_TRUE(advanceUntil([&] { return logged().last() == QStringLiteral("COMMAND: write after"); }));
    t.keys(QStringLiteral("Break"));
}

TEST_F(BatchTest, RiskyLinesAskAndErrorsDoNotStopTheBatch)
{
    t.answer(QStringLiteral("no"));
    t.answer(QStringLiteral("yes"));
    const QString path = writeBatch(QStringLiteral("ask.txt"),
                                    "set x 1\r\nset y 2\r\nbox 1,2\r\nwrite after the error");
    t.exe({QStringLiteral("batch ") + path});
    ASSERT_TRUE(finished());
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("x")), KeyValueStore::kNotFound);
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("y")), QStringLiteral("2"));
    ASSERT_EQ(t->scripted.questions().size(), 2);
    EXPECT_TRUE(t->scripted.questions()[0].contains(QStringLiteral("\r\n\r\nset x 1\r\n\r\n")));
    EXPECT_TRUE(
        logged().contains(QStringLiteral("ERROR: An error has occurred: Type mismatch (13)")));
    EXPECT_EQ(logged().last(), QStringLiteral("COMMAND: write after the error"));
    // Typed, the same command asks nothing.
    t.exe({QStringLiteral("set z 3")});
    EXPECT_EQ(t->scripted.questions().size(), 2);
}

TEST_F(BatchTest, BreakStopsLinesAndTimedCommands)
{
    QByteArray text = "at 1000 write late\r\n";
    for (int i = 0; i < 5000; ++i)
        text += "write line " + QByteArray::number(i) + "\r\n";
    t.exe({QStringLiteral("batch ") + writeBatch(QStringLiteral("long.txt"), text)});
    ASSERT_TRUE(advanceUntil([&] { return t->batch.currentLine() > 3; }));
    t.keys(QStringLiteral("Break"));
    const qsizetype stoppedAt = t->batch.currentLine();
    t.wait(1200);
    EXPECT_EQ(t->batch.currentLine(), stoppedAt);
    EXPECT_FALSE(logged().contains(QStringLiteral("COMMAND: write late")));
    EXPECT_FALSE(t->batch.linesRunning());
    EXPECT_FALSE(t->batch.clockRunning());
}

TEST_F(BatchTest, FilesThatCannotBeReadLeaveTheBatchIdle)
{
    const std::pair<QString, QString> table[] = {
        {QString(), QStringLiteral("Bad file name or number (52)")},
        {t.file(QStringLiteral("no/such/folder/x.txt")), QStringLiteral("Path not found (76)")},
        {t.home(), QStringLiteral("Path/File access error (75)")},
        // Never opened: reading a device or a FIFO would run out of memory or hang.
        {QStringLiteral("/dev/zero"), QStringLiteral("Device unavailable (68)")},
        {fifo(), QStringLiteral("Device unavailable (68)")},
    };
    for (const auto &[name, error] : table) {
        t.exe({QStringLiteral("cls"), QStringLiteral("batch ") + name});
        EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: ") + error)
            << name.toStdString();
        EXPECT_FALSE(t->batch.running());
        t.keys(QStringLiteral("text:x,Escape"));
    }
}

TEST_F(BatchTest, DueTimesThatAreNoNumberAndAFullTable)
{
    t.exe({QStringLiteral("batch ") +
           writeBatch(QStringLiteral("bad.txt"), "at soon write never\r\nat 0 write ok")});
    ASSERT_TRUE(advanceUntil([&] { return logged().contains(QStringLiteral("COMMAND: write ok")); }));
    EXPECT_TRUE(
        logged().contains(QStringLiteral("ERROR: An error has occurred: Type mismatch (13)")));
    EXPECT_FALSE(logged().contains(QStringLiteral("COMMAND: write never")));
    // Reported once: the entry is dropped.
    t.wait(250);
    EXPECT_EQ(logged().count(QStringLiteral("ERROR: An error has occurred: Type mismatch (13)")),
              1);
    t.keys(QStringLiteral("Break"));

    // Past 32001 timed commands a further at fails; those scheduled keep their places.
    Batch &batch = t->batch;
    batch.initbatch(t.file(QStringLiteral("fill.txt")));
    while (batch.timedCommands().size() - 1 < Batch::kTimedCapacity - 1)
        batch.at(QStringLiteral("99999999"), QStringLiteral("write x"));
    t.exe({QStringLiteral("at 1 write one too many")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Subscript out of range (9)"));
    EXPECT_EQ(batch.timedCommands().size() - 1, Batch::kTimedCapacity - 1);
    EXPECT_EQ(batch.timedCommands().last().command, QStringLiteral("write x"));
    batch.stopbatch();
}

// A question's nested event loop (a real message box runs one) must not run timed
// commands or further lines while it is open.
TEST_F(BatchTest, NothingOfTheBatchRunsWhileAQuestionIsOpen)
{
    class SlowDesktop : public ScriptedDesktop
    {
    public:
        explicit SlowDesktop(TestSession &t) : m_t(t) {}
        bool askYesNo(const QString &, const QString &) override
        {
            const QString before = m_t->opt[Options::LastCommand];
            m_t.wait(400);
            changedWhileOpen = m_t->opt[Options::LastCommand] != before;
            return true;
        }
        bool changedWhileOpen = false;

    private:
        TestSession &m_t;
    } desktop(t);
    t->setDesktop(&desktop);
    t.exe({QStringLiteral("batch ") +
           writeBatch(QStringLiteral("modal.txt"),
                      "at 0 write timed\r\nat 100 write timed later\r\nset x 1\r\nwrite next")});
    ASSERT_TRUE(
        advanceUntil([&] { return logged().contains(QStringLiteral("COMMAND: write timed later")); }));
    EXPECT_FALSE(desktop.changedWhileOpen);
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("x")), QStringLiteral("1"));
    // The log was saved before the question: the line that asked is in the file.
    EXPECT_TRUE(TextFile::read(t->log.path()).contains(QStringLiteral(" - COMMAND: set x 1\r\n")));
    t.keys(QStringLiteral("Break"));
    t->setDesktop(nullptr);
}

} // namespace
