// The playlist's commands and the builders' shared steps, on fake players.

#include "EventLoop.h"
#include "TestSession.h"
#include "foundation/Colours.h"
#include "player/PlaylistCommands.h"
#include "controller/Lifecycle.h"

#include <gtest/gtest.h>

namespace {

void fill(TestSession &t, int count)
{
    t.linkTracks(count, 1);
    for (int i = 0; i < count; ++i)
        t->playlist[i] = {QString::number(i + 1), QStringLiteral("1")};
}

QStringList artists(TestSession &t)
{
    QStringList list;
    for (int i = 0; i < t->playlist.count(); ++i)
        list.append(t->playlist[i].artist);
    return list;
}

TEST(PlaylistCommands, RandomizeListShufflesFromItsStartOnlyWhenAsked)
{
    TestSession t;
    fill(t, 40);
    const QStringList before = artists(t);
    t->opt[Options::RandomPlaylists] = QStringLiteral("0");
    RandomizeList(*t, 0, false);
    EXPECT_EQ(artists(t), before);
    RandomizeList(*t, 39, true); // from the last entry: nothing to swap with
    EXPECT_EQ(artists(t), before);
    t->opt[Options::RandomPlaylists] = QStringLiteral("1");
    RandomizeList(*t, 10, false);
    const QStringList after = artists(t);
    EXPECT_EQ(after.mid(0, 10), before.mid(0, 10));
    EXPECT_NE(after.mid(10), before.mid(10)); // 30! orders: one of them is the old one
    QStringList sorted = after;
    std::sort(sorted.begin(), sorted.end());
    QStringList sortedBefore = before;
    std::sort(sortedBefore.begin(), sortedBefore.end());
    EXPECT_EQ(sorted, sortedBefore);
}

TEST(PlaylistCommands, PLCountIsWhereABuilderStarts)
{
    TestSession t;
    fill(t, 3);
    t->opt[Options::ResetBeforeSearch] = QStringLiteral("1");
    EXPECT_EQ(PLCount(*t), 0);
    t->opt[Options::ResetBeforeSearch] = QStringLiteral("0");
    EXPECT_EQ(PLCount(*t), 3);
    for (int i = 0; i < Playlist::kCapacity; ++i)
        t->playlist[i] = {QStringLiteral("1"), QStringLiteral("1")};
    EXPECT_EQ(PLCount(*t), 0);
    // A full table has no room for addat: the error report, the table unchanged.
    t.exe({QStringLiteral("addat 1 1")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Subscript out of range (9)"));
}

TEST(PlaylistCommands, PlayPauseResetAndDetails)
{
    TestSession t;
    fill(t, 3);
    t->playlist.plIndex = 2;
    t.exe({QStringLiteral("vlplay")}); // nothing loaded: the first entry starts
    EXPECT_EQ(t->playlist.plIndex, 0);
    EXPECT_EQ(t->players.inUse().fileName(), QStringLiteral("/music/1-1.mp3"));
    t.exe({QStringLiteral("vlpause")});
    EXPECT_EQ(t->players.inUse().playState(), MediaPlayer::kPaused);
    t.exe({QStringLiteral("vlpause")});
    EXPECT_EQ(t->players.inUse().playState(), MediaPlayer::kPlaying);
    t.exe({QStringLiteral("vlpause"), QStringLiteral("vlplay")});
    EXPECT_EQ(t->players.inUse().playState(), MediaPlayer::kPlaying);

    // vldetails: "0" becomes empty (still off), then "1", whose prompt shows the track.
    t->opt[Options::ShowNowPlaying] = QStringLiteral("0");
    t.exe({QStringLiteral("vldetails")});
    EXPECT_EQ(t->opt[Options::ShowNowPlaying], QString());
    EXPECT_EQ(t.row(27), QString());
    t.exe({QStringLiteral("vldetails")});
    EXPECT_EQ(t->opt[Options::ShowNowPlaying], QStringLiteral("1"));
    EXPECT_EQ(t.row(27), QStringLiteral("Playing track:"));
    EXPECT_EQ(t.row(28), QStringLiteral("1, 1: Artist 1 - Track 1"));

    t.exe({QStringLiteral("vlreset")});
    EXPECT_EQ(t->playlist.count(), 0);
    EXPECT_EQ(t.player(0).file, QString());
    EXPECT_EQ(t.player(1).file, QString());
}

TEST(PlaylistCommands, ShuffleStartsTheNewFirstEntryAndFadesTheOld)
{
    TestSession t;
    fill(t, 30);
    t->playlist.plIndex = 5;
    t->players.playCurrent();
    const int old = t->players.inUseIndex();
    t.exe({QStringLiteral("shuffle")});
    EXPECT_EQ(t->playlist.plIndex, 0);
    EXPECT_TRUE(t->players.fading());
    EXPECT_EQ(t->players.inUse().fileName(),
              QStringLiteral("/music/%1-1.mp3").arg(t->playlist[0].artist));
    EXPECT_NE(t->players.inUseIndex(), old);
    EXPECT_EQ(t->players.fadingPlayer(), old);
    // addat leaves "vlpl" as the last command: it ran it.
    t.exe({QStringLiteral("addat 1 1")});
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("vlpl"));
}

TEST(PlaylistCommands, TheNextEntryStartsFiveSecondsBeforeTheEndOnTheOtherPlayer)
{
    TestSession t;
    t.linkTracks(1, 2);
    t->playlist[0] = {QStringLiteral("1"), QStringLiteral("1")};
    t->playlist[1] = {QStringLiteral("1"), QStringLiteral("2")};
    FakeMediaPlayer &first = t.player(0);
    first.file = QStringLiteral("/music/1-1.mp3");
    first.state = MediaPlayer::kPlaying;
    first.dur = 200.4;
    first.pos = 194.9;
    t->players.startAdvancing();
    t.wait(Players::kAdvanceInterval);
    EXPECT_EQ(t.player(1).file, QString());
    first.pos = 195.0;
    t->console.setMode(Console::Mode::Pager); // in every mode
    t.wait(Players::kAdvanceInterval);
    EXPECT_EQ(t->playlist.plIndex, 1);
    EXPECT_EQ(t->players.inUseIndex(), 1);
    EXPECT_EQ(t.player(1).file, QStringLiteral("/music/1-2.mp3"));
    // The old track plays out its last seconds, at full volume.
    EXPECT_EQ(first.state, MediaPlayer::kPlaying);
    EXPECT_EQ(first.vol, 0);
    // After the last entry nothing follows.
    t.player(1).dur = 100;
    t.player(1).pos = 95.5;
    t.wait(Players::kAdvanceInterval);
    EXPECT_EQ(t->playlist.plIndex, 1);
    EXPECT_EQ(t->players.inUseIndex(), 1);
}

// A music player advances in the background: the end-of-track rule runs on its own timer from
// start-up on, at the prompt and in the playlist view, with the window's focus gone, and also
// when the second in which five whole seconds remain passed unseen.
TEST(PlaylistCommands, ThePlaylistAdvancesWithoutTheFocus)
{
    TestSession t;
    startUp(*t);
    fill(t, 3);
    t->playlist.plIndex = 0;
    t->players.playCurrent();
    t->keyboard.lostFocus();
    for (const double position : {7.2, 10.5}) {
        const int next = t->playlist.plIndex + 1;
        auto &playing = static_cast<FakeMediaPlayer &>(t->players.inUse());
        playing.dur = 12.4;
        playing.pos = 6.9;
        t.wait(250);
        EXPECT_EQ(t->playlist.plIndex, next - 1) << "six seconds remain";
        playing.pos = position;
        t.wait(100);
        EXPECT_EQ(t->playlist.plIndex, next) << position;
        t.exe({QStringLiteral("vlpl")});
    }
    // Nothing follows the last entry; a track under five seconds never advances.
    auto &last = static_cast<FakeMediaPlayer &>(t->players.inUse());
    last.dur = 12.4;
    last.pos = 11;
    t.wait(250);
    EXPECT_EQ(t->playlist.plIndex, 2);
    t->playlist.plIndex = 0;
    last.dur = 4.9;
    last.pos = 0.5;
    t.wait(250);
    EXPECT_EQ(t->playlist.plIndex, 0);
}

// The header lines are grey after the first page, a line up onto them, a page up onto them,
// and a redraw from the second line, and only then; the current track's page needs a file.
TEST(PlaylistCommands, ThePlaylistViewGreysItsHeaderOnlyWhereItShould)
{
    TestSession t;
    fill(t, 80);
    t.exe({QStringLiteral("vlpl")});
    Pager &pager = t->pager;
    EXPECT_EQ(t.rowColour(1), Colours::kGrey);
    EXPECT_EQ(t.rowColour(2), Colours::kGrey);
    pager.mLineDisp(1);
    pager.mLineDisp(2);
    EXPECT_EQ(t.rowColour(1), Colours::kGrey);
    pager.mLineDisp(1);
    pager.mLineDisp(7);
    EXPECT_EQ(t.rowColour(1), Colours::kGrey); // line 1 on row 1
    pager.pageTop = 0;
    pager.mLineDisp(7);
    EXPECT_NE(t.rowColour(1), Colours::kGrey);
    pager.mLineDisp(3);
    pager.mLineDisp(4);
    EXPECT_EQ(pager.pageTop, 0);
    EXPECT_EQ(t.rowColour(1), Colours::kGrey);
    pager.mLineDisp(5);
    pager.pageTop = 0;
    pager.mLineDisp(3);
    EXPECT_EQ(pager.pageTop, 35);

    // Current track page: nothing while nothing is loaded, else entry plIndex on row 1.
    t->playlist.plIndex = 40;
    pager.mLineDisp(6);
    EXPECT_EQ(pager.pageTop, 35);
    t->players.playCurrent();
    EXPECT_EQ(pager.pageTop, 42);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("41, 1: Artist 41 - Track 1"));
}

} // namespace
