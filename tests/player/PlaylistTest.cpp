// The playlist table, playlist.dat and the playlist steps of start-up and shut-down.

#include "TestSession.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "controller/Lifecycle.h"
#include "player/PlaylistCommands.h"

#include <QFile>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Playlist, SavedEntriesAndStateComeBackAfterARestart)
{
    TestSession t;
    t->playlist[0] = {QStringLiteral("12"), QStringLiteral("5")};
    t->playlist[1] = {QStringLiteral("7"), QStringLiteral("3")};
    t->playlist[2] = {QStringLiteral("1"), QStringLiteral("10")};
    // Entries after the first empty artist are not part of the list.
    t->playlist[4] = {QStringLiteral("9"), QStringLiteral("9")};
    t->playlist.plIndex = 2;
    t.player(0).file = QStringLiteral("/music/1-10.mp3");
    t.player(0).state = MediaPlayer::kPaused;
    t.player(0).pos = 83.25;

    t->playlist.save(t.file(QStringLiteral("playlist.dat")));
    SavePlaylistState(*t);
    EXPECT_EQ(TextFile::readBytes(t.file(QStringLiteral("playlist.dat"))),
              QByteArray("\"12\",\"5\"\r\n\"7\",\"3\"\r\n\"1\",\"10\"\r\n"));
    EXPECT_EQ(t->opt[Options::PlaylistPosition], QStringLiteral("2"));
    EXPECT_EQ(t->opt[Options::PlayState], QStringLiteral("1"));
    EXPECT_EQ(t->opt[Options::PlayPosition], QStringLiteral("83.25"));

    const Options saved = t->opt;
    t.restart();
    t->opt = saved;
    t.linkTracks(12, 10);
    t->resetPlaylist();
    RestorePlaylist(*t);
    EXPECT_EQ(t->playlist.count(), 3);
    EXPECT_EQ(t->playlist[1].artist, QStringLiteral("7"));
    EXPECT_EQ(t->playlist[2].track, QStringLiteral("10"));
    EXPECT_EQ(t->playlist.plIndex, 2);
    // Started on the other player, paused at the same place.
    EXPECT_EQ(t->players.inUseIndex(), 1);
    EXPECT_EQ(t.player(1).file, QStringLiteral("/music/1-10.mp3"));
    EXPECT_EQ(t.player(1).state, MediaPlayer::kPaused);
    EXPECT_EQ(t.player(1).pos, 83.25);

    // A name that begins with a byte order mark keeps it through a save and a read.
    t->playlist[0].artist = QStringLiteral("\uFEFF12");
    t->playlist.save(t.file(QStringLiteral("playlist.dat")));
    t->playlist.restore(t.file(QStringLiteral("playlist.dat")));
    EXPECT_EQ(t->playlist[0].artist, QStringLiteral("\uFEFF12"));
}

TEST(Playlist, RestoreReadsQuotedAndBareFieldsAndSurvivesDamage)
{
    TestSession t;
    const QString path = t.file(QStringLiteral("playlist.dat"));
    TextFile::save(path, "\"3\",\"4\"\r\n 5 , 6\n\"7\"x,8\r\n\r\n\"9\"");
    t->playlist.restore(path);
    EXPECT_EQ(t->playlist.count(), 4);
    EXPECT_EQ(t->playlist[1].artist, QStringLiteral("5"));
    EXPECT_EQ(t->playlist[1].track, QStringLiteral("6"));
    EXPECT_EQ(t->playlist[2].artist, QStringLiteral("7"));
    EXPECT_EQ(t->playlist[2].track, QStringLiteral("8"));
    EXPECT_EQ(t->playlist[3].artist, QStringLiteral("9"));
    EXPECT_EQ(t->playlist[3].track, QString());
    // A byte order mark is no part of the first field; a file that is not UTF-8 is read as
    // Windows-1252.
    TextFile::save(path, "\xEF\xBB\xBF\"1\",\"caf\xC3\xA9\"");
    t->playlist.restore(path);
    EXPECT_EQ(t->playlist[0].artist, QStringLiteral("1"));
    EXPECT_EQ(t->playlist[0].track, QStringLiteral("café"));
    TextFile::save(path, "\"caf\xE9\",\"2\"");
    t->playlist.restore(path);
    EXPECT_EQ(t->playlist[0].artist, QStringLiteral("café"));

    // A missing file leaves the list as it was; a bad index option is left alone.
    TestSession fresh;
    fresh->opt[Options::PlaylistPosition] = QStringLiteral("not a number");
    fresh->opt[Options::PlayPosition] = QStringLiteral("x");
    RestorePlaylist(*fresh);
    EXPECT_EQ(fresh->playlist.count(), 0);
    EXPECT_EQ(fresh->playlist.plIndex, 0);
}

