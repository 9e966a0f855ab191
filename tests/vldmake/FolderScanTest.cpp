// Tests of what the database maker finds under its folders, in what order, and of the
// playlists it reads.

#include "FolderScan.h"
#include "MusicFolder.h"
#include "Playlist.h"

#include "foundation/RuntimeError.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <random>

using FolderScan::naturalCompare;

TEST(FolderScan, NaturalOrderCountsNumbersByValueAndIgnoresCase)
{
    EXPECT_LT(naturalCompare(QStringLiteral("Track 2"), QStringLiteral("Track 10")), 0);
    EXPECT_GT(naturalCompare(QStringLiteral("Track 10"), QStringLiteral("Track 9")), 0);
    EXPECT_LT(naturalCompare(QStringLiteral("abba"), QStringLiteral("Beatles")), 0);
    EXPECT_LT(naturalCompare(QStringLiteral("a"), QStringLiteral("a1")), 0);
    EXPECT_LT(naturalCompare(QStringLiteral("x99999999999999999999"),
                             QStringLiteral("x100000000000000000000")),
              0); // longer than any integer type
    // Equal under the rules but different texts still get one fixed order, both ways round.
    for (const auto &[a, b] : {std::pair{u"007", u"7"}, {u"ABBA", u"abba"}}) {
        const int ab = naturalCompare(QString::fromUtf16(a), QString::fromUtf16(b));
        EXPECT_NE(ab, 0);
        EXPECT_EQ(ab, -naturalCompare(QString::fromUtf16(b), QString::fromUtf16(a)));
    }
    EXPECT_EQ(naturalCompare(QStringLiteral("same 1"), QStringLiteral("same 1")), 0);

    // A sort by it is the same whatever order the names came in.
    QStringList names = {QStringLiteral("10 b"), QStringLiteral("9 a"), QStringLiteral("09 a"),
                         QStringLiteral("B"),    QStringLiteral("a"),   QStringLiteral("a 2")};
    QStringList first = names;
    std::sort(first.begin(), first.end(), FolderScan::naturalLess);
    EXPECT_EQ(first,
              (QStringList{QStringLiteral("09 a"), QStringLiteral("9 a"), QStringLiteral("10 b"),
                           QStringLiteral("a"), QStringLiteral("a 2"), QStringLiteral("B")}));
    std::mt19937 random(7);
    for (int i = 0; i < 20; ++i) {
        std::shuffle(names.begin(), names.end(), random);
        std::sort(names.begin(), names.end(), FolderScan::naturalLess);
        EXPECT_EQ(names, first);
    }
}

TEST(FolderScan, KnowsTheAudioAndPlaylistExtensionsInAnyCase)
{
    for (const char *name : {"a.mp3", "a.OGG", "a.oga", "a.Opus", "a.flac", "a.m4a", "a.WAV",
                             "x.y.mp3", ".hidden name.mp3"})
        EXPECT_TRUE(FolderScan::isAudioFile(QString::fromLatin1(name))) << name;
    for (const char *name : {"mp3", ".mp3", "a.mp4", "a.mp3.txt", "a.wma", "a.mp", "a."})
        EXPECT_FALSE(FolderScan::isAudioFile(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(FolderScan::isPlaylist(QStringLiteral("Mix.M3U")));
    EXPECT_TRUE(FolderScan::isPlaylist(QStringLiteral("Mix.m3u8")));
    EXPECT_FALSE(FolderScan::isPlaylist(QStringLiteral("Mix.pls")));
}

TEST(FolderScan, FindsTracksPlaylistsAndSideTextsOnceEach)
{
    MusicFolder music;
    music.file(QStringLiteral("B/10 x.mp3"), "");
    music.file(QStringLiteral("B/9 x.mp3"), "");
    music.file(QStringLiteral("A/deep/er/t.FLAC"), "");
    music.file(QStringLiteral("A/cover.jpg"), "");
    music.file(QStringLiteral("A/list.m3u8"), "");
    music.file(QStringLiteral("A/t.lyrics.txt"), "");
    music.file(QStringLiteral("A/deep/er/t.Notes.TXT"), "");
    QDir().mkpath(music.path(QStringLiteral("A/folder.mp3"))); // a folder is no track
    // A link back up the tree must not trap the walk.
    ASSERT_TRUE(QFile::link(music.path(QStringLiteral("A")), music.path(QStringLiteral("A/loop"))));

    // The same files reached twice, through a folder inside another, count once.
    const FolderScan::Found found =
        FolderScan::scan({music.path(), music.path(QStringLiteral("B"))});
    const QString root = music.path() + u'/';
    EXPECT_EQ(found.audioFiles, (QStringList{root + QStringLiteral("A/deep/er/t.FLAC"),
                                             root + QStringLiteral("B/9 x.mp3"),
                                             root + QStringLiteral("B/10 x.mp3")}));
    EXPECT_EQ(found.playlists, QStringList{root + QStringLiteral("A/list.m3u8")});
    // A side text is found under the track's path without its extension.
    EXPECT_EQ(found.lyricsFiles.value(root + QStringLiteral("A/t")),
              root + QStringLiteral("A/t.lyrics.txt"));
    EXPECT_EQ(
        found.notesFiles.value(FolderScan::sideKey(root + QStringLiteral("A/deep/er/t.FLAC"))),
        root + QStringLiteral("A/deep/er/t.Notes.TXT"));
    EXPECT_EQ(found.lyricsFiles.size(), 1);
    EXPECT_EQ(FolderScan::sideKey(QStringLiteral("/m/a.b/c.d.mp3")), QStringLiteral("/m/a.b/c.d"));
    EXPECT_EQ(FolderScan::sideKey(QStringLiteral("/m/a.b/noext")), QStringLiteral("/m/a.b/noext"));
}

TEST(Playlist, ResolvesEntriesAgainstItsFolderAndPassesOverTheRest)
{
    MusicFolder music;
    const QString list = music.file(QStringLiteral("lists/Road Trip.m3u"),
                                    "\xEF\xBB\xBF#EXTM3U\r\n"
                                    "#EXTINF:123,Someone - Something\r\n"
                                    "../A/one.mp3\r\n"
                                    "\r\n"
                                    "   \n"
                                    "two.ogg\n"
                                    "/abs/three.flac\n"
                                    "file:///abs/with%20blank.wav\n"
                                    "http://example.invalid/stream.mp3\n"
                                    "  sub/./caf\xC3\xA9.mp3  "); // no line end at the end
    const QString base = music.path(QStringLiteral("lists")) + u'/';
    EXPECT_EQ(
        Playlist::entries(list),
        (QStringList{music.path(QStringLiteral("A/one.mp3")), base + QStringLiteral("two.ogg"),
                     QStringLiteral("/abs/three.flac"), QStringLiteral("/abs/with blank.wav"),
                     base + QStringLiteral("sub/café.mp3")}));
    // A playlist written on Windows.
    const QString old = music.file(QStringLiteral("lists/old.m3u"), "Caf\xE9.mp3\r\n");
    EXPECT_EQ(Playlist::entries(old), QStringList{base + QStringLiteral("Café.mp3")});
    EXPECT_EQ(Playlist::batchName(list), QStringLiteral("Road Trip"));
    EXPECT_EQ(Playlist::batchName(QStringLiteral("/x/my.best.m3u8")), QStringLiteral("my.best"));
    EXPECT_THROW(Playlist::entries(music.path(QStringLiteral("missing.m3u"))), RuntimeError);
}
