// The user's volume for the playlist players, and the fade that starts from it.

#include "TestSession.h"
#include "console/VirtualKeys.h"
#include "player/MpvPlayer.h"
#include "player/PlaylistCommands.h"

#include <gtest/gtest.h>

namespace {

void fill(TestSession &t, int count)
{
    t.linkTracks(count, 1);
    for (int i = 0; i < count; ++i)
        t->playlist[i] = {QString::number(i + 1), QStringLiteral("1")};
}

// The levels the volumes give, and mpv's volume for them: the same number, as both use the
// cubic curve.
TEST(PlaylistVolume, VolumesMapToLevelsOnTheCubicCurve)
{
    const std::pair<int, int> levels[] = {{100, 0}, {50, -1806}, {10, -6000}, {1, -12000}};
    for (const auto &[volume, level] : levels) {
        EXPECT_EQ(Players::levelOf(volume), level) << volume;
        EXPECT_NEAR(MpvPlayer::mpvVolume(level), volume, 0.01) << volume;
    }
    EXPECT_EQ(Players::levelOf(0), Players::kSilent);
    EXPECT_EQ(QByteArray::number(MpvPlayer::mpvVolume(Players::kSilent), 'f', 4), "0.0000");
}

// vlvol shows, sets or explains itself; a set volume reaches both playlist players at once
// but never the audio and video player.
TEST(PlaylistVolume, VlvolShowsSetsAndRejects)
{
    TestSession t;
    struct Case
    {
        const char *line;
        const char *row1;
        int volume;
    };
    const Case cases[] = {
        {"vlvol", "The playlist volume is 100.", 100},
        {"vlvol 50", "The playlist volume is set to 50.", 50},
        {"vlvol", "The playlist volume is 50.", 50},
        {"vlvol 101", "Usage: vlvol [0..100]", 50},
        {"vlvol -1", "Usage: vlvol [0..100]", 50},
        {"vlvol 5.5", "Usage: vlvol [0..100]", 50},
        {"vlvol loud", "Usage: vlvol [0..100]", 50},
        {"vlvol 1 2", "Usage: vlvol [0..100]", 50},
        {"vlvol 0", "The playlist volume is set to 0.", 0},
        {"vlvol 100", "The playlist volume is set to 100.", 100},
    };
    for (const Case &c : cases) {
        t.exe({QStringLiteral("cls"), QString::fromLatin1(c.line)});
        EXPECT_EQ(t.row(1), QString::fromLatin1(c.row1)) << c.line;
        EXPECT_EQ(t->opt.playerVolume(), c.volume) << c.line;
        EXPECT_EQ(t.player(0).vol, Players::levelOf(c.volume)) << c.line;
        EXPECT_EQ(t.player(1).vol, Players::levelOf(c.volume)) << c.line;
        EXPECT_EQ(t.player(2).vol, MediaPlayer::kFullVolume) << c.line;
    }
}

// At volume 50 a skip fades the old track from -18.06 dB down by 40 dB in 400 steps; then
// both players are back at the volume.
TEST(PlaylistVolume, TheFadeStartsAtTheSetVolume)
{
    TestSession t;
    fill(t, 3);
    t.exe({QStringLiteral("vlvol 50")});
    t->players.playCurrent(); // entry 0 on wmp(1)
    t->pager.mline(QStringLiteral("h1\r\nh2\r\na"));
    t->pager.plView = true;
    t->keyboard.keystroke(Vk::F12, 0, 0);
    EXPECT_EQ(t.player(0).vol, -1806);
    t.wait(399 * Players::kFadeInterval);
    EXPECT_EQ(t.player(1).vol, -1806 - 3990);
    EXPECT_EQ(t.player(1).stops, 0);
    t.wait(Players::kFadeInterval);
    EXPECT_EQ(t.player(1).stops, 1);
    EXPECT_FALSE(t->players.fading());
    EXPECT_EQ(t.player(0).vol, -1806);
    EXPECT_EQ(t.player(1).vol, -1806);
}

// A track started on the player still fading out (F12, then a new list within the fade's
// five seconds) ends that fade: it plays on at the set volume and is never stopped by it.
TEST(PlaylistVolume, ATrackStartedDuringAFadeIsNotFadedOut)
{
    const std::vector<QStringList> restarts = {
        {QStringLiteral("pat 3 1")},
        {QStringLiteral("partistn 2")},
        {QStringLiteral("vlreset"), QStringLiteral("addat 3 1"), QStringLiteral("vlplay")},
    };
    for (const int volume : {100, 30}) {
        for (const QStringList &lines : restarts) {
            SCOPED_TRACE(lines.join(u';').toStdString() + " at volume " + std::to_string(volume));
            TestSession t;
            fill(t, 3);
            t->opt.setPlayerVolume(volume);
            t->players.playCurrent(); // entry 0 on wmp(1)
            t->pager.mline(QStringLiteral("h1\r\nh2\r\na"));
            t->pager.plView = true;
            t.keys(QStringLiteral("F12")); // wmp(1) fades, wmp(0) plays entry 1
            t.wait(Players::kFadeInterval);
            for (const QString &line : lines)
                t->exe(line);
            ASSERT_EQ(t->players.inUseIndex(), 1);
            EXPECT_FALSE(t->players.fading());
            t.wait(400 * Players::kFadeInterval); // the rest of the fade, had it gone on
            EXPECT_EQ(t.player(0).vol, Players::levelOf(volume));
            EXPECT_EQ(t.player(1).vol, Players::levelOf(volume));
            EXPECT_EQ(t.player(1).stops, 0);
            EXPECT_EQ(t.player(1).playState(), MediaPlayer::kPlaying);
            EXPECT_FALSE(t.player(1).file.isEmpty());
        }
    }
}

} // namespace