// An entry with no artist would end the list; it is passed over so the entries after it
// survive the next save.
TEST(Playlist, AnEntryWithNoArtistLosesNothingAfterIt)
{
    TestSession t;
    const QString path = t.file(QStringLiteral("playlist.dat"));
    TextFile::save(path, "\"1\",\"2\"\r\n\"\",\"5\"\r\n\"3\",\"4\"\r\n\"\"\r\n");
    t->playlist.restore(path);
    EXPECT_EQ(t->playlist.count(), 2);
    EXPECT_EQ(t->playlist[1].artist, QStringLiteral("3"));
    EXPECT_EQ(t->playlist[1].track, QStringLiteral("4"));
    t->playlist.save(path);
    EXPECT_EQ(TextFile::readBytes(path), QByteArray("\"1\",\"2\"\r\n\"3\",\"4\"\r\n"));
}

// Only as many entries as the table holds are read, the rest of the file never (a file of
// millions of fields once took gigabytes); the start-up says what was left out.
TEST(Playlist, TheTableHoldsAtMost32001EntriesAndSaysWhatWasLeftOut)
{
    const auto entries = [](int n, const QByteArray &separator) {
        QByteArray text;
        for (int i = 0; i < n; ++i)
            text += "\"" + QByteArray::number(i + 1) + "\"," + "\"1\"" + separator;
        return text;
    };
    struct Case
    {
        const char *what;
        QByteArray text;
        bool cut;
    };
    const std::vector<Case> cases = {
        {"full table", entries(Playlist::kCapacity, "\r\n"), false},
        {"full table, then empty entries",
         entries(Playlist::kCapacity, "\r\n") + "\"\",\"2\"\r\n,\r\n", false},
        {"five more", entries(Playlist::kCapacity + 5, "\r\n"), true},
        {"one more, bare and on one line", entries(Playlist::kCapacity, ",") + "7", true},
    };
    for (const Case &c : cases) {
        TestSession t;
        const QString path = t.file(QStringLiteral("playlist.dat"));
        TextFile::save(path, c.text);
        t->playlist.restore(path);
        EXPECT_EQ(t->playlist.count(), Playlist::kCapacity) << c.what;
        EXPECT_EQ(t->playlist[32000].artist, QStringLiteral("32001")) << c.what;
        EXPECT_EQ(t->playlist.restoreNotice(),
                  c.cut ? path + QStringLiteral(": only the first 32001 entries were read")
                        : QString())
            << c.what;
    }
    TestSession t;
    EXPECT_THROW(t->playlist[32001], RuntimeError);
    EXPECT_THROW(t->playlist[-1], RuntimeError);
    t->playlist[0] = {QStringLiteral("1"), QStringLiteral("1")};
    t->playlist.plIndex = 5;
    t->resetPlaylist();
    EXPECT_EQ(t->playlist.count(), 0);
    EXPECT_EQ(t->playlist.plIndex, 0);
}

TEST(Playlist, Num2timeShowsWholeMinutesAndTwoDigitSeconds)
{
    EXPECT_EQ(num2time(125.7), QStringLiteral("2:05"));
    EXPECT_EQ(num2time(3725), QStringLiteral("62:05"));
    EXPECT_EQ(num2time(59.99), QStringLiteral("0:59"));
    EXPECT_EQ(num2time(60), QStringLiteral("1:00"));
    EXPECT_EQ(num2time(0), QStringLiteral("0:00"));
}

} // namespace
