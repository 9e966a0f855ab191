// The event log file and the eventlog command.

#include "TestSession.h"
#include "foundation/TextFile.h"
#include "foundation/TextFileTesting.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

QStringList records(TestSession &t)
{
    return t->log.text().split(QStringLiteral("\r\n"));
}

TEST(EventLog, NewestRecordComesFirstAndErrorsFollowTheirCommand)
{
    TestSession t;
    t->log.setClock([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 30, 15)); });
    t.exe({QStringLiteral("write first"), QStringLiteral("write second"),
           QStringLiteral("nosuch  x")});
    const QStringList r = records(t);
    ASSERT_EQ(r.size(), 5); // four records and the empty text after the last CR LF
    EXPECT_TRUE(
        r[0].endsWith(QStringLiteral(" - ERROR: The command 'nosuch' has not been defined")));
    EXPECT_TRUE(r[1].endsWith(QStringLiteral(" - COMMAND: nosuch  x")));
    EXPECT_TRUE(r[2].endsWith(QStringLiteral(" - COMMAND: write second")));
    EXPECT_TRUE(r[3].endsWith(QStringLiteral(" - COMMAND: write first")));
    EXPECT_EQ(r[4], QString());
    // The general date: the locale's short date, a blank, its long time.
    const QLocale locale = QLocale::system();
    EXPECT_TRUE(r[3].startsWith(locale.toString(QDate(2026, 12, 7), QLocale::ShortFormat) + u' ' +
                                locale.toString(QTime(9, 30, 15), QLocale::LongFormat)));
    // Midnight exactly shows the date alone.
    t->log.setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(0, 0)); });
    t->exe(QStringLiteral("write x"));
    EXPECT_EQ(records(t)[0], locale.toString(QDate(2026, 12, 8), QLocale::ShortFormat) +
                                 QStringLiteral(" - COMMAND: write x"));
    // Records in the same second share its text (the first at midnight exactly keeps its own);
    // the next second has its own.
    const QString day = locale.toString(QDate(2026, 12, 8), QLocale::ShortFormat);
    for (const int ms : {0, 400, 999, 1000}) {
        t->log.setClock([ms] { return QDateTime(QDate(2026, 12, 8), QTime(0, 0).addMSecs(ms)); });
        t->exe(QStringLiteral("write y"));
        const QString time = locale.toString(QTime(0, 0, ms / 1000), QLocale::LongFormat);
        EXPECT_EQ(records(t)[0], (ms == 0 ? day : day + u' ' + time) +
                                     QStringLiteral(" - COMMAND: write y"))
            << ms;
    }
}

TEST(EventLog, TheLogIsCutToItsLimitKeepingTheNewestRecords)
{
    TestSession t;
    for (int i = 0; i < 30; ++i)
        t->exe(QStringLiteral("write a line to fill the log number %1").arg(i));
    t->exe(QStringLiteral("eventlog 600"));
    EXPECT_EQ(t.row(2), QString()); // accepted silently
    EXPECT_EQ(t->opt[Options::LogSize], QStringLiteral("600"));
    t->exe(QStringLiteral("write the newest"));
    const QString text = t->log.text();
    EXPECT_EQ(text.size(), 600);
    EXPECT_NE(text.indexOf(QStringLiteral(" - COMMAND: write the newest\r\n")), -1);
    EXPECT_LT(text.indexOf(QStringLiteral("write the newest")), 40);

    // A stored limit that is no usable number never stops the log: the default applies.
    for (const QString bad : {"abc", "3000000000", "-5"}) {
        t->opt[Options::LogSize] = bad;
        EXPECT_EQ(t->log.limit(), 1048576);
        t->exe(QStringLiteral("write still logged"));
        EXPECT_TRUE(records(t)[0].endsWith(QStringLiteral(" - COMMAND: write still logged")));
    }
}

// The messages are in tests/transcripts/eventlog-size.txt.
TEST(EventLog, ARefusedSizeIsLoggedAndAnyNumericFormSetsTheLimit)
{
    TestSession t;
    t->exe(QStringLiteral("eventlog abc"));
    EXPECT_TRUE(records(t)[0].endsWith(
        QStringLiteral(" - ERROR: Max event log size argument must be numeric")));
    EXPECT_EQ(t->log.limit(), 1048576);
    t->exe(QStringLiteral("eventlog &h800"));
    EXPECT_EQ(t->log.limit(), 2048);
}

