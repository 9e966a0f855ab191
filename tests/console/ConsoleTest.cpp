// The console's text drawing: cell record, wrapping, typing and the pixels it leaves.

#include "PictureFiles.h"
#include "TestSession.h"
#include "foundation/RuntimeError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The most strongly covered pixel of a cell: where the glyph is solid.
QColor solidGlyphPixel(const QImage &image, int column, int row, QColor background)
{
    const QRect r = Cell::rect(column, row);
    QColor best = background;
    int bestDistance = -1;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - background.red()) +
                                 std::abs(c.green() - background.green()) +
                                 std::abs(c.blue() - background.blue());
            if (distance > bestDistance) {
                bestDistance = distance;
                best = c;
            }
        }
    }
    return best;
}

TEST(Console, CellRecordEntriesHoldCharacterAndColourInNineCharacters)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    qint32 red = 255, white = 16777215, black = 0, fromText = -1;
    console.DrawChar(u'A', 1, 1, red);
    console.DrawChar(u'A', 2, 1, white);
    console.DrawChar(u' ', 3, 1, black);
    console.DrawChar(u'Z', 4, 1, fromText);
    EXPECT_EQ(console.scrCells().entry(1, 1), QStringLiteral("A255     "));
    EXPECT_EQ(console.scrCells().entry(2, 1), QStringLiteral("A16777215"));
    EXPECT_EQ(console.scrCells().entry(3, 1), QStringLiteral(" 0       "));
    // -1 is replaced by the text colour, and the caller sees the replacement.
    EXPECT_EQ(fromText, 16777215);
    EXPECT_EQ(console.scrCells().entry(4, 1), QStringLiteral("Z16777215"));
    EXPECT_EQ(console.scrCells().entry(5, 1), QString(9, QChar(0)));
    // A negative colour is cut to the fixed nine characters.
    qint32 negative = -16777216;
    console.DrawChar(u'N', 6, 1, negative);
    EXPECT_EQ(console.scrCells().entry(6, 1), QStringLiteral("N-1677721"));
    console.ClScreen();
    EXPECT_EQ(console.scrCells().entry(1, 1), QString(9, QChar(0)));
}

TEST(Console, DrawTextWrapsWithHangingIndentAndFailsPastRow37)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    const QString text(200, u'x');
    EXPECT_EQ(console.DrawText(text, 5), 7);
    EXPECT_EQ(t.row(5), QString(93, u'x'));
    EXPECT_EQ(t.row(6), QString(93, u'x'));
    EXPECT_EQ(t.row(7), QString(14, u'x'));

    console.ClScreen();
    EXPECT_EQ(console.DrawText(QString(100, u'y'), 10, -1, 10), 11);
    EXPECT_EQ(t.row(10), QString(10, u' ') + QString(83, u'y'));
    EXPECT_EQ(t.row(11), QString(10, u' ') + QString(17, u'y'));

    // Started in column 93 a text runs down that column; further right it never wraps
    // and runs into the record's end.
    console.ClScreen();
    EXPECT_EQ(console.DrawText(QStringLiteral("abc"), 1, -1, 92), 4);
    EXPECT_EQ(console.scrCells().character(93, 3), u'c');
    EXPECT_THROW(console.DrawText(QStringLiteral("abc"), 5, -1, 93), RuntimeError);
    EXPECT_EQ(console.scrCells().character(94, 5), u'a');

    console.ClScreen();
    try {
        console.DrawText(QString(93 * 2 + 1, u'z'), 37);
        FAIL() << "no error past row 37";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 9);
        EXPECT_EQ(error.description(), QStringLiteral("Subscript out of range"));
    }
    // What was drawn before the failure stays.
    EXPECT_EQ(t.row(37), QString(93, u'z'));
}

TEST(Console, TypeTextFillsTheCommandLineAndDropsWhatFallsPastRow36)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    console.TypeText(QString(81, u'a'));
    EXPECT_EQ(console.curCol, 1);
    EXPECT_EQ(console.curRow, 34);
    EXPECT_EQ(t.row(33), QStringLiteral("   COMMAND: ") + QString(81, u'a'));
    console.TypeText(QString(93 * 3 + 10, u'b'));
    EXPECT_EQ(console.curRow, 37);
    EXPECT_EQ(console.cmdText.size(), 81 + 93 * 3);
    EXPECT_EQ(t.row(36), QString(93, u'b'));
    EXPECT_EQ(t.row(37), QString());
    // Line breaks are typed as characters into the one command line.
    console.cmdText.clear();
    console.curCol = Console::kHomeColumn;
    console.curRow = Console::kHomeRow;
    console.TypeText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(console.cmdText, QStringLiteral("a\r\nb"));
    EXPECT_EQ(console.curCol, 17);
}

