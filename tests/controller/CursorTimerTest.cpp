// The 100 ms tick: cursor blink, now-playing status and title, random drawing, auto-advance.

#include "TestSession.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(CursorTimer, TheCursorBlinksOnlyAtThePromptWithNoBatch)
{
    TestSession t;
    t->console.ClScreen();
    CursorTimer &timer = t->cursorTimer;
    const auto cursorCell = [&] { return t->console.scrCells().character(13, 33); };
    timer.tick();
    EXPECT_TRUE(timer.cursorOn);
    EXPECT_EQ(cursorCell(), u'_');
    timer.tick();
    EXPECT_FALSE(timer.cursorOn);
    EXPECT_EQ(cursorCell(), u' ');
    timer.tick();
    t->batch.initbatch(t.file(QStringLiteral("running.txt")));
    timer.tick();
    EXPECT_TRUE(timer.cursorOn);
    EXPECT_EQ(cursorCell(), u'_');
    t->batch.stopbatch();
    t->console.setMode(Console::Mode::Pager);
    timer.tick();
    EXPECT_TRUE(timer.cursorOn);

    // Losing the focus stops the timer and hides the cursor; getting it back shows it.
    t->console.setMode(Console::Mode::Prompt);
    t->keyboard.lostFocus();
    EXPECT_FALSE(timer.timFlash.isActive());
    EXPECT_EQ(cursorCell(), u' ');
    t->keyboard.gotFocus();
    EXPECT_TRUE(timer.timFlash.isActive());
    EXPECT_EQ(timer.timFlash.interval(), 100);
    EXPECT_EQ(cursorCell(), u'_');
}

TEST(CursorTimer, StatusShowsPauseAndTimesOnlyWhenAskedFor)
{
    TestSession t;
    FakeMediaPlayer &player = t.player(0); // opt(12) is "0"
    player.file = QStringLiteral("/music/a.mp3");
    player.state = MediaPlayer::kPaused;
    player.pos = 125.7;
    player.dur = 3725;
    t->cursorTimer.tick();
    EXPECT_EQ(t.row(25), QString());
    EXPECT_EQ(t.row(29), QString());
    EXPECT_EQ(t.row(30), QString());

    t->opt[Options::ShowNowPlaying] = QStringLiteral("1");
    t->cursorTimer.tick();
    EXPECT_EQ(t.row(25), QStringLiteral("PAUSED"));
    EXPECT_EQ(t.row(29), QStringLiteral("Time:"));
    EXPECT_EQ(t.row(30), QStringLiteral("2:05 / 62:05"));
    // Playing again leaves PAUSED until the console is cleared.
    player.state = MediaPlayer::kPlaying;
    player.pos = 59.99;
    player.dur = 60;
    t->cursorTimer.tick();
    EXPECT_EQ(t.row(25), QStringLiteral("PAUSED"));
    EXPECT_EQ(t.row(30), QStringLiteral("0:59 / 1:00"));
    t.exe({QStringLiteral("cls")});
    t->cursorTimer.tick();
    EXPECT_EQ(t.row(25), QString());

    // The title changes in the playlist view only.
    t->console.setMode(Console::Mode::Pager);
    t->cursorTimer.tick();
    EXPECT_EQ(t->windowTitle(), QStringLiteral("idrisk2k Command"));
    t->pager.plView = true;
    t->cursorTimer.tick();
    EXPECT_EQ(t->windowTitle(), QStringLiteral("0:59 / 1:00 - idrisk2k Command"));
}

// The values after the command word, and checks of their ranges.
QList<int> values(const QString &command, const QString &word)
{
    EXPECT_TRUE(command.startsWith(word + u' ')) << command.toStdString();
    QList<int> numbers;
    for (const QString &v : command.mid(word.size() + 1).split(u','))
        numbers.append(v.toInt());
    return numbers;
}

void expectWithin(int value, int low, int high)
{
    EXPECT_GE(value, low);
    EXPECT_LE(value, high);
}