TEST(EventLog, EventlogAloneShowsSizeLimitAndContentInThePager)
{
    TestSession t;
    t->exe(QStringLiteral("eventlog 2048"));
    t->exe(QStringLiteral("eventlog"));
    ASSERT_TRUE(t->log.save());
    const qint64 size = QFile(t->log.path()).size();
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
    QLocale locale = QLocale::system();
    locale.setNumberOptions({});
    EXPECT_EQ(t.row(1), QStringLiteral("Event Log.  Size: %1 bytes.  Max size: %2 bytes.")
                            .arg(locale.toString(size), locale.toString(2048)));
    EXPECT_EQ(t.row(2), QString());
    // The record of this very command is already in the log shown.
    EXPECT_TRUE(t.row(3).endsWith(QStringLiteral(" - COMMAND: eventlog")));
    EXPECT_TRUE(t.row(4).endsWith(QStringLiteral(" - COMMAND: eventlog 2048")));
}

TEST(EventLog, LogsWrittenOnWindowsAreReadAsWindows1252)
{
    TestSession t;
    QFile file(t->log.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old - COMMAND: write caf\xe9 \x80\r\n");
    file.close();
    t->exe(QStringLiteral("write new"));
    const QStringList r = records(t);
    EXPECT_EQ(r[1], QStringLiteral("old - COMMAND: write caf\u00e9 \u20ac"));
    // Written back as UTF-8.
    ASSERT_TRUE(t->log.save());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("caf\xc3\xa9 \xe2\x82\xac"));
}

// Records are not written one by one: the file follows within the save delay, through
// the session's timer, and always holds whole records, newest first.
TEST(EventLog, RecordsReachTheFileTogetherAfterTheSaveDelay)
{
    TestSession t;
    for (int i = 0; i < 50; ++i)
        t->exe(QStringLiteral("write %1").arg(i));
    EXPECT_FALSE(QFile::exists(t->log.path()));
    EXPECT_TRUE(t->log.hasUnsavedRecords());
    EXPECT_TRUE(records(t)[0].endsWith(QStringLiteral(" - COMMAND: write 49")));

    QElapsedTimer waited;
    waited.start();
    while (t->log.hasUnsavedRecords() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(t->log.hasUnsavedRecords());
    EXPECT_EQ(TextFile::read(t->log.path()), t->log.text());
    EXPECT_FALSE(t->log.saveTimer.isActive());
}

// A log that cannot be written never stops a command, and is reported once, not on every
// command; the old file stays as it was.
TEST(EventLog, AFailedSaveIsReportedOnceAndCommandsGoOn)
{
    TestSession t;
    t->exe(QStringLiteral("write before"));
    ASSERT_TRUE(t->log.save());
    const QByteArray saved = TextFile::readBytes(t->log.path());

    TextFile::Testing::failWritesFrom(1, ENOSPC);
    t->exe(QStringLiteral("write one"));
    EXPECT_FALSE(t->log.save());
    EXPECT_EQ(t.row(1), QStringLiteral("one"));
    EXPECT_EQ(t.row(2), QStringLiteral("Could not save %1: Disk full (61)").arg(t->log.path()));
    EXPECT_EQ(t.rowColour(2), 255);
    t->exe(QStringLiteral("write two"));
    EXPECT_FALSE(t->log.save());
    EXPECT_EQ(t.row(1), QStringLiteral("two"));
    EXPECT_EQ(t.row(2), QString());
    EXPECT_EQ(TextFile::readBytes(t->log.path()), saved);

    // Once it can be written again, every record kept in memory reaches the file.
    TextFile::Testing::failWritesFrom(0, 0);
    EXPECT_TRUE(t->log.save());
    const QString text = TextFile::read(t->log.path());
    EXPECT_TRUE(text.contains(QStringLiteral(" - COMMAND: write one\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral(" - ERROR: Could not save ")));
    EXPECT_TRUE(text.contains(QStringLiteral(" - COMMAND: write before\r\n")));
}

// A log the program cannot read (here a folder in its place) is never replaced.
TEST(EventLog, AnUnreadableLogIsNeverOverwritten)
{
    TestSession t;
    ASSERT_TRUE(QDir().mkdir(t->log.path()));
    t->exe(QStringLiteral("write x"));
    EXPECT_EQ(t.row(1), QStringLiteral("x"));
    EXPECT_FALSE(t->log.save());
    EXPECT_TRUE(t.row(2).startsWith(QStringLiteral("Could not save ")));
    EXPECT_TRUE(QFileInfo(t->log.path()).isDir());
}

} // namespace