TEST(Console, GlyphsAreDrawnInTheirColourOverTheBackgroundOrTextBackground)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    qint32 red = 255;
    console.DrawChar(u'W', 10, 5, red);
    const QImage &image = console.surface();
    EXPECT_EQ(solidGlyphPixel(image, 10, 5, Qt::black), QColor(255, 0, 0));
    // The glyph stays inside its cell: the cells around it are untouched background.
    for (const QPoint cell : {QPoint(9, 5), QPoint(11, 5), QPoint(10, 4), QPoint(10, 6)})
        EXPECT_EQ(solidGlyphPixel(image, cell.x(), cell.y(), Qt::black), QColor(Qt::black));

    // A text background fills the whole cell behind the glyph.
    t->opt[Options::TextBackground] = QStringLiteral("16711680"); // blue
    qint32 white = 16777215;
    console.DrawChar(u'.', 20, 5, white);
    const QRect cell = Cell::rect(20, 5);
    EXPECT_EQ(image.pixelColor(cell.topLeft()), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(cell.bottomRight()), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(cell.right() + 1, cell.top()), QColor(Qt::black));

    // Clearing copies the background back over everything.
    console.ClScreen();
    EXPECT_EQ(solidGlyphPixel(image, 10, 5, Qt::black), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(cell.topLeft()), QColor(Qt::black));
}

TEST(Console, ColourBlockPaintsWithoutRecordingAndChartShowsTheSixteenColours)
{
    TestSession t;
    Console &console = t->console;
    console.ClScreen();
    console.ColourBlock(3, 4, 65280);
    EXPECT_EQ(console.surface().pixelColor(Cell::rect(4, 3).center()), QColor(0, 255, 0));
    EXPECT_EQ(console.scrCells().character(4, 3), QChar(0));

    console.ClScreen();
    console.ColourText(2.7);
    EXPECT_EQ(t.row(2).left(17), QStringLiteral("Built-in Colours:"));
    EXPECT_EQ(t.row(2).mid(48), QStringLiteral("As well as using the colour names, you can"));
    EXPECT_EQ(t.row(4).mid(7, 5), QStringLiteral("black"));
    EXPECT_EQ(t.row(18).mid(7, 9), QStringLiteral("grey/gray"));
    EXPECT_EQ(t.row(18).mid(27, 5), QStringLiteral("white"));
    EXPECT_EQ(t.row(14).mid(27, 15), QStringLiteral("fuchsia/magenta"));
    EXPECT_EQ(console.surface().pixelColor(Cell::rect(5, 6).center()), QColor(128, 0, 0)); // maroon
    EXPECT_EQ(console.surface().pixelColor(Cell::rect(25, 14).center()),
              QColor(255, 0, 255)); // fuchsia
    EXPECT_EQ(console.surface().pixelColor(Cell::rect(25, 18).center()), QColor(255, 255, 255));
}

// A screen of its own (pager, question, external command) starts cleared, in the console font,
// without the prompt; back at the prompt, the line being typed is drawn again. The prompt and
// an alias being expanded share the screen: moving between them clears nothing.
TEST(Console, ModesWithAScreenOfTheirOwnClearItBothWays)
{
    TestSession t;
    Console &console = t->console;
    using Mode = Console::Mode;
    t.keys(QStringLiteral("text:wri,Left"));
    for (const Mode mode : {Mode::Pager, Mode::ConfirmationAwaited, Mode::ExternalCommand}) {
        console.DrawText(QStringLiteral("kept"), 1);
        console.setMode(Mode::AliasExpansion);
        EXPECT_EQ(t.row(1), QStringLiteral("kept"));
        console.setFace(GlyphCache::Face::Arrows);
        console.setMode(mode);
        EXPECT_EQ(t.row(1) + t.row(33), QString()) << static_cast<int>(mode);
        console.DrawText(QStringLiteral("in the console font"), 1);
        EXPECT_EQ(t.row(1), QStringLiteral("in the console font"));
        console.setMode(Mode::Prompt);
        EXPECT_EQ(t.row(1) + t.row(33), QStringLiteral("   COMMAND: wri"));
        t.keys(QStringLiteral("text:t"));
        EXPECT_EQ(t.row(33), QStringLiteral("   COMMAND: wrti")); // the cursor where it was
        t.keys(QStringLiteral("Backspace"));
    }
}

