// The playlist on real libmpv players (null audio, real time) with tones made on the spot:
// a track starts, the next one starts five seconds before the end on the other player while
// the first plays out, and a skip fades the old track while the new one plays. The players'
// own timers (the advance, the fade) run on a clock the tests move.

#include "EventLoop.h"
#include "TestSession.h"
#include "ToneFile.h"
#include "foundation/Timers.h"
#include "player/PlaylistCommands.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PlaylistOnMpv : public ::testing::Test
{
protected:
    QTemporaryDir home;
    ManualClock clock;
    Session s{withClock(realPlayers(home))};

    Session::Config withClock(Session::Config config)
    {
        config.timers = &clock;
        return config;
    }

    // Artist 1 with tracks of the given lengths, each a tone file linked from the catalogue.
    void tracks(std::initializer_list<int> milliseconds)
    {
        s.opt.ResetOpts();
        s.vld.SetValue(QStringLiteral("Artists"), QStringLiteral("1"));
        int t = 0;
        for (const int length : milliseconds) {
            ++t;
            const QString path = home.filePath(QStringLiteral("%1.wav").arg(t));
            ASSERT_TRUE(ToneFile::writeWav(path, {{220.0 * t, length}}));
            s.vld.SetValue(QStringLiteral("1Filename%1").arg(t), u'L' + path);
            s.playlist[t - 1] = {QStringLiteral("1"), QString::number(t)};
        }
    }
};

TEST_F(PlaylistOnMpv, TheNextTrackStartsFiveSecondsBeforeTheEndOnTheOtherPlayer)
{
    tracks({6500, 3000});
    s.players.playCurrent();
    MediaPlayer &first = s.players.inUse();
    ASSERT_TRUE(waitFor([&] { return first.duration() > 6; }, 5000));
    EXPECT_EQ(first.playState(), MediaPlayer::kPlaying);
    s.players.startAdvancing();
    // The rule's clock ticks as often as the loop polls; mpv's position moves in real time.
    ASSERT_TRUE(waitFor(
        [&] {
            clock.advance(100);
            return s.playlist.plIndex == 1;
        },
        5000));
    // In the second in which five whole seconds remained.
    EXPECT_GE(first.position(), 1.0);
    EXPECT_LT(first.position(), 2.5);
    MediaPlayer &second = s.players.inUse();
    EXPECT_NE(&second, &first);
    ASSERT_TRUE(waitFor([&] { return second.position() > 0.2; }, 5000));
    // Both play: the first plays out its last seconds at full volume.
    EXPECT_EQ(first.playState(), MediaPlayer::kPlaying);
    EXPECT_EQ(first.volume(), 0);
    // The last entry is followed by nothing.
    ASSERT_TRUE(waitFor([&] { return second.playState() == MediaPlayer::kStopped; }, 8000));
    EXPECT_EQ(s.playlist.plIndex, 1);
}

TEST_F(PlaylistOnMpv, ASkipFadesTheOldTrackWhileTheNewOnePlays)
{
    tracks({20000, 20000});
    s.players.playCurrent();
    MediaPlayer &first = s.players.inUse();
    ASSERT_TRUE(waitFor([&] { return first.position() > 0.2; }, 5000));
    s.playlist.plIndex = 1;
    s.players.fadeOut();
    s.players.playCurrent();
    MediaPlayer &second = s.players.inUse();
    // Halfway: 200 steps of 12 ms, 10 hundredths of a decibel each.
    clock.advance(200 * 12);
    EXPECT_EQ(first.volume(), -2000);
    EXPECT_EQ(first.playState(), MediaPlayer::kPlaying);
    ASSERT_TRUE(waitFor([&] { return second.position() > 0.0; }, 5000));
    EXPECT_EQ(second.volume(), 0);
    // 40 dB down, at the 400th step, the old player stops and is back at full volume.
    clock.advance(199 * 12);
    EXPECT_TRUE(s.players.fading());
    clock.advance(12);
    EXPECT_FALSE(s.players.fading());
    ASSERT_TRUE(waitFor([&] { return first.playState() == MediaPlayer::kStopped; }, 5000));
    EXPECT_EQ(first.volume(), 0);
    EXPECT_EQ(second.playState(), MediaPlayer::kPlaying);
}

} // namespace
