// The help pages as the console draws them.

#include "TestSession.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

// Where the quoted texts run two words together: the first ends in column 93, so the console
// shows them on two rows. A wrap anywhere else that cuts a word is a layout fault.
const QStringList kWordsMetAtAWrap = {
    QStringLiteral("thebeginning."), QStringLiteral("Omittingthe"), QStringLiteral("theuser"),
    QStringLiteral("sizetype"),      QStringLiteral("seenhere"),    QStringLiteral("prefixsearch")};

constexpr int kColumns = 93;
// The first row the now-playing display uses; a page must end above it.
constexpr int kNowPlayingTop = 25;
// ColourText fills its start row and the sixteen below it.
constexpr int kChartRows = 17;

// Every page as the console shows it: each line on its rows, none drawn over by the next, all
// above the now-playing display, every wrap between two words.
TEST(Help, PagesFitTheConsoleAndWrapBetweenWords)
{
    TestSession t;
    QSet<const HelpPage *> seen;
    for (const QString &word : t->commands.words()) {
        const HelpPage &page = *t->commands.find(word).help;
        if (seen.contains(&page))
            continue; // a page words share (exit and quit, f1 to f12) is laid out once
        seen.insert(&page);
        SCOPED_TRACE(word.toStdString());
        t->exe(QStringLiteral("help ") + word);
        int nextFree = 1;
        for (const HelpLine &line : page.lines) {
            if (!line.text)
                continue;
            const QString text = QString::fromLatin1(line.text);
            EXPECT_GE(line.row, nextFree) << "drawn over the line before";
            for (qsizetype at = 0; at < text.size(); at += kColumns) {
                const int row = line.row + static_cast<int>(at / kColumns);
                QString shown = text.mid(at, kColumns);
                while (shown.endsWith(u' '))
                    shown.chop(1);
                EXPECT_EQ(t.row(row), shown) << "row " << row;
                if (at == 0)
                    continue;
                EXPECT_NE(text[at], u' ') << "row " << row << " starts with a blank";
                if (text[at - 1] != u' ') {
                    const qsizetype start = text.lastIndexOf(u' ', at - 1) + 1;
                    const qsizetype end = text.indexOf(u' ', at);
                    const QString cut = text.mid(start, (end < 0 ? text.size() : end) - start);
                    EXPECT_TRUE(kWordsMetAtAWrap.contains(cut))
                        << "wrap cuts " << cut.toStdString();
                }
            }
            nextFree = line.row + static_cast<int>((text.size() + kColumns - 1) / kColumns);
        }
        if (page.chartRow != 0) {
            EXPECT_GE(page.chartRow, nextFree);
            EXPECT_EQ(t.row(page.chartRow).left(17), QStringLiteral("Built-in Colours:"));
            nextFree = page.chartRow + kChartRows;
        }
        EXPECT_LT(nextFree - 1, kNowPlayingTop) << "runs into the now-playing rows";
        EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
        EXPECT_EQ(t.row(33), QStringLiteral("   COMMAND:"));
    }
}

} // namespace
