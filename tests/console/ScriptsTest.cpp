// Text in every script on the console: the cells characters take, wide characters and their
// halves, control characters, the command line, and the pixels of a wide glyph.

#include "TestSession.h"
#include "console/VirtualKeys.h"
#include "foundation/TextCells.h"

#include <gtest/gtest.h>

namespace {

struct Layout
{
    const char *name;
    QString text;
    int xpos;
    int lastRow;         // what DrawText answers, drawn from row 5
    QList<QString> rows; // rows 5, 6, ... from column xpos + 1, blanks on the right cut
};

QString fromColumn(const TestSession &t, int row, int xpos)
{
    return t.row(row).mid(xpos);
}

TEST(Scripts, TextTakesTheCellsATerminalGivesIt)
{
    const QString stackedMarks = u'e' + QString(1000, QChar(0x301)) + u'x';
    const QList<Layout> cases = {
        {"wide", u"坂本さくら 東京の雨"_qs, 0, 5, {u"坂本さくら 東京の雨"_qs}},
        {"emoji outside the 16-bit range", u"DJ 🎧 Smile"_qs, 0, 5, {u"DJ 🎧 Smile"_qs}},
        {"combining marks join", u"Cafe\u0301 X"_qs, 0, 5, {u"Cafe\u0301 X"_qs}},
        {"joined emoji are one", u"👨‍👩‍👧x"_qs, 0, 5, {u"👨‍👩‍👧x"_qs}},
        {"a wide one never starts in column 93",
         u"ab東京"_qs,
         90,
         7,
         {u"ab"_qs, u"東"_qs, u"京"_qs}},
        {"control characters are shown", u"a\nb\tc\x7f"_qs, 0, 5, {u"a␊b␉c␡"_qs}},
        {"marks past a cell's room are dropped",
         stackedMarks,
         0,
         5,
         {u'e' + QString(TextCells::kMaxClusterUnits - 1, QChar(0x301)) + u'x'}},
        {"right to left is kept in logical order",
         u"فرقة النور 42"_qs,
         3,
         5,
         {u"فرقة النور 42"_qs}},
    };
    for (const Layout &c : cases) {
        SCOPED_TRACE(c.name);
        TestSession t;
        t->console.ClScreen();
        EXPECT_EQ(t->console.DrawText(c.text, 5, -1, c.xpos), c.lastRow);
        for (int i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(fromColumn(t, 5 + i, c.xpos), c.rows[i]);
            // The screen text still spans the 94 columns.
            EXPECT_EQ(TextCells::cells(t->console.scrCells().rowText(5 + i)), 94);
        }
        EXPECT_EQ(t.row(5 + c.rows.size()), QString());
    }
}

TEST(Scripts, WideCharactersHoldTwoCellsAndLoseThemWhole)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    console.DrawText(u"🎧x"_qs, 2);
    const CellRecord &cells = console.scrCells();
    EXPECT_EQ(cells.entry(1, 2), u"🎧16777215"_qs); // the entry grows by the second unit
    EXPECT_EQ(cells.span(2, 2), CellRecord::Span::Continuation);
    EXPECT_EQ(cells.entry(2, 2), QString(9, QChar(0)));
    EXPECT_EQ(cells.character(3, 2), u'x');

    // Drawing over either half blanks the other.
    struct Over
    {
        int xpos;
        QString text;
        QString row;
    };
    for (const Over &over : QList<Over>{{1, u"x"_qs, u" x字"_qs},
                                        {2, u"y"_qs, u"漢y"_qs},
                                        {1, u"東"_qs, u" 東"_qs},
                                        {0, u"東"_qs, u"東字"_qs}}) {
        SCOPED_TRACE(over.text.toStdString() + " at " + std::to_string(over.xpos));
        console.ClScreen();
        console.DrawText(u"漢字"_qs, 4);
        console.DrawText(over.text, 4, -1, over.xpos);
        EXPECT_EQ(t.row(4), over.row);
        EXPECT_EQ(TextCells::cells(cells.rowText(4)), 94);
    }
}