// A clear copies the background only where something was drawn since the last one: after
// each of these, `cls` leaves exactly what a session that ran only the setting lines shows.
TEST(Console, AClearWipesEverythingDrawnSinceTheLastOneAndRepaintsOnlyThat)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("wall.png"));
    ASSERT_TRUE(PictureFiles::gradient(300, 200).save(picture));
    const QString background = QStringLiteral("background ") + picture;
    struct Case
    {
        const char *name;
        QStringList lines;
        QString typed;
        QStringList settings;
    };
    const Case cases[] = {
        {"lines of text", {"write top line", "write again", "now"}, {}, {}},
        {"a typed command line", {"write x"}, "typed but never run", {}},
        {"text background", {"textbgc red", "write on red"}, {}, {"textbgc red"}},
        {"shapes over the whole surface",
         {"box 0,0,1023,767,red,1,1", "line 0,767,1023,0,lime,3", "pixel 1023,767,white",
          "circle 1000,20,40,blue,1,1", "block 94,37,yellow", "text 900,700,white,A"},
         {},
         {}},
        {"tiled pictures", {"picture 0,0," + picture + ",4,4"}, {}, {}},
        {"a picture background put behind drawn text",
         {"write under", "now", background},
         {},
         {background}},
        {"a colour background", {"write x", "background navy", "write y"}, {}, {"background navy"}},
        {"a paged listing", {"help"}, {}, {}},
    };
    for (const Case &c : cases) {
        TestSession drawn;
        for (const QString &line : c.lines)
            drawn.exe({line});
        if (!c.typed.isEmpty())
            drawn.keys(QStringLiteral("text:") + c.typed);
        drawn.keys(QStringLiteral("Escape"));
        drawn->console.cmdText.clear();
        drawn.exe({QStringLiteral("cls")});
        TestSession plain;
        for (const QString &line : c.settings)
            plain.exe({line});
        plain.exe({QStringLiteral("cls")});
        EXPECT_TRUE(drawn->console.surface() == plain->console.surface()) << c.name;
    }

    // A batch of lines: each clear repaints the line and the prompt, not the rows between.
    TestSession t;
    t.exe({QStringLiteral("write first")});
    t->console.takeDirty();
    t.exe({QStringLiteral("write second")});
    const QRegion dirty = t->console.takeDirty();
    EXPECT_TRUE(dirty.contains(Cell::rect(1, 1).center()));
    EXPECT_TRUE(dirty.contains(Cell::rect(Console::kHomeColumn - 2, Console::kHomeRow).center()));
    EXPECT_FALSE(dirty.intersects(Cell::rect(1, 10).united(Cell::rect(93, 30))));
}

// Text over a plain colour is blended through a table of the two colours; over a picture,
// pixel by pixel. A picture of that one colour must show the same pixels.
TEST(Console, TextOverAPlainColourMatchesTextOverAPictureOfThatColour)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("navy.png"));
    QImage navy(Cell::kSurfaceWidth, Cell::kSurfaceHeight, QImage::Format_RGB32);
    navy.fill(qRgb(0, 0, 128));
    ASSERT_TRUE(navy.save(picture));
    const QStringList text = {"textcol 8421504", "write grey", "textcol yellow",
                              "write Mixed TEXT, digits 0123 and marks ~!@#"};
    TestSession plain;
    TestSession pictured;
    plain.exe({QStringLiteral("background navy")});
    pictured.exe({QStringLiteral("background ") + picture});
    for (const QString &line : text) {
        plain.exe({line});
        pictured.exe({line});
    }
    EXPECT_TRUE(plain->console.surface() == pictured->console.surface());
    EXPECT_NE(solidGlyphPixel(plain->console.surface(), 1, 1, QColor(0, 0, 128)),
              QColor(0, 0, 128));
}

} // namespace
