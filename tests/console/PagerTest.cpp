// The pager: how text is cut into lines, how pages move, and the scroll arrows.

#include "TestSession.h"
#include "foundation/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

QString lines(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("line %1").arg(i);
    return list.join(QStringLiteral("\r\n"));
}

TEST(Pager, LongLinesAreCutInto92CharacterPieces)
{
    TestSession t;
    Pager &pager = t->pager;
    pager.mline(QString(184, u'a'));
    EXPECT_EQ(pager.pageCount(), 3);
    EXPECT_EQ(pager.pageLine(0).size(), 92);
    EXPECT_EQ(pager.pageLine(1).size(), 92);
    EXPECT_EQ(pager.pageLine(2), QString());
    pager.mline(QString(93, u'b'));
    EXPECT_EQ(pager.pageCount(), 2);
    EXPECT_EQ(pager.pageLine(1), QStringLiteral("b"));
    pager.mline(QString(92, u'c') + QStringLiteral("\r\n\r\nd\ne"));
    EXPECT_EQ(pager.pageCount(), 3); // a lone LF is no line break
    EXPECT_EQ(pager.pageLine(2), QStringLiteral("d\ne"));
    pager.mline(QString());
    EXPECT_EQ(pager.pageCount(), 1);
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
    EXPECT_EQ(t.pagerRow(33), QString()); // no prompt in the pager
}

TEST(Pager, PagesMoveBy35LinesAndStopAtTheEnds)
{
    TestSession t;
    Pager &pager = t->pager;
    pager.mline(lines(100));
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("line 0"));
    EXPECT_EQ(t.pagerRow(36), QStringLiteral("line 35"));
    pager.mLineDisp(3);
    EXPECT_EQ(pager.pageTop, 35);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("line 35"));
    pager.mLineDisp(3);
    EXPECT_EQ(pager.pageTop, 64);
    pager.mLineDisp(3);
    EXPECT_EQ(pager.pageTop, 64);
    EXPECT_EQ(t.pagerRow(36), QStringLiteral("line 99"));
    pager.mLineDisp(4);
    EXPECT_EQ(pager.pageTop, 29);
    pager.pageTop = 20;
    pager.mLineDisp(4);
    EXPECT_EQ(pager.pageTop, 0);
    pager.mLineDisp(5);
    EXPECT_EQ(pager.pageTop, 64);
    t->console.ClScreen(); // as the Home key does
    pager.mLineDisp(0);
    EXPECT_EQ(pager.pageTop, 0);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("line 0"));

    // Short texts have no pages to move through.
    pager.mline(lines(10));
    pager.mLineDisp(3);
    pager.mLineDisp(5);
    EXPECT_EQ(pager.pageTop, 0);
}

TEST(Pager, LineScrollingMovesPixelsAndTheCellRecordTogether)
{
    TestSession t;
    Pager &pager = t->pager;
    pager.mline(lines(50));
    const QImage before = t->console.surface().copy(Cell::rect(1, 2).united(Cell::rect(10, 2)));
    pager.mLineDisp(1);
    EXPECT_EQ(pager.pageTop, 1);
    EXPECT_EQ(t.pagerRow(1).left(6), QStringLiteral("line 1"));
    EXPECT_EQ(t.pagerRow(35), QStringLiteral("line 35"));
    EXPECT_EQ(t.pagerRow(36), QStringLiteral("line 36"));
    // The pixels of row 2 are now those of row 1.
    EXPECT_EQ(t->console.surface().copy(Cell::rect(1, 1).united(Cell::rect(10, 1))), before);
    pager.mLineDisp(2);
    EXPECT_EQ(pager.pageTop, 0);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("line 0"));
    EXPECT_EQ(t.pagerRow(2), QStringLiteral("line 1"));
    EXPECT_EQ(t.pagerRow(36), QStringLiteral("line 35"));
    // The arrow column does not scroll, in the pixels or in the record: the up arrow of
    // row 1 is not copied to row 2.
    for (int row = 2; row <= 36; ++row)
        EXPECT_NE(t->console.scrCells().character(93, row), QChar(233)) << row;
    pager.mLineDisp(2);
    EXPECT_EQ(pager.pageTop, 0);

    // Line down may scroll the whole text away; then nothing moves any more.
    for (int i = 0; i < 60; ++i)
        pager.mLineDisp(1);
    EXPECT_EQ(pager.pageTop, 50);
    for (int row = 1; row <= 36; ++row)
        EXPECT_EQ(t.pagerRow(row).left(92).trimmed(), QString()) << row;
}

TEST(Pager, ArrowsShowWhereMoreTextLies)
{
    TestSession t;
    Pager &pager = t->pager;
    const CellRecord &cells = t->console.scrCells();
    pager.mline(lines(100));
    EXPECT_EQ(cells.entry(93, 1), QStringLiteral(" 16777215"));
    EXPECT_EQ(cells.entry(93, 37), QStringLiteral("\u00ea12632256"));
    // The down arrow is painted in silver in the top of row 37.
    bool silver = false;
    const QRect visible = Cell::rect(93, 37) & QRect(0, 0, 1024, 768);
    for (int y = visible.top(); y <= visible.bottom(); ++y)
        for (int x = visible.left(); x <= visible.right(); ++x)
            silver = silver || t->console.surface().pixelColor(x, y) == QColor(192, 192, 192);
    EXPECT_TRUE(silver);

    pager.mLineDisp(3);
    EXPECT_EQ(cells.entry(93, 1), QStringLiteral("\u00e912632256"));
    pager.pageTop = 20;
    pager.mLineDisp(4);
    EXPECT_EQ(cells.character(93, 1), u' ');
    for (int i = 0; i < 100; ++i)
        pager.mLineDisp(1);
    EXPECT_EQ(cells.character(93, 37), u' ');
    EXPECT_EQ(cells.character(93, 1), QChar(0xe9));
}

TEST(Pager, MoreThan64001LinesIsAnErrorAndTheLastLinesReadEmpty)
{
    TestSession t;
    t->pager.mline(lines(64001));
    EXPECT_EQ(t->pager.pageCount(), 64001);
    t->pager.mLineDisp(5);
    for (int i = 0; i < 40; ++i)
        t->pager.mLineDisp(1);
    EXPECT_EQ(t->pager.pageTop, 64001);
    EXPECT_EQ(t.pagerRow(1), QString());

    try {
        t->pager.mline(lines(64002));
        FAIL() << "64002 lines were accepted";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 9);
    }
    // The text shown before is still there.
    EXPECT_EQ(t->pager.pageCount(), 64001);
}

// A listing gathered for the pager stops where the pager could show no more: the text it
// keeps always fits, and one more line would not have.
TEST(Pager, ListingsStopAtTheCapacity)
{
    PagerText text;
    EXPECT_TRUE(text.add(QString(184, u'x') + QStringLiteral("\r\n"))); // three pieces
    int added = 1;
    while (text.add(QStringLiteral("line\r\n")))
        ++added;
    EXPECT_TRUE(text.full());
    EXPECT_FALSE(text.add(QStringLiteral("\r\n")));
    EXPECT_EQ(added, Pager::kCapacity - 3);
    TestSession t;
    t->pager.mline(text.text());
    EXPECT_EQ(t->pager.pageCount(), Pager::kCapacity);
    EXPECT_THROW(t->pager.mline(text.text() + QStringLiteral("line\r\n")), RuntimeError);
}

} // namespace
