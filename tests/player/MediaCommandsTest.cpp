// audio and video on the third player: what each argument form sets, in which order, and
// what a bad piece leaves behind.

#include "TestSession.h"

#include <gtest/gtest.h>

namespace {

struct AudioCase
{
    const char *line;
    const char *file;
    int count;
    const char *error;
};

} // namespace

TEST(MediaCommands, AudioSetsThePlayCountThenTheFile)
{
    const AudioCase cases[] = {
        {"audio 2,/music/a.mp3", "/music/a.mp3", 2, ""},
        {"audio 0,/music/loop.wav", "/music/loop.wav", 0, ""},
        // No comma: the file name is empty, so any sound stops.
        {"audio 3", "", 3, ""},
        // A comma ends the file name; the rest is a further piece.
        {"audio 1,/music/a,b.mp3", "/music/a", 1, ""},
        {"audio x,/music/a.mp3", "/music/old.mp3", 5, "Type mismatch (13)"},
        {"audio 1,a,b,c,d,e,f,g,h,i,j,k", "/music/old.mp3", 5, "Subscript out of range (9)"},
        {"audio", "", 5, ""},
    };
    for (const AudioCase &c : cases) {
        TestSession t;
        FakeMediaPlayer &player = t.player(2);
        player.setFileName(QStringLiteral("/music/old.mp3"));
        player.count = 5;
        t.exe({QString::fromUtf8(c.line)});
        EXPECT_EQ(player.file, QString::fromUtf8(c.file)) << c.line;
        EXPECT_EQ(player.count, c.count) << c.line;
        const QString error = QString::fromUtf8(c.error);
        EXPECT_EQ(t.row(2), error.isEmpty() ? QString() : "An error has occurred: " + error) << c.line;
        EXPECT_EQ(t.player(0).file, QString()) << "the playlist players are not touched";
    }
}

TEST(MediaCommands, VideoPlacesTheViewInTwipsAndPlays)
{
    TestSession t;
    t.exe({QStringLiteral("write kept"), QStringLiteral("video 1,1500,750,4800,3600,/v/clip.mkv")});
    const Players::VideoArea &area = t->players.videoArea();
    EXPECT_TRUE(area.visible);
    // 15 twips a pixel: 100 pixels from the left, 320 wide.
    EXPECT_EQ(area.pixels(), QRect(100, 50, 320, 240));
    EXPECT_EQ(t.player(2).file, QStringLiteral("/v/clip.mkv"));
    EXPECT_EQ(t.player(2).count, 1);
    EXPECT_EQ(t.row(1), QStringLiteral("kept")) << "video draws over the screen, not clearing it";

    // audio alone stops the video but leaves its view; video alone hides it.
    t.exe({QStringLiteral("audio")});
    EXPECT_TRUE(t->players.videoArea().visible);
    EXPECT_EQ(t.player(2).file, QString());
    t.exe({QStringLiteral("video")});
    EXPECT_FALSE(t->players.videoArea().visible);
}

TEST(MediaCommands, VideoStopsAtABadPieceWithTheStepsBeforeItDone)
{
    TestSession t;
    t.exe({QStringLiteral("video x,0,0,10,10,/v/a.mkv")});
    EXPECT_TRUE(t->players.videoArea().visible) << "shown before the count is read";
    EXPECT_EQ(t.player(2).file, QString());
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Type mismatch (13)"));

    // The file plays before the width is read.
    t.exe({QStringLiteral("video 1,15,15,wide,10,/v/b.mkv")});
    EXPECT_EQ(t.player(2).file, QStringLiteral("/v/b.mkv"));
    EXPECT_EQ(t->players.videoArea().left, 15.0f);
    EXPECT_EQ(t->players.videoArea().pixels(), QRect()) << "no width yet";

    t.exe({QStringLiteral("video 1,1e39,0,10,10,/v/c.mkv")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Overflow (6)"));
    // Far off the console, the area stays in range instead of overflowing.
    t.exe({QStringLiteral("video 1,-3e38,3e38,3e38,3e38,/v/c.mkv")});
    EXPECT_FALSE(t->players.videoArea().pixels().isEmpty());
}
