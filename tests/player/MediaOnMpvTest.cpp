// audio and video on a real libmpv player (null audio, real time), with files made on the
// spot: a sound with repetitions 0 plays on past its end, and a video's frames arrive in
// the colour it was made of, at the size of the area the video command gave.

#include "EventLoop.h"
#include "TestSession.h"
#include "ToneFile.h"
#include "VideoFile.h"
#include "session/Session.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MediaOnMpv : public ::testing::Test
{
protected:
    QTemporaryDir home;
    Session s{realPlayers(home)};
    MediaPlayer &player = s.players.wmp(Players::kVideoPlayer);
};

} // namespace

TEST_F(MediaOnMpv, AudioWithRepetitionsZeroLoops)
{
    const QString tone = home.filePath(QStringLiteral("tone.wav"));
    ASSERT_TRUE(ToneFile::writeWav(tone, {{440.0, 1500}}));
    s.exe(QStringLiteral("audio 0,") + tone);
    ASSERT_TRUE(waitFor([&] { return player.position() > 0.5; }, 5000));
    // Past two lengths it still plays, and its position has wrapped back.
    double latest = 0;
    bool wrapped = false;
    waitFor([&] {
        const double now = player.position();
        wrapped = wrapped || now < latest - 0.2;
        latest = now;
        return false;
    }, 3500);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
    s.exe(QStringLiteral("audio"));
    EXPECT_EQ(player.playState(), MediaPlayer::kClosed);
}

TEST_F(MediaOnMpv, VideoFramesArriveAtTheAreasSize)
{
    const QString clip = home.filePath(QStringLiteral("red.y4m"));
    ASSERT_TRUE(writeY4m(clip, 64, 48, 50, 81, 90, 240));
    int frames = 0;
    s.players.setOnVideoChanged([&] { ++frames; });
    s.exe(QStringLiteral("video 1,1500,1500,4800,3600,") + clip);
    ASSERT_TRUE(waitFor([&] { return !player.videoFrame().isNull(); }, 5000));
    const QImage frame = player.videoFrame();
    EXPECT_EQ(frame.size(), QSize(320, 240));
    const QColor middle = frame.pixelColor(160, 120);
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.green(), 60);
    EXPECT_LT(middle.blue(), 60);
    EXPECT_GT(frames, 0);
    s.exe(QStringLiteral("video"));
    EXPECT_TRUE(player.videoFrame().isNull());
    EXPECT_FALSE(s.players.videoArea().visible);
}
