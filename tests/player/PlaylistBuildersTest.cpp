// The playlist builders on a database of linked tracks and fake players: replacing and
// appending, shuffling only the new part, when playing starts, the table's end, and failures
// that leave what was done.

#include "player/PlaylistBuilderCommands.h"
#include "TestSession.h"

#include <gtest/gtest.h>

namespace {

// The entries in use as "artist_track".
QStringList entries(TestSession &t)
{
    QStringList list;
    for (int i = 0; i < t->playlist.count(); ++i)
        list.append(t->playlist[i].artist + u'_' + t->playlist[i].track);
    return list;
}

void rpas(TestSession &t, bool reset)
{
    t->opt[Options::ResetBeforeSearch] = reset ? QStringLiteral("1") : QStringLiteral("0");
}

const QString kViewHeader = QStringLiteral(
    "Tracks in playlist (Enter - play top track; F9 - play/pause; F11 - previous; F12 - next):");

TEST(PlaylistBuilders, ResetReplacesTheListAndPlaysItsFirstEntry)
{
    TestSession t;
    t.linkTracks(3, 2);
    t->vld.SetValue(QStringLiteral("Artist2"), QStringLiteral("Big Beat Band"));
    t.exe({QStringLiteral("partist")}); // no text: every artist, in order
    EXPECT_EQ(entries(t), QStringList({"1_1", "1_2", "2_1", "2_2", "3_1", "3_2"}));
    t->playlist.plIndex = 4;
    t.exe({QStringLiteral("partist bEAT")});
    EXPECT_EQ(entries(t), QStringList({"2_1", "2_2"}));
    EXPECT_EQ(t->playlist.plIndex, 0);
    EXPECT_EQ(t->players.inUse().fileName(), QStringLiteral("/music/2-1.mp3"));
    EXPECT_EQ(t.pagerRow(1), kViewHeader);
    EXPECT_EQ(t.pagerRow(3), QStringLiteral("2, 1: Big Beat Band - Track 1"));
    // The builder's own line, not "vlpl", is the last command; the word as typed.
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("partist bEAT"));
    t.exe({QStringLiteral("PTrack")});
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("PTrack "));
    EXPECT_EQ(t->playlist.count(), 6);

    // Wildcards keep their meaning; a title matches anywhere in it.
    t.exe({QStringLiteral("ptrack K #")});
    EXPECT_EQ(t->playlist.count(), 6);
    t.exe({QStringLiteral("ptrack [!t]rack 2")});
    EXPECT_EQ(entries(t), QStringList());
    t.exe({QStringLiteral("ptrack ?rack 2")});
    EXPECT_EQ(entries(t), QStringList({"1_2", "2_2", "3_2"}));
}

TEST(PlaylistBuilders, AppendShufflesOnlyTheNewPartAndKeepsWhatPlays)
{
    TestSession t;
    t.linkTracks(2, 30);
    rpas(t, false);
    t->opt[Options::RandomPlaylists] = QStringLiteral("1");
    t.exe({QStringLiteral("partistn 1")});
    // Nothing was loaded: playing starts at plIndex.
    EXPECT_EQ(t->players.inUse().fileName(),
              QStringLiteral("/music/%1.mp3").arg(entries(t).value(0).replace(u'_', u'-')));
    const QStringList first = entries(t);
    ASSERT_EQ(first.size(), 30);
    t->playlist.plIndex = 7;
    const QString playing = t->players.inUse().fileName();
    t.exe({QStringLiteral("partistn 2")});
    const QStringList both = entries(t);
    ASSERT_EQ(both.size(), 60);
    EXPECT_EQ(both.mid(0, 30), first);
    QStringList added = both.mid(30);
    QStringList inOrder;
    for (int i = 1; i <= 30; ++i)
        inOrder.append(QStringLiteral("2_%1").arg(i));
    EXPECT_NE(added, inOrder); // 30! orders: one of them is the old one
    std::sort(added.begin(), added.end());
    std::sort(inOrder.begin(), inOrder.end());
    EXPECT_EQ(added, inOrder);
    EXPECT_EQ(t->playlist.plIndex, 7);
    EXPECT_EQ(t->players.inUse().fileName(), playing);
}

