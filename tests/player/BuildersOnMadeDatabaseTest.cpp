// The playlist builders over a database made by vldmake from a folder of music, the way a
// user makes one: artists from folder names in name order, titles from file names, genre 12
// for untagged files, a playlist file as a batch.

#include "TestSession.h"
#include "ToneFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

class BuildersOnMadeDatabase : public ::testing::Test
{
protected:
    TestSession t;

    void SetUp() override
    {
        const QDir music(t.file(QStringLiteral("Music")));
        const QStringList tracks = {QStringLiteral("Beat Street/1 Love Song.wav"),
                                    QStringLiteral("Beat Street/2 Night Drive.wav"),
                                    QStringLiteral("Beat Street/10 Lovely Day.wav"),
                                    QStringLiteral("alpha/Morning.wav")};
        for (const QString &track : tracks) {
            const QString path = music.filePath(track);
            QDir().mkpath(QFileInfo(path).path());
            ASSERT_TRUE(ToneFile::writeWav(path, {{440.0, 200}}));
        }
        QFile mix(music.filePath(QStringLiteral("Evening Mix.m3u")));
        ASSERT_TRUE(mix.open(QIODevice::WriteOnly));
        mix.write("#EXTM3U\nalpha/Morning.wav\nBeat Street/10 Lovely Day.wav\n");
        mix.close();

        const QString database = t.file(QStringLiteral("music.vld"));
        QProcess vldmake;
        vldmake.start(QStringLiteral(VLDMAKE_EXE), {database, music.path()});
        ASSERT_TRUE(vldmake.waitForFinished(30000));
        ASSERT_EQ(vldmake.exitCode(), 0) << vldmake.readAllStandardError().toStdString();
        t.exe({QStringLiteral("loadvld ") + database});
    }

    QStringList entries()
    {
        QStringList shown;
        for (int i = 0; i < Playlist::kCapacity && !t->playlist[i].artist.isEmpty(); ++i)
            shown += t->playlist[i].artist + u'_' + t->playlist[i].track;
        return shown;
    }
};

} // namespace

TEST_F(BuildersOnMadeDatabase, SearchesSelectInArtistAndTrackOrder)
{
    // alpha (1) sorts before Beat Street (2); "10 Lovely Day" after "2 Night Drive".
    t.exe({QStringLiteral("partist")});
    EXPECT_EQ(entries(), QStringList({"1_1", "2_1", "2_2", "2_3"}));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("partist "));
    EXPECT_FALSE(t->players.inUse().fileName().isEmpty()) << "the playlist plays";

    t.exe({QStringLiteral("partist BEAT")});
    EXPECT_EQ(entries(), QStringList({"2_1", "2_2", "2_3"}));
    t.exe({QStringLiteral("ptrack lov")});
    EXPECT_EQ(entries(), QStringList({"2_1", "2_3"}));
    t.exe({QStringLiteral("ptrack ni?ht*")});
    EXPECT_EQ(entries(), QStringList({"2_2"}));
    // Untagged files are genre 12; the text is compared exactly.
    t.exe({QStringLiteral("pgenren 12")});
    EXPECT_EQ(entries().size(), 4);
    t.exe({QStringLiteral("pgenren 012")});
    EXPECT_EQ(entries(), QStringList());
}

TEST_F(BuildersOnMadeDatabase, BatchesAppendWhenTheResetIsOff)
{
    t.exe({QStringLiteral("pbatch evening")});
    EXPECT_EQ(entries(), QStringList({"1_1", "2_3"}));
    t.exe({QStringLiteral("rpas n"), QStringLiteral("pbatchn 1"), QStringLiteral("pbatch mix")});
    EXPECT_EQ(entries(), QStringList({"1_1", "2_3", "1_1", "2_3", "1_1", "2_3"}));
    t.exe({QStringLiteral("pat 2 2")});
    EXPECT_EQ(entries(), QStringList({"2_2"}));
    EXPECT_EQ(t.row(3), QStringLiteral("2, 2: Beat Street - 2 Night Drive"));
}
