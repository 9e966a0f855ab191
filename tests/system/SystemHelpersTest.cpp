// The helpers of the program and web commands, as tables: the sort, the argument splitter,
// what run makes of a word, and a page reduced to its text.

#include "TestSession.h"
#include "system/HtmlToText.h"
#include "system/RunTarget.h"
#include "system/ShellWords.h"
#include "system/SortArray.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SortArray, OrdersByCodePointEitherWay)
{
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const QString fullwidthA = QStringLiteral("\uFF21"); // after the emoji in UTF-16 order
    const QStringList ascending{QString(),           QStringLiteral("B"), QStringLiteral("a"),
                                QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("é"),
                                fullwidthA,          emoji};
    QStringList texts{QStringLiteral("a"), emoji, QStringLiteral("é"), fullwidthA,
                      QStringLiteral("B"), QString(), QStringLiteral("ab"), QStringLiteral("a")};
    SortArray(texts, true);
    EXPECT_EQ(texts, ascending);
    SortArray(texts, false);
    EXPECT_EQ(texts, QStringList(ascending.rbegin(), ascending.rend()));
}

TEST(ShellWords, SplitsAsAShellWouldWithoutExpanding)
{
    const struct
    {
        QString line;
        std::optional<QStringList> words;
    } cases[] = {
        {QString(), QStringList{}},
        {QStringLiteral("  a \t b  "), QStringList{"a", "b"}},
        {QStringLiteral("'a b' \"c d\" e\\ f"), QStringList{"a b", "c d", "e f"}},
        {QStringLiteral("''  \"\" x"), QStringList{"", "", "x"}},
        {QStringLiteral("it'''s' \"say \\\"hi\\\"\""), QStringList{"its", "say \"hi\""}},
        {QStringLiteral("'\\n' \"\\n\\$\\\\\" \\$HOME ~ *.txt"),
         QStringList{"\\n", "\\n$\\", "$HOME", "~", "*.txt"}},
        {QStringLiteral("a\"b c\"d"), QStringList{"ab cd"}},
        {QStringLiteral("'open"), std::nullopt},
        {QStringLiteral("\"open"), std::nullopt},
        {QStringLiteral("\"ends in \\\""), std::nullopt},
        {QStringLiteral("trailing\\"), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(splitShellWords(c.line), c.words) << c.line.toStdString();
}

TEST(RunTarget, ExecutablesStartOtherFilesAndAddressesOpen)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("tool.sh"));
    const QString text = dir.filePath(QStringLiteral("read me.txt"));
    for (const QString &path : {script, text})
        QFile(path).open(QIODevice::WriteOnly);
    QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
    const QString sh = QStandardPaths::findExecutable(QStringLiteral("sh"));
    ASSERT_FALSE(sh.isEmpty());

    const struct
    {
        QString word;
        RunTarget::Kind kind;
        QString target;
    } cases[] = {
        {script, RunTarget::Program, script},
        {QStringLiteral("sh"), RunTarget::Program, sh},
        {text, RunTarget::Document, text},
        {dir.path(), RunTarget::Document, dir.path()},
        {QStringLiteral("mailto:someone@example.com"), RunTarget::Document,
         QStringLiteral("mailto:someone@example.com")},
        {dir.filePath(QStringLiteral("missing")), RunTarget::Nothing, QString()},
        {QStringLiteral("no-such-program-here"), RunTarget::Nothing, QString()},
        {QStringLiteral("c:thing"), RunTarget::Nothing, QString()},
        {QString(), RunTarget::Nothing, QString()},
    };
    for (const auto &c : cases) {
        const RunTarget found = findRunTarget(c.word);
        EXPECT_EQ(found.kind, c.kind) << c.word.toStdString();
        EXPECT_EQ(found.target, c.target) << c.word.toStdString();
    }
}

// Decoded by the real utility plugin, as url2text decodes.
TEST(HtmlToText, EveryRunOfTextBetweenTagsIsOneLine)
{
    TestSession t;
    auto decode = [&t](const QString &run) {
        QVariantList arguments{run};
        return t->utility.invoke(Tovar::HTML2PT, arguments).toString();
    };
    const struct
    {
        QString page;
        QString text;
    } cases[] = {
        {QStringLiteral("<p>a &amp; b</p><p> </p><b>c</b>"), QStringLiteral("a & b\r\nc\r\n")},
        {QStringLiteral("<p>&amp;lt; &quot;q&quot; &copy;</p>"),
         QStringLiteral("&lt; \"q\" &copy;\r\n")},
        {QStringLiteral("<p>&nbsp;</p><p>\r\n  \r\n</p><p>\t</p>"), QStringLiteral("\t\r\n")},
        {QStringLiteral("<p>one<br>two</p>"), QStringLiteral("one\r\ntwo\r\n")},
        {QStringLiteral("<a title=\"x>y\">link</a>"), QStringLiteral("y\"\r\nlink\r\n")},
        {QStringLiteral("<script>if (a < b) go();</script>"), QStringLiteral("if (a \r\n")},
        {QStringLiteral("<p>kept</p>after"), QStringLiteral("kept\r\nafter\r\n")},
        {QStringLiteral("<p>kept</p><unclosed tag"), QStringLiteral("kept\r\n")},
        {QStringLiteral("a plain text page\r\nof two lines"),
         QStringLiteral("a plain text page\r\nof two lines\r\n")},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HtmlToText(c.page, decode), c.text) << c.page.toStdString();
}

} // namespace