TEST(Scripts, TheCommandLineCountsCellsForTheCursorAndBackspace)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    // 40 wide characters fill columns 13..92; the 41st cannot start in 93 and goes below.
    console.TypeText(QString(41, QChar(0x6F22)));
    EXPECT_EQ(QPoint(console.curCol, console.curRow), QPoint(3, 34));
    EXPECT_EQ(t.row(33), u"   COMMAND: "_qs + QString(40, QChar(0x6F22)));
    EXPECT_EQ(t.row(34), QString(QChar(0x6F22)));
    int backspace = Vk::Backspace;
    t->keyboard.keyPress(backspace);
    EXPECT_EQ(QPoint(console.curCol, console.curRow), QPoint(1, 34));
    t->keyboard.keyPress(backspace);
    EXPECT_EQ(QPoint(console.curCol, console.curRow), QPoint(91, 33));
    EXPECT_EQ(console.cmdText, QString(39, QChar(0x6F22)));

    // Keys deliver one unit at a time: a mark joins the character before it, and the
    // halves of a pair make one character.
    int escape = Vk::Escape;
    t->keyboard.keyPress(escape);
    for (const QChar unit : u"e\u0301🎧!"_qs) {
        int character = unit.unicode();
        t->keyboard.keyPress(character);
    }
    EXPECT_EQ(console.cmdText, u"e\u0301🎧!"_qs);
    EXPECT_EQ(console.scrCells().text(13, 33), u"e\u0301"_qs);
    EXPECT_EQ(console.scrCells().text(14, 33), u"🎧"_qs);
    EXPECT_EQ(console.scrCells().character(16, 33), u'!');
    EXPECT_EQ(console.curCol, 17);
    t->keyboard.keyPress(backspace);
    t->keyboard.keyPress(backspace);
    EXPECT_EQ(console.cmdText, u"e\u0301"_qs);
    EXPECT_EQ(console.curCol, 14);

    // A paste of endless marks costs no more than one full cell of them.
    console.TypeText(QString(1000000, QChar(0x301)));
    EXPECT_EQ(console.cmdText, u'e' + QString(TextCells::kMaxClusterUnits - 1, QChar(0x301)));
    EXPECT_EQ(console.curCol, 14);
}

// The columns of a cell holding any ink.
QList<int> inkedColumns(const QImage &image, int column, int row, int cells)
{
    QList<int> inked;
    const QRect r(Cell::origin(column, row), QSize(cells * Cell::kWidth, Cell::kHeight));
    for (int x = r.left(); x <= r.right(); ++x) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                inked.append(x - r.left());
                break;
            }
        }
    }
    return inked;
}

TEST(Scripts, AWideGlyphSpansTwoCellsWithoutTouchingItsNeighbours)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    console.DrawText(u"A漢B"_qs, 2);
    console.DrawText(u"A  B"_qs, 4);
    console.DrawText(u"🎧"_qs, 6);
    const QImage &image = console.surface();
    for (int row : {2, 6}) {
        SCOPED_TRACE(row);
        const int column = row == 2 ? 2 : 1;
        const QList<int> wide = inkedColumns(image, column, row, 2);
        ASSERT_FALSE(wide.isEmpty());
        // Ink in both halves, from a glyph drawn at the cell height rather than a box.
        EXPECT_LT(wide.front(), Cell::kWidth);
        EXPECT_GE(wide.back(), Cell::kWidth);
    }
    // The neighbours are exactly as without the wide glyph between them.
    for (int column : {1, 4}) {
        for (int y = 0; y < Cell::kHeight; ++y) {
            for (int x = 0; x < Cell::kWidth; ++x) {
                const QPoint at = Cell::origin(column, 2) + QPoint(x, y);
                ASSERT_EQ(image.pixel(at), image.pixel(at + QPoint(0, 2 * Cell::kHeight)))
                    << "column " << column << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(Scripts, ARowLosingItsRightToLeftTextShowsItsOwnOrderAgain)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    console.DrawText(u"ab فرقة cd"_qs, 3);
    console.DrawText(u"ab xxxx cd"_qs, 4);
    const auto rowPixels = [&](int row) {
        return console.surface().copy(0, (row - 1) * Cell::kHeight, 12 * Cell::kWidth,
                                      Cell::kHeight);
    };
    EXPECT_NE(rowPixels(3), rowPixels(4));
    console.DrawText(u"xxxx"_qs, 3, -1, 3);
    EXPECT_EQ(t.row(3), u"ab xxxx cd"_qs);
    EXPECT_EQ(rowPixels(3), rowPixels(4));
}

} // namespace
