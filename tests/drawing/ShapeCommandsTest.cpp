// block, box, circle, line, pixel and crazy, checked on the console's pixels.

#include "TestSession.h"

#include <gtest/gtest.h>

namespace {

// The middle pixel of a cell.
QColor cellMiddle(TestSession &t, int column, int row)
{
    return t.pixel((column - 1) * 11 + 5, (row - 1) * 21 + 10);
}

TEST(Shapes, BlockFillsCellsFromTheColumnAndRowRoundedDown)
{
    TestSession t;
    t.exe({QStringLiteral("block 10,5,red")});
    EXPECT_EQ(cellMiddle(t, 10, 5), QColor(Qt::red));
    EXPECT_EQ(cellMiddle(t, 11, 5), QColor(Qt::black));
    t.exe({QStringLiteral("block 20,5,blue,3,2")});
    for (int column = 20; column <= 22; ++column) {
        EXPECT_EQ(cellMiddle(t, column, 5), QColor(Qt::blue));
        EXPECT_EQ(cellMiddle(t, column, 6), QColor(Qt::blue));
    }
    EXPECT_EQ(cellMiddle(t, 23, 5), QColor(Qt::black));
    EXPECT_EQ(cellMiddle(t, 20, 7), QColor(Qt::black));
    t.exe({QStringLiteral("block 2.7,9.9,lime")});
    EXPECT_EQ(cellMiddle(t, 2, 9), QColor(Qt::green));
    // Shapes print nothing and do not enter the cell record.
    EXPECT_EQ(t.row(5), QString());

    // Huge sizes reach the surface's edge, including the last partial column and row.
    t.exe({QStringLiteral("block 90,30,yellow,2000000000,2000000000")});
    EXPECT_EQ(t.pixel(1023, 767), QColor(Qt::yellow));
    EXPECT_EQ(t.pixel(978, 629), QColor(Qt::black));
    t.exe({QStringLiteral("block -1e300,1,red,2000000000,1"),
           QStringLiteral("block 1e300,1,red,5,5")});
    EXPECT_EQ(t.row(2), QString());
    // Nothing to fill: the colour is never read, so even a bad one is no error.
    t.exe({QStringLiteral("block 1,1,#zz,0,5")});
    EXPECT_EQ(t.row(2), QString());
}

TEST(Shapes, BoxDrawsAnOutlineUnlessTheFillIsExactlyOne)
{
    TestSession t;
    t.exe({QStringLiteral("box 0,0,100,50,blue")});
    EXPECT_EQ(t.pixel(0, 0), QColor(Qt::blue));
    EXPECT_EQ(t.pixel(100, 50), QColor(Qt::blue));
    EXPECT_EQ(t.pixel(50, 0), QColor(Qt::blue));
    EXPECT_EQ(t.pixel(50, 1), QColor(Qt::black));
    EXPECT_EQ(t.pixel(50, 25), QColor(Qt::black));

    t.exe({QStringLiteral("box 200,0,300,50,blue,5,yes")});
    EXPECT_EQ(t.pixel(250, 25), QColor(Qt::black));
    EXPECT_EQ(t.pixel(250, 2), QColor(Qt::blue));
    t.exe({QStringLiteral("box 400,0,500,50,blue,5,1")});
    EXPECT_EQ(t.pixel(450, 25), QColor(Qt::blue));
    EXPECT_EQ(t.pixel(500, 50), QColor(Qt::blue));
    // The width goes back to one pixel.
    t.exe({QStringLiteral("box 600,0,700,50,red")});
    EXPECT_EQ(t.pixel(650, 0), QColor(Qt::red));
    EXPECT_EQ(t.pixel(650, 1), QColor(Qt::black));

    // A character drawn later cuts its cell out of the shape; cls removes the shape.
    t.exe({QStringLiteral("box 0,100,300,300,red,1,1"), QStringLiteral("text 2,7,white,A")});
    EXPECT_EQ(t.pixel(11, 126), QColor(Qt::black));
    EXPECT_EQ(t.pixel(150, 200), QColor(Qt::red));
    t.exe({QStringLiteral("cls")});
    EXPECT_EQ(t.pixel(150, 200), QColor(Qt::black));
}

TEST(Shapes, CirclesLinesAndPixels)
{
    TestSession t;
    t.exe({QStringLiteral("circle 512,384,100,lime,3")});
    EXPECT_EQ(t.pixel(512, 384), QColor(Qt::black));
    EXPECT_EQ(t.pixel(612, 384), QColor(Qt::green));
    EXPECT_EQ(t.pixel(512, 284), QColor(Qt::green));
    // Any sixth value fills.
    t.exe({QStringLiteral("circle 512,384,100,lime,3,x")});
    EXPECT_EQ(t.pixel(512, 384), QColor(Qt::green));
    EXPECT_EQ(t.pixel(560, 420), QColor(Qt::green));
    EXPECT_EQ(t.pixel(600, 470), QColor(Qt::black));
    // A pen wider than the circle paints a disc.
    t.exe({QStringLiteral("cls"), QStringLiteral("circle 100,100,5,red,40")});
    EXPECT_EQ(t.pixel(100, 100), QColor(Qt::red));
    EXPECT_EQ(t.pixel(120, 100), QColor(Qt::red));

    t.exe({QStringLiteral("cls"), QStringLiteral("line 0,10,100,10")});
    EXPECT_EQ(t.pixel(50, 10), QColor(Qt::white));
    EXPECT_EQ(t.pixel(50, 11), QColor(Qt::black));
    t.exe({QStringLiteral("line 0,100,1000,100,red,21")});
    EXPECT_EQ(t.pixel(500, 90), QColor(Qt::red));
    EXPECT_EQ(t.pixel(500, 110), QColor(Qt::red));
    EXPECT_EQ(t.pixel(500, 112), QColor(Qt::black));
    t.exe({QStringLiteral("pixel 1023,767,white"), QStringLiteral("pixel 5000,5000,white")});
    EXPECT_EQ(t.pixel(1023, 767), QColor(Qt::white));
    EXPECT_EQ(t.pixel(1022, 767), QColor(Qt::black));
}

// Filled means the outline plus its inside, centred on the same point: no outline pixel is
// missing and the disc is as symmetric about its centre as the outline is.
TEST(Shapes, AFilledCircleIsItsOutlineWithTheInsideFilled)
{
    TestSession t;
    for (const int width : {1, 3, 8}) {
        t.exe({QStringLiteral("cls"), QStringLiteral("circle 512,384,100,lime,%1").arg(width)});
        const QImage outline = t->console.surface().copy();
        t.exe({QStringLiteral("cls"), QStringLiteral("circle 512,384,100,lime,%1,1").arg(width)});
        const QImage filled = t->console.surface().copy();
        const QRgb lime = qRgb(0, 255, 0);
        int missing = 0;
        int holes = 0;
        int unevenFill = 0;
        int unevenOutline = 0;
        for (int y = 270; y <= 498; ++y) {
            for (int x = 398; x <= 626; ++x) {
                const bool inOutline = outline.pixel(x, y) == lime;
                const bool inFilled = filled.pixel(x, y) == lime;
                missing += inOutline && !inFilled;
                const int dx = x - 512;
                const int dy = y - 384;
                holes += dx * dx + dy * dy < 99 * 99 && !inFilled;
                unevenFill += inFilled != (filled.pixel(1024 - x, 768 - y) == lime);
                unevenOutline += inOutline != (outline.pixel(1024 - x, 768 - y) == lime);
            }
        }
        EXPECT_EQ(missing, 0) << width;
        EXPECT_EQ(holes, 0) << width;
        EXPECT_LE(unevenFill, unevenOutline) << width;
    }
}

TEST(Shapes, FarOffGeometryDrawsTheVisiblePartOrNothing)
{
    TestSession t;
    // A line from far left to far right crosses the middle of the console.
    t.exe({QStringLiteral("line -1e12,384,1e12,384,red,3")});
    EXPECT_EQ(t.pixel(512, 384), QColor(Qt::red));
    t.exe({QStringLiteral("cls"), QStringLiteral("circle 512,384,1e12,red,100,1")});
    EXPECT_EQ(t.pixel(0, 0), QColor(Qt::red));
    t.exe({QStringLiteral("cls"), QStringLiteral("circle 512,384,1e12,red,100")});
    EXPECT_EQ(t.pixel(0, 0), QColor(Qt::black));
    t.exe({QStringLiteral("cls"), QStringLiteral("box -1e300,-1e300,1e300,1e300,red,32767"),
           QStringLiteral("box -1e300,-1e300,1e300,1e300,red,1,1"),
           QStringLiteral("line 1e300,1e300,-1e300,-1e300"),
           QStringLiteral("circle -1e300,0,1,red")});
    EXPECT_EQ(t.pixel(512, 384), QColor(Qt::red));
    EXPECT_EQ(t.row(2), QString());
}

TEST(Shapes, BadValuesAreRunTimeErrorsAndLeaveWhatWasDrawn)
{
    TestSession t;
    const std::pair<const char *, const char *> table[] = {
        {"line 1,2", "Type mismatch (13)"},
        {"box 0,0,10,10,red,1,1,,,,,", "Subscript out of range (9)"},
        {"box 0,0,10,10,red,0", "Invalid property value (380)"},
        {"line 0,0,10,10,red,40000", "Overflow (6)"},
        {"circle 5,5,-1", "Invalid procedure call or argument (5)"},
        {"pixel a,1", "Type mismatch (13)"},
        {"block 1,1,red,abc", "Type mismatch (13)"},
        {"circle 5,5,5,#1", "Type mismatch (13)"},
    };
    t.exe({QStringLiteral("pixel 7,7,red")});
    for (const auto &[line, error] : table) {
        t.exe({QString::fromUtf8(line)});
        EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: ") + QString::fromUtf8(error))
            << line;
        EXPECT_EQ(t.pixel(7, 7), QColor(Qt::red)) << line;
        t->console.ClScreen();
        t.exe({QStringLiteral("pixel 7,7,red")});
    }
    // Eleven values are allowed; an unknown colour is white.
    t.exe({QStringLiteral("pixel 20,20,nonsense,,,,,,,,")});
    EXPECT_EQ(t.pixel(20, 20), QColor(Qt::white));
}

TEST(Shapes, CrazyTogglesOrSetsTheRandomDrawingMode)
{
    TestSession t;
    t.exe({QStringLiteral("crazy")});
    EXPECT_EQ(t->opt[Options::RandomDrawing], QStringLiteral("6"));
    t.exe({QStringLiteral("crazy")});
    EXPECT_EQ(t->opt[Options::RandomDrawing], QStringLiteral("0"));
    t.exe({QStringLiteral("crazy 3")});
    EXPECT_EQ(t->opt[Options::RandomDrawing], QStringLiteral("3"));
    // Each tick then draws one circle, and the circles pile up.
    for (int i = 0; i < 20; ++i)
        t->cursorTimer.tick();
    EXPECT_TRUE(t->opt[Options::LastCommand].startsWith(QStringLiteral("circle ")));
    EXPECT_EQ(t.row(2), QString());
    int coloured = 0;
    for (int y = 0; y < 768; y += 8)
        for (int x = 0; x < 1024; x += 8)
            coloured += t.pixel(x, y) != QColor(Qt::black);
    EXPECT_GT(coloured, 0);
}

} // namespace
