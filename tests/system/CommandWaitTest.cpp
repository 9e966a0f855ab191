// Every command that lets window events run before it has finished waits the same way: keys
// typed meanwhile neither reach the command line nor start a command inside it, and Escape
// gives the wait up.

#include "EventLoop.h"
#include "LocalWebServer.h"
#include "TestSession.h"

#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(CommandWait, KeysDuringAWaitStartNothingAndEscapeGivesUp)
{
    LocalWebServer server;
    server.serve("/quiet", {.silent = true});
    const QString quiet = server.url("/quiet");
    const struct
    {
        QString line;
        QString row1;
        QString row2;
    } cases[] = {
        {QStringLiteral("openurl ") + quiet, QStringLiteral("Opening: '%1'...").arg(quiet),
         QStringLiteral("Cancelled")},
        {QStringLiteral("url2text ") + quiet,
         QStringLiteral("Opening and processing: '%1'...").arg(quiet), QStringLiteral("Cancelled")},
        // Nothing is shown; the command is stopped.
        {QStringLiteral("cmd sleep 30"), QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        TestSession t;
        const QString marker = t.file(QStringLiteral("nested"));
        bool waiting = false;
        QString typed = QStringLiteral("?");
        QTimer::singleShot(100, [&] {
            waiting = t->wait != nullptr;
            t.keys(QStringLiteral("text:cmd touch %1,Enter,text:x").arg(marker));
            typed = t->console.cmdText;
            t.keys(QStringLiteral("Escape"));
        });
        t.exe({c.line});
        EXPECT_TRUE(waiting);
        EXPECT_EQ(typed, QString()) << "the command line was typed into";
        EXPECT_EQ(t->wait, nullptr);
        EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
        EXPECT_EQ(t.row(1), c.row1);
        EXPECT_EQ(t.row(2), c.row2);
        runFor(200);
        EXPECT_FALSE(QFile::exists(marker)) << "a command ran inside the wait";
    }
    EXPECT_EQ(server.requests(), 2);
}

} // namespace
