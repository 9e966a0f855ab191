// text, text2 and picture on the console.

#include "PictureFiles.h"
#include "TestSession.h"
#include "foundation/TextFile.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The columns of the given rows where any pixel has the colour, as [first, last], or -1s.
std::pair<int, int> inkSpan(TestSession &t, QRect area, QColor colour)
{
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (t.pixel(x, y) == colour) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

TEST(TextCommands, Text2PrintsAtAPixelInTheFontGivenAndWrapsToTheLeftEdge)
{
    TestSession t;
    const QColor red(Qt::red);
    t.exe({QStringLiteral("text2 100,200,red,DejaVu Sans,24,1,,,,,Title")});
    const auto [left, right] = inkSpan(t, QRect(0, 200, 1024, 40), red);
    EXPECT_GE(left, 100);
    EXPECT_LT(left, 110);
    EXPECT_GT(right, 150);
    EXPECT_EQ(inkSpan(t, QRect(0, 0, 1024, 199), red).first, -1);
    // Not console text: the cell record is untouched.
    EXPECT_EQ(t.row(10), QString());

    // Commas after the tenth value are printed.
    t.exe({QStringLiteral("cls"), QStringLiteral("text2 100,200,red,DejaVu Sans,24,,,,,,a,b,c")});
    const int withCommas = inkSpan(t, QRect(0, 200, 1024, 40), red).second;
    t.exe({QStringLiteral("cls"), QStringLiteral("text2 100,200,red,DejaVu Sans,24,,,,,,abc")});
    EXPECT_GT(withCommas, inkSpan(t, QRect(0, 200, 1024, 40), red).second);

    // A wrap width of 5: three lines, the later ones from x = 0.
    t.exe({QStringLiteral("cls"),
           QStringLiteral("text2 300,100,red,DejaVu Sans Mono,12,,,,,5,abcdefghijkl")});
    const auto line1 = inkSpan(t, QRect(0, 100, 1024, 14), red);
    const auto line2 = inkSpan(t, QRect(0, 119, 1024, 14), red);
    const auto line3 = inkSpan(t, QRect(0, 138, 1024, 14), red);
    EXPECT_GE(line1.first, 300);
    EXPECT_LT(line2.first, 5);
    EXPECT_LT(line3.first, 5);
    EXPECT_GT(line2.second - line2.first, 2 * (line3.second - line3.first));
    // A wrap width below 1 prints the text whole on one line.
    t.exe({QStringLiteral("cls"),
           QStringLiteral("text2 300,100,red,DejaVu Sans Mono,12,,,,,0,abcdefghijkl")});
    EXPECT_EQ(inkSpan(t, QRect(0, 119, 1024, 40), red).first, -1);
    EXPECT_GT(inkSpan(t, QRect(0, 100, 1024, 14), red).second, 380);

    t.exe({QStringLiteral("cls")});
    EXPECT_EQ(inkSpan(t, QRect(0, 0, 1024, 768), red).first, -1);
}

TEST(TextCommands, Text2FailuresLeaveTheConsoleFontAlone)
{
    TestSession t;
    t.exe({QStringLiteral("text2 1,1,red,DejaVu Sans,,,,,,,x")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Type mismatch (13)"));
    t.exe({QStringLiteral("cls"), QStringLiteral("text2 1,1,red,DejaVu Sans,0,,,,,,x")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Invalid property value (380)"));
    t.exe({QStringLiteral("cls"), QStringLiteral("text2 1,1,red,No Such Font Anywhere,12,,,,,,x")});
    EXPECT_EQ(t.row(2), QString());
    // Console text still comes out in the console's own glyphs.
    t.exe({QStringLiteral("write X")});
    TestSession fresh;
    fresh.exe({QStringLiteral("write X")});
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 11; ++x)
            ASSERT_EQ(t.pixel(x, y), fresh.pixel(x, y)) << x << "," << y;
}

TEST(TextCommands, PictureTilesCopiesEdgeToEdge)
{
    TestSession t;
    const QString path = t.file(QStringLiteral("tile, with comma.png"));
    ASSERT_TRUE(PictureFiles::gradient(100, 50).save(path, "PNG"));
    t.exe({QStringLiteral("picture 0,0,4,3,") + path});
    EXPECT_EQ(t.row(2), QString());
    EXPECT_EQ(t.pixel(0, 0), QColor(0, 0, 77));
    EXPECT_EQ(t.pixel(399, 149), QColor(99, 49, 77));
    EXPECT_EQ(t.pixel(150, 75), QColor(50, 25, 77));
    EXPECT_EQ(t.pixel(400, 149), QColor(Qt::black));
    EXPECT_EQ(t.pixel(399, 150), QColor(Qt::black));
    // One copy by default, at a fractional position rounded, cut at the edges.
    t.exe({QStringLiteral("cls"), QStringLiteral("picture 1000.4,-10,,,") + path});
    EXPECT_EQ(t.pixel(1000, 0), QColor(0, 10, 77));
    EXPECT_EQ(t.pixel(1023, 39), QColor(23, 49, 77));
    EXPECT_EQ(t.pixel(999, 0), QColor(Qt::black));
    // Far more copies than fit still finish at once.
    t.exe({QStringLiteral("picture -1e300,0,2000000000,2000000000,") + path,
           QStringLiteral("picture 0,0,2000000000,2000000000,") + path});
    EXPECT_EQ(t.pixel(1023, 767), QColor(23, 17, 77));
    t.exe({QStringLiteral("cls")});
    EXPECT_EQ(t.pixel(150, 75), QColor(Qt::black));

    t.exe({QStringLiteral("picture 0,0,1,1,") + t.file(QStringLiteral("missing.png"))});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: File not found (53)"));
    const QString text = t.file(QStringLiteral("notes.txt"));
    TextFile::save(text, "words");
    t.exe({QStringLiteral("picture 0,0,1,1,") + text});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Invalid picture (481)"));
    // A FIFO would hold the picture reader for ever: it is never opened.
    const QString fifo = t.file(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    t.exe({QStringLiteral("picture 0,0,1,1,") + fifo});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Device unavailable (68)"));
    // background takes what is no file as a colour name: black, and no wait either.
    t.exe({QStringLiteral("background ") + fifo});
    EXPECT_EQ(t.row(2), QString());
}

} // namespace