TEST(CursorTimer, RandomShapesStayWithinTheirRanges)
{
    TestSession t;
    CursorTimer &timer = t->cursorTimer;
    QSet<int> boxValueCounts;
    QSet<int> circleValueCounts;
    for (int i = 0; i < 2000; ++i) {
        QList<int> v = values(timer.randomCommand(0), QStringLiteral("block"));
        ASSERT_EQ(v.size(), 5);
        expectWithin(v[0], 1, 93);
        expectWithin(v[1], 1, 36);
        expectWithin(v[2], 0, 16777214);
        expectWithin(v[3], 1, 80);
        expectWithin(v[4], 1, 30);

        v = values(timer.randomCommand(1), QStringLiteral("box"));
        boxValueCounts.insert(static_cast<int>(v.size()));
        ASSERT_GE(v.size(), 6);
        expectWithin(v[0], -1024, 1023);
        expectWithin(v[1], -768, 767);
        expectWithin(v[2] - v[0], 0, 1023);
        expectWithin(v[3] - v[1], 0, 767);
        expectWithin(v[5], 1, 100);
        if (v.size() == 7) {
            EXPECT_EQ(v[6], 1);
        }

        v = values(timer.randomCommand(2), QStringLiteral("circle"));
        circleValueCounts.insert(static_cast<int>(v.size()));
        ASSERT_GE(v.size(), 5);
        expectWithin(v[2], 1, 1024);
        expectWithin(v[4], 1, 100);

        v = values(timer.randomCommand(3), QStringLiteral("line"));
        ASSERT_EQ(v.size(), 6);
        expectWithin(v[0], 0, 1024);
        expectWithin(v[3], 0, 768);

        v = values(timer.randomCommand(4), QStringLiteral("pixel"));
        ASSERT_EQ(v.size(), 3);
        expectWithin(v[1], 0, 768);
    }
    EXPECT_EQ(boxValueCounts, QSet<int>({6, 7}));
    EXPECT_EQ(circleValueCounts, QSet<int>({5, 6}));
    EXPECT_EQ(timer.randomCommand(5), QString());
}

TEST(CursorTimer, RandomDrawingModeRunsOneCommandPerTick)
{
    TestSession t;
    t->opt[Options::LastCommand] = QStringLiteral("before");
    t->opt[Options::RandomDrawing] = QStringLiteral("7");
    t->cursorTimer.tick();
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("before"));

    t->opt[Options::RandomDrawing] = QStringLiteral("3");
    t->cursorTimer.tick();
    EXPECT_TRUE(t->opt[Options::LastCommand].startsWith(QStringLiteral("circle ")));

    t->opt[Options::RandomDrawing] = QStringLiteral("6");
    QSet<QString> words;
    for (int i = 0; i < 200; ++i) {
        t->cursorTimer.tick();
        words.insert(t->opt[Options::LastCommand].section(u' ', 0, 0));
    }
    EXPECT_GE(words.size(), 3);
    EXPECT_TRUE(
        QSet<QString>({QStringLiteral("block"), QStringLiteral("box"), QStringLiteral("circle"),
                       QStringLiteral("line"), QStringLiteral("pixel")})
            .contains(words));
}

} // namespace

// Inside the line the cursor blinks over the character under it and gives it back, a wide
// character whole, on the row the line has wrapped to.
TEST(CursorTimer, TheCursorInsideTheLineGivesBackTheCharacterUnderIt)
{
    TestSession t;
    t->console.ClScreen();
    // 80 cells of "a" end in column 92: the wide character cannot start in 93 and wraps.
    t.keys(QStringLiteral("text:") + QString(80, u'a') + QStringLiteral("漢b,Left,Left"));
    CursorTimer &timer = t->cursorTimer;
    timer.cursorOn = false;
    timer.tick();
    EXPECT_EQ(t.row(34), QStringLiteral("_ b"));
    timer.tick();
    EXPECT_EQ(t.row(34), QStringLiteral("漢b"));
    EXPECT_EQ(t->console.curRow, 34);
    EXPECT_EQ(t->console.curCol, 1);
}
