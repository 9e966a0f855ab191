// The history file: the newest 1000 lines kept, what is never stored, and files that cannot
// be read or saved, each reported once.

#include "console/CommandHistory.h"
#include "foundation/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(CommandHistory, KeepsTheNewestThousandTypedLines)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("history"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 1500; ++i)
        file.write(QByteArray("line ") + QByteArray::number(i) + (i % 2 ? "\r\n" : "\n\n"));
    file.close();

    CommandHistory history(path);
    ASSERT_EQ(history.lines().size(), 1000);
    EXPECT_EQ(history.lines().front(), QStringLiteral("line 501"));
    for (const QString &ignored : {QString(), QStringLiteral(" secret"), QStringLiteral("line 1500"),
                                   QStringLiteral("a\nb")})
        history.add(ignored);
    history.add(QStringLiteral("new"));
    EXPECT_EQ(history.findBefore(QStringLiteral("LINE 149"), 1000), 997);
    EXPECT_EQ(history.findBefore(QStringLiteral("line 149"), 997), 996);

    CommandHistory again(path);
    ASSERT_EQ(again.lines().size(), 1000);
    EXPECT_EQ(again.lines().front(), QStringLiteral("line 502"));
    EXPECT_EQ(again.lines().back(), QStringLiteral("new"));
}

TEST(CommandHistory, FilesThatCannotBeReadOrSavedAreReportedOnce)
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("folder"));
    const QString fifo = home.filePath(QStringLiteral("fifo"));
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {folder, fifo}) {
        SCOPED_TRACE(path.toStdString());
        CommandHistory history(path);
        EXPECT_THROW(history.lines(), RuntimeError);
        EXPECT_TRUE(history.lines().isEmpty());
        EXPECT_THROW(history.add(QStringLiteral("one")), RuntimeError);
        EXPECT_NO_THROW(history.add(QStringLiteral("two")));
        EXPECT_EQ(history.lines().size(), 2);
    }
}

} // namespace
