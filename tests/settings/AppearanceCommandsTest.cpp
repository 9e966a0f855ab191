// textcol, textbgc and background, checked on the console's pixels and the options.

#include "PictureFiles.h"
#include "TestSession.h"
#include "foundation/Colours.h"
#include "foundation/TextFile.h"
#include "controller/Lifecycle.h"

#include <gtest/gtest.h>

namespace {

// A pixel of cell (column, row) that no glyph of "X" or blank covers: its top-left corner.
QColor cellCorner(TestSession &t, int column, int row)
{
    return t.pixel((column - 1) * 11, (row - 1) * 21);
}

TEST(Appearance, TextcolSetsTheTextColourByAnyName)
{
    TestSession t;
    const std::pair<const char *, const char *> table[] = {
        {"textcol RED", "255"},      {"textcol &hFF", "255"},        {"textcol #00ff00", "65280"},
        {"textcol gray", "8421504"}, {"textcol orange", "16777215"}, {"textcol", "16777215"},
        {"textcol -5", "-5"},
    };
    for (const auto &[line, value] : table) {
        t.exe({QString::fromUtf8(line)});
        EXPECT_EQ(t->opt[Options::TextColour], QString::fromUtf8(value)) << line;
    }
    t.exe({QStringLiteral("textcol red")});
    EXPECT_EQ(t.rowColour(33), 255);
    // A bad "#" form is an error and changes nothing.
    t.exe({QStringLiteral("textcol #12")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Type mismatch (13)"));
    EXPECT_EQ(t->opt[Options::TextColour], QStringLiteral("255"));
    t.exe({QStringLiteral("write red text")});
    EXPECT_EQ(t.rowColour(1), 255);
}

TEST(Appearance, TextbgcPutsABoxBehindEachCharacterOrNone)
{
    TestSession t;
    t.exe({QStringLiteral("background blue"), QStringLiteral("write X")});
    EXPECT_EQ(cellCorner(t, 1, 1), QColor(Qt::blue));
    t.exe({QStringLiteral("textbgc"), QStringLiteral("write X")});
    EXPECT_EQ(t->opt[Options::TextBackground], QStringLiteral("0"));
    EXPECT_EQ(cellCorner(t, 1, 1), QColor(Qt::black));
    // Cells not written show the background.
    EXPECT_EQ(cellCorner(t, 50, 10), QColor(Qt::blue));
    t.exe({QStringLiteral("textbgc yellow"), QStringLiteral("write X")});
    EXPECT_EQ(cellCorner(t, 1, 1), QColor(Qt::yellow));
    t.exe({QStringLiteral("textbgc NONE"), QStringLiteral("write X")});
    EXPECT_EQ(t->opt[Options::TextBackground], QString());
    EXPECT_EQ(cellCorner(t, 1, 1), QColor(Qt::blue));
}

TEST(Appearance, BackgroundTakesAColourOrAPictureFile)
{
    TestSession t;
    t.exe({QStringLiteral("background blue")});
    EXPECT_EQ(t.pixel(500, 500), QColor(Qt::blue));
    EXPECT_EQ(t->opt[Options::Background], QStringLiteral("blue"));

    // A picture sits at the top-left at its natural size; the colour shows beyond it.
    const QString png = t.file(QStringLiteral("back.png"));
    ASSERT_TRUE(PictureFiles::gradient(100, 50).save(png));
    t.exe({QStringLiteral("background ") + png});
    EXPECT_EQ(t.pixel(99, 49), QColor(99, 49, 77));
    EXPECT_EQ(t.pixel(100, 49), QColor(Qt::blue));
    EXPECT_EQ(t.pixel(500, 500), QColor(Qt::blue));
    EXPECT_EQ(t->opt[Options::Background], png);

    // A file that is not a picture fails and leaves everything as it was.
    const QString text = t.file(QStringLiteral("notes.txt"));
    TextFile::save(text, "not a picture");
    t.exe({QStringLiteral("background ") + text});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Invalid picture (481)"));
    EXPECT_EQ(t->opt[Options::Background], png);
    t.exe({QStringLiteral("cls")});
    EXPECT_EQ(t.pixel(99, 49), QColor(99, 49, 77));

    t.exe({QStringLiteral("background")});
    EXPECT_EQ(t.pixel(50, 20), QColor(Qt::black));
    EXPECT_EQ(t->opt[Options::Background], QString());
    // A missing file that names no colour: black, and the name is kept for the next start.
    t.exe({QStringLiteral("background blue"), QStringLiteral("background nosuch.png")});
    EXPECT_EQ(t.pixel(500, 500), QColor(Qt::black));
    EXPECT_EQ(t->opt[Options::Background], QStringLiteral("nosuch.png"));
}

TEST(Appearance, APictureBackgroundComesBackAfterARestart)
{
    TestSession t;
    const QString png = t.file(QStringLiteral("back.png"));
    ASSERT_TRUE(PictureFiles::gradient(100, 50).save(png));
    startUp(*t);
    t.exe({QStringLiteral("background ") + png});
    shutDown(*t);
    t.restart();
    startUp(*t);
    EXPECT_EQ(t.pixel(10, 20), QColor(10, 20, 77));
    EXPECT_EQ(t.pixel(600, 20), QColor(Qt::black));
}

TEST(Appearance, EveryCommonPictureFormatLoads)
{
    TestSession t;
    const QImage image = PictureFiles::gradient(40, 30);
    for (const char *format : {"png", "bmp", "jpg", "ico", "cur", "webp", "tiff"}) {
        const QString path = t.file(QStringLiteral("pic.") + QString::fromLatin1(format));
        ASSERT_TRUE(image.save(path, format, 100)) << format;
        t.exe({QStringLiteral("background ") + path});
        EXPECT_EQ(t.row(2), QString()) << format;
        const QColor seen = t.pixel(20, 10);
        EXPECT_NEAR(seen.red(), 20, 8) << format;
        EXPECT_NEAR(seen.green(), 10, 8) << format;
    }
    const QString gif = t.file(QStringLiteral("red.gif"));
    TextFile::save(gif, PictureFiles::redGif());
    t.exe({QStringLiteral("background ") + gif});
    EXPECT_EQ(t.pixel(0, 0), QColor(Qt::red));
    EXPECT_EQ(t.pixel(1, 0), QColor(Qt::black));

    const QString rle = t.file(QStringLiteral("rle.bmp"));
    TextFile::save(rle, PictureFiles::rle8Bmp());
    t.exe({QStringLiteral("background ") + rle});
    EXPECT_EQ(t.row(2), QString());
    EXPECT_EQ(t.pixel(3, 0), QColor(Qt::blue));
    EXPECT_EQ(t.pixel(3, 1), QColor(Qt::red));
    EXPECT_EQ(t.pixel(4, 1), QColor(Qt::black));
}

} // namespace
