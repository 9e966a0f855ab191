// run, cmd and listfonts (the clipboard and run's messages are in a transcript). Programs
// started by run reach the scripted desktop here (tests/app starts real ones); cmd runs a
// real shell.

#include "EventLoop.h"
#include "TestSession.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(RunCommand, StartsProgramsAndOpensDocumentsAndAddresses)
{
    TestSession t;
    const QString previous = QDir::currentPath();
    const auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
    QDir::setCurrent(t.home());
    QFile(t.file(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);
    const QString sh = QStandardPaths::findExecutable(QStringLiteral("sh"));
    const QString blank = t.file(QStringLiteral("my tools/go"));
    QDir().mkpath(t.file(QStringLiteral("my tools")));
    QFile(blank).open(QIODevice::WriteOnly);
    QFile::setPermissions(blank, QFile::ReadOwner | QFile::ExeOwner);

    t.exe({QStringLiteral("run sh -c 'exit 0'"), QStringLiteral("run notes.txt ignored"),
           QStringLiteral("run https://example.com/a?b=c"),
           QStringLiteral("run \"%1\" 'a b'").arg(blank)});
    EXPECT_EQ(
        t->scripted.opened(),
        (QStringList{sh + QStringLiteral(" -c exit 0"), t.file(QStringLiteral("notes.txt")),
                     QStringLiteral("https://example.com/a?b=c"), blank + QStringLiteral(" a b")}));

    t.exe({QStringLiteral("run sh -c 'exit 0")});
    EXPECT_EQ(t.row(1), QStringLiteral("Unable to run 'sh -c 'exit 0': a quote is not closed"));
    EXPECT_EQ(t->scripted.opened().size(), 4);
}

// cmd shows everything the line printed, errors included, once the shell has ended.
TEST(CmdCommand, ShowsTheWholeOutputOnceTheCommandHasEnded)
{
    TestSession t;
    t.exe({QStringLiteral("cmd echo one; sleep 0.2; echo two >&2; printf 'thr\\303\\251e'")});
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("one"));
    EXPECT_EQ(t.pagerRow(2), QStringLiteral("two"));
    EXPECT_EQ(t.pagerRow(3), QStringLiteral("thrée"));

    t.exe({QStringLiteral("cmd cat; true")});
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager) << "a command that reads gets no input";
    EXPECT_EQ(t.pagerRow(1), QString());
    EXPECT_EQ(t->pager.pageCount(), 1);
}

TEST(CmdCommand, EscapeEndsTheWaitAndTheCommand)
{
    TestSession t;
    const QString marker = t.file(QStringLiteral("late"));
    QTimer::singleShot(100, [&] { t.keys(QStringLiteral("Escape")); });
    t.exe({QStringLiteral("cmd sleep 1; echo x > '%1'").arg(marker)});
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
    EXPECT_EQ(t.row(1), QString()) << "nothing is shown";
    runFor(1500);
    EXPECT_FALSE(QFile::exists(marker)) << "the command went on after Escape";
}

// The pager holds 64,001 lines and the capture 16 MiB: past either the output is cut, and a
// last line says so. A command that prints without end is stopped at the capture limit.
TEST(CmdCommand, OutputPastWhatCanBeShownIsCutAndSaysSo)
{
    TestSession t;
    const QString cut = QStringLiteral("[The output was cut here: the rest is too long to show]");
    const struct
    {
        QString line;
        int lines;
        QString last;
    } cases[] = {
        {QStringLiteral("cmd seq 64000"), 64001, QString()}, // and the empty line after
        {QStringLiteral("cmd seq 64001"), 64001, cut},
        {QStringLiteral("cmd yes"), 64001, cut},
        // One line of 17 MB: cut at 16 MiB, then too long to show at all.
        {QStringLiteral("cmd head -c 17000000 /dev/zero | tr '\\0' x"), 1, cut},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        t.exe({c.line});
        EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
        EXPECT_EQ(t->pager.pageCount(), c.lines);
        EXPECT_EQ(t->pager.pageLine(c.lines - 1), c.last);
        t.keys(QStringLiteral("Escape"));
    }
}

// The families in code point order, upper case before lower case.
TEST(ListfontsCommand, PagesTheFamiliesSortedByCodePoint)
{
    TestSession t;
    QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    std::ranges::sort(families, {}, [](const QString &f) { return f.toUcs4(); });
    t.exe({QStringLiteral("listfonts")});
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("List of installed fonts:"));
    EXPECT_EQ(t.pagerRow(2), QString());
    for (int row = 3; row <= 36 && row - 3 < families.size(); ++row)
        EXPECT_EQ(t.pagerRow(row), families[row - 3].left(92));
    EXPECT_EQ(t->pager.pageCount(), families.size() + 3);
}

} // namespace