TEST(PlaylistBuilders, ArgumentsAsTyped)
{
    TestSession t;
    t.linkTracks(2, 2);
    t->vld.SetValue(QStringLiteral("1Genre2"), QStringLiteral("131"));
    rpas(t, false);
    t.exe({QStringLiteral("pgenren 017"), QStringLiteral("pgenren 131")});
    EXPECT_EQ(entries(t), QStringList({"1_2"}));
    t.exe({QStringLiteral("pgenren 17")});
    EXPECT_EQ(entries(t), QStringList({"1_2", "1_1", "2_1", "2_2"}));
    // partistn looks the number up and stores it as typed; a word that is no number adds
    // nothing, and with rpas on the list is emptied all the same.
    t->vld.SetValue(QStringLiteral("Tracks&h2"), QStringLiteral("1"));
    t.exe({QStringLiteral("partistn &h2")});
    EXPECT_EQ(entries(t).last(), QStringLiteral("&h2_1"));
    rpas(t, true);
    t.exe({QStringLiteral("partistn two")});
    EXPECT_EQ(entries(t), QStringList());
    EXPECT_EQ(t.pagerRow(1), kViewHeader);
    EXPECT_EQ(t.pagerRow(3), QString());

    // pat ignores rpas: the list is exactly its one track, the words as typed.
    rpas(t, false);
    t.exe({QStringLiteral("partist")});
    t.keys(QStringLiteral("Escape")); // back from the view to the prompt
    t.exe({QStringLiteral("pat 02 1.0")});
    EXPECT_EQ(entries(t), QStringList({"02_1.0"}));
    EXPECT_EQ(t->players.inUse().fileName(), QStringLiteral("/music/2-1.mp3"));
    EXPECT_EQ(t.row(1), QStringLiteral("Playing track:"));
    EXPECT_EQ(t.row(3), QStringLiteral("02, 1.0: [NOT FOUND] - [NOT FOUND]"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("pat 02 1.0"));
    t.exe({QStringLiteral("pat 2 2")});
    EXPECT_EQ(t.row(3), QStringLiteral("2, 2: Artist 2 - Track 2"));
}

TEST(PlaylistBuilders, BatchesInStoredOrderAndBadContents)
{
    TestSession t;
    t.linkTracks(2, 2);
    t->vld.SetValue(QStringLiteral("Batches"), QStringLiteral("3"));
    t->vld.SetValue(QStringLiteral("BN1"), QStringLiteral("Road trip"));
    t->vld.SetValue(QStringLiteral("BC1"), QStringLiteral("{2_2}{1_1}"));
    t->vld.SetValue(QStringLiteral("BN2"), QStringLiteral("Empty"));
    t->vld.SetValue(QStringLiteral("BC2"), QStringLiteral("{}"));
    t->vld.SetValue(QStringLiteral("BN3"), QStringLiteral("Trip back"));
    t->vld.SetValue(QStringLiteral("BC3"), QStringLiteral("{07_1_x}{2_1}"));
    t.exe({QStringLiteral("pbatch TRIP")});
    EXPECT_EQ(entries(t), QStringList({"2_2", "1_1", "07_1_x", "2_1"}));
    rpas(t, false);
    t.exe({QStringLiteral("pbatchn 1"), QStringLiteral("pbatchn 2")});
    EXPECT_EQ(entries(t).size(), 6);

    // A bad item fails where it is read: the items before it stay, no view is shown.
    t->vld.SetValue(QStringLiteral("BC2"), QStringLiteral("{1_2}{12}{2_1}"));
    t.exe({QStringLiteral("vlreset"), QStringLiteral("pbatchn 2")});
    EXPECT_EQ(entries(t), QStringList({"1_2"}));
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Invalid procedure call or "
                                       "argument (5)"));
    EXPECT_EQ(t.row(1), QString());
    // No such batch ("[NOT FOUND]" holds no "_"), and contents too short to have braces.
    t->vld.SetValue(QStringLiteral("BC2"), QStringLiteral("x"));
    for (const char *line : {"pbatchn 9", "pbatchn 2"}) {
        t.exe({QStringLiteral("vlreset"), QString::fromLatin1(line)});
        EXPECT_EQ(entries(t), QStringList()) << line;
        EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Invalid procedure call or "
                                           "argument (5)"))
            << line;
    }
}

TEST(PlaylistBuilders, FailuresKeepWhatWasDone)
{
    TestSession t;
    t.linkTracks(3, 2);
    t.exe({QStringLiteral("partist")});
    t->vld.SetValue(QStringLiteral("Tracks2"), QStringLiteral("two"));
    t.exe({QStringLiteral("ptrack")}); // rpas on: emptied, artist 1 added, then the bad count
    EXPECT_EQ(entries(t), QStringList({"1_1", "1_2"}));
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Type mismatch (13)"));
    t.exe({QStringLiteral("partist [a")});
    EXPECT_EQ(entries(t), QStringList());
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Invalid pattern string (93)"));
    t.exe({QStringLiteral("partistn 9")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Type mismatch (13)"));
    // A count no store could hold is a damaged database, not a loop of a billion steps.
    t->vld.SetValue(QStringLiteral("Artists"), QStringLiteral("2000000000"));
    t.exe({QStringLiteral("pgenren 17")});
    EXPECT_TRUE(t.row(2).startsWith(QStringLiteral("An error has occurred: Invalid file format")));
}

// A search selecting more than the table holds keeps the first 32001 tracks and goes on as
// any builder does; appending stops at the table's end the same way.
TEST(PlaylistBuilders, TheTableEndStopsTheSearch)
{
    TestSession t;
    t.linkTracks(3, 16000);
    t.exe({QStringLiteral("ptrack")});
    ASSERT_EQ(t->playlist.count(), Playlist::kCapacity);
    EXPECT_EQ(t->playlist[Playlist::kCapacity - 1].artist, QStringLiteral("3"));
    EXPECT_EQ(t->playlist[Playlist::kCapacity - 1].track, QStringLiteral("1"));
    EXPECT_EQ(t.pagerRow(1), kViewHeader);
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("ptrack "));
    EXPECT_EQ(t->players.inUse().fileName(), QStringLiteral("/music/1-1.mp3"));

    rpas(t, false);
    t.exe({QStringLiteral("vlreset"), QStringLiteral("partistn 1"), QStringLiteral("partistn 2"),
           QStringLiteral("pbatchn")}); // table not yet full: the bad batch still fails
    EXPECT_EQ(t->playlist.count(), 32000);
    t.exe({QStringLiteral("partist")});
    ASSERT_EQ(t->playlist.count(), Playlist::kCapacity);
    EXPECT_EQ(t->playlist[32000].artist + u'_' + t->playlist[32000].track, QStringLiteral("1_1"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("partist "));
    // A full table is written over from its start, the later entries left in place.
    t.exe({QStringLiteral("partistn 3")});
    EXPECT_EQ(t->playlist[0].artist, QStringLiteral("3"));
    EXPECT_EQ(t->playlist[15999].artist + u'_' + t->playlist[15999].track,
              QStringLiteral("3_16000"));
    EXPECT_EQ(t->playlist[16000].artist + u'_' + t->playlist[16000].track, QStringLiteral("2_1"));
}

} // namespace
