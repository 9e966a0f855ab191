// The libmpv player for real, with mpv's null audio output, which plays in real time: loading,
// playing, pausing, seeking, the end of a file, files that are no media, looping.

#include "player/MpvPlayer.h"
#include "EventLoop.h"
#include "ToneFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MpvPlayerTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString tone(const char *name, int milliseconds)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(ToneFile::writeWav(path, {{440, milliseconds}}));
        return path;
    }
};

TEST_F(MpvPlayerTest, AFilePlaysPausesSeeksAndEnds)
{
    MpvPlayer player(QStringLiteral("null"));
    EXPECT_EQ(player.playState(), MediaPlayer::kClosed);
    const QString path = tone("tone.wav", 3000);
    player.setFileName(path);
    EXPECT_EQ(player.fileName(), path);
    EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
    ASSERT_TRUE(waitFor([&] { return player.position() > 0.3; }));
    EXPECT_NEAR(player.duration(), 3.0, 0.05);

    player.pause();
    EXPECT_EQ(player.playState(), MediaPlayer::kPaused);
    waitFor([] { return false; }, 300);
    const double held = player.position();
    waitFor([] { return false; }, 300);
    EXPECT_NEAR(player.position(), held, 0.05);

    player.setPosition(2.5);
    player.play();
    EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
    ASSERT_TRUE(waitFor([&] { return player.playState() == MediaPlayer::kStopped; }));
    EXPECT_EQ(player.fileName(), path);
    // A finished file starts again from its beginning.
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.position() > 0.1 && player.position() < 2; }));

    player.setFileName(QString());
    EXPECT_EQ(player.playState(), MediaPlayer::kClosed);
    EXPECT_EQ(player.position(), 0);
}

TEST_F(MpvPlayerTest, WhatIsNoMediaLeavesThePlayerClosedSilently)
{
    MpvPlayer player(QStringLiteral("null"));
    const QString text = dir.filePath(QStringLiteral("notes.mp3"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are words, not sound");
    file.close();
    for (const QString &path : {text, dir.filePath(QStringLiteral("missing.mp3"))}) {
        player.setFileName(path);
        EXPECT_TRUE(waitFor([&] { return player.playState() == MediaPlayer::kClosed; }))
            << path.toStdString();
        EXPECT_EQ(player.fileName(), QString());
    }
}

TEST_F(MpvPlayerTest, APlayCountOfZeroLoops)
{
    MpvPlayer player(QStringLiteral("null"));
    player.setPlayCount(0);
    player.setFileName(tone("loop.wav", 3000));
    ASSERT_TRUE(waitFor([&] { return player.position() > 1.0; }));
    // Past its end it plays on from the start.
    EXPECT_TRUE(waitFor([&] { return player.position() > 0 && player.position() < 0.5; }, 5000));
    EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
}

// Loads in a row, as a playlist makes them: some replaced before they load, some of the same
// length as the file before (mpv then never tells of the duration again). Once a file plays,
// its duration and position are its own.
TEST_F(MpvPlayerTest, EachOfManyLoadsInARowKnowsItsOwnDuration)
{
    MpvPlayer player(QStringLiteral("null"));
    const QList<std::pair<QString, double>> files = {{tone("a.wav", 1000), 1.0},
                                                     {tone("b.wav", 1000), 1.0},
                                                     {tone("c.wav", 1500), 1.5},
                                                     {tone("d.wav", 700), 0.7}};
    QStringList wrong;
    for (int i = 0; i < 200; ++i) {
        const auto &[path, length] = files[i % files.size()];
        player.setFileName(path);
        if (i % 3 == 2)
            continue; // replaced at once by the next load
        if (!waitFor([&] { return player.position() > 0.02; }, 5000))
            wrong.append(QStringLiteral("%1: never played").arg(i));
        else if (std::abs(player.duration() - length) > 0.05 || player.position() > length)
            wrong.append(QStringLiteral("%1: %2 of %3 s, expected %4 s")
                             .arg(i)
                             .arg(player.position())
                             .arg(player.duration())
                             .arg(length));
    }
    EXPECT_EQ(wrong, QStringList());
}

// mpv refuses a seek until the file has loaded: a position asked for at once is held until
// then. A negative one is the start, never a second before the end.
TEST_F(MpvPlayerTest, APositionAskedForWhileTheFileLoadsIsKept)
{
    MpvPlayer player(QStringLiteral("null"));
    player.setFileName(tone("six.wav", 6000));
    player.setPosition(3.5);
    // Far sooner than playing there would take.
    ASSERT_TRUE(waitFor([&] { return player.position() > 3.55; }, 1500));
    EXPECT_LT(player.position(), 5.0);

    player.setPosition(-1);
    runFor(300);
    EXPECT_LT(player.position(), 1.0);
    EXPECT_EQ(player.playState(), MediaPlayer::kPlaying);
}

// Equal steps in hundredths of a decibel are equal steps in loudness: mpv applies its volume
// cubically, so the mpv volume is 100 times the cube root of the amplitude.
TEST(MpvPlayerVolume, TheScaleIsLinearInDecibels)
{
    EXPECT_DOUBLE_EQ(MpvPlayer::mpvVolume(0), 100.0);
    EXPECT_NEAR(MpvPlayer::mpvVolume(-4000), 100.0 * std::cbrt(0.01), 1e-9);
    const double ratio = MpvPlayer::mpvVolume(-1000) / MpvPlayer::mpvVolume(0);
    EXPECT_NEAR(MpvPlayer::mpvVolume(-3000) / MpvPlayer::mpvVolume(-2000), ratio, 1e-12);
}

} // namespace
