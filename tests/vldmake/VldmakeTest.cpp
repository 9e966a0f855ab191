// Tests of the vldmake program as a user runs it: the database it writes, read back with the
// program's own archive reader and store, its messages and its exit codes.

#include "MusicFolder.h"

#include "DatabaseMaker.h"
#include "formats/Archive.h"
#include "formats/KeyValueStore.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>

#include <sys/stat.h>

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result vldmake(const QStringList &arguments, const QString &workingDirectory = {})
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(VLDMAKE_EXE), arguments);
    // A hang on a hostile file fails here rather than stalling the suite.
    EXPECT_TRUE(process.waitForFinished(60000)) << "vldmake did not finish";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

KeyValueStore catalogue(const QString &database)
{
    KeyValueStore store;
    store.LoadText(Archive().ReadEntry(database, QStringLiteral("VELMORAD")));
    return store;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    return file.readAll();
}

// The bytes a range reference ("E" + offset|length, more fields allowed) points at.
QByteArray rangeBytes(const QString &database, const QString &reference)
{
    const QStringList fields = reference.mid(1).split(u'|');
    EXPECT_GE(fields.size(), 2) << qPrintable(reference);
    return bytesOf(database).mid(fields.value(0).toLongLong(), fields.value(1).toLongLong());
}

// Where the catalogue entry's data starts, from the archive's directory.
qint64 catalogueOffset(const QByteArray &archive)
{
    const quint32 count = qFromLittleEndian<quint32>(archive.constData() + 8);
    const quint64 directory = qFromLittleEndian<quint64>(archive.constData() + 12);
    for (quint32 i = 0; i < count; ++i) {
        const char *slot = archive.constData() + directory + 32 * i;
        if (QByteArray(slot, 8) == "VELMORAD")
            return qint64(qFromLittleEndian<quint64>(slot + 16));
    }
    ADD_FAILURE() << "no VELMORAD entry";
    return -1;
}

} // namespace

TEST(Vldmake, LinksTracksGroupedByArtistInNameOrder)
{
    MusicFolder music;
    const QString b = music.wav(QStringLiteral("Zed/2 b.wav"), {{"ARTIST", QStringLiteral("Zed")},
                                                                {"GENRE", QStringLiteral("Reggae")},
                                                                {"DATE", QStringLiteral("1999")}});
    // Another letter case of the same artist, in another folder: one artist, tracks by name.
    const QString a =
        music.mp3(QStringLiteral("elsewhere/10 a.mp3"),
                  {{"ARTIST", QStringLiteral("ZED")}, {"TITLE", QStringLiteral("Ten")}});
    // No tags: the folder names the artist, the file the title.
    const QString untagged = music.wav(QStringLiteral("alpha/My.Song.wav"));
    const QString out = music.path(QStringLiteral("linked.vld"));

    const Result run = vldmake({out, music.path()});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
    const KeyValueStore db = catalogue(out);
    EXPECT_EQ(db.GetValue(QStringLiteral("Artists")), QStringLiteral("2"));
    EXPECT_EQ(db.GetValue(QStringLiteral("Artist1")), QStringLiteral("alpha"));
    EXPECT_EQ(db.GetValue(QStringLiteral("Tracks1")), QStringLiteral("1"));
    EXPECT_EQ(db.GetValue(QStringLiteral("1Track1")), QStringLiteral("My.Song"));
    EXPECT_EQ(db.GetValue(QStringLiteral("1Filename1")), u'L' + untagged);
    EXPECT_EQ(db.GetValue(QStringLiteral("1Genre1")), QStringLiteral("12"));
    EXPECT_EQ(db.GetValue(QStringLiteral("1Date1")), QString());

    EXPECT_EQ(db.GetValue(QStringLiteral("Artist2")), QStringLiteral("Zed"));
    EXPECT_EQ(db.GetValue(QStringLiteral("Tracks2")), QStringLiteral("2"));
    EXPECT_EQ(db.GetValue(QStringLiteral("2Track1")), QStringLiteral("2 b"));
    EXPECT_EQ(db.GetValue(QStringLiteral("2Filename1")), u'L' + b);
    EXPECT_EQ(db.GetValue(QStringLiteral("2Genre1")), QStringLiteral("16"));
    EXPECT_EQ(db.GetValue(QStringLiteral("2Date1")), QStringLiteral("1999"));
    EXPECT_EQ(db.GetValue(QStringLiteral("2Track2")), QStringLiteral("Ten"));
    EXPECT_EQ(db.GetValue(QStringLiteral("2Filename2")), u'L' + a);
    for (const char *key : {"1Lyrics1", "1Notes1", "2Lyrics2", "2Notes2"})
        EXPECT_EQ(db.GetValue(QString::fromLatin1(key)), QString()) << key;
    EXPECT_EQ(db.GetValue(QStringLiteral("Batches")), QStringLiteral("0"));
    EXPECT_EQ(db.GetValue(QStringLiteral("3Track1")), KeyValueStore::kNotFound);

    // The summary counts what was written.
    const QRegularExpression summary(
        QStringLiteral("^.*linked\\.vld: 2 artists, 3 tracks, 0 batches, (\\d+) bytes, "
                       "\\d+\\.\\d\\d seconds\\n$"));
    const auto match = summary.match(run.out);
    ASSERT_TRUE(match.hasMatch()) << qPrintable(run.out);
    EXPECT_EQ(match.captured(1).toLongLong(), QFileInfo(out).size());
}

TEST(Vldmake, EmbedsTracksAndTextsAsByteRangesBeforeTheCatalogue)
{
    MusicFolder music;
    const QString wav =
        music.wav(QStringLiteral("Band/Song.WAV"), {{"ARTIST", QStringLiteral("Band")},
                                                    {"LYRICS", QStringLiteral("tag lyrics")},
                                                    {"COMMENT", QStringLiteral("tag notes")}});
    // The side file wins over the tag; its LF line ends become the program's CR LF.
    music.file(QStringLiteral("Band/Song.lyrics.txt"), "Verse one\nVerse two, \xC3\xA9t\xC3\xA9\n");
    const QString flac = music.flac(QStringLiteral("Band/Other.flac"));
    music.file(QStringLiteral("Band/Other.notes.txt"), "Caf\xE9 notes"); // Windows-1252
    const QString out = music.path(QStringLiteral("embedded.vld"));

    const Result run =
        vldmake({QStringLiteral("--embed"), out, music.path(QStringLiteral("Band"))});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const KeyValueStore db = catalogue(out);
    ASSERT_EQ(db.GetValue(QStringLiteral("Tracks1")), QStringLiteral("2"));
    EXPECT_EQ(db.GetValue(QStringLiteral("1Track1")), QStringLiteral("Other"));
    EXPECT_EQ(db.GetValue(QStringLiteral("1Track2")), QStringLiteral("Song"));

    const QString songRef = db.GetValue(QStringLiteral("1Filename2"));
    const QString otherRef = db.GetValue(QStringLiteral("1Filename1"));
    EXPECT_FALSE(songRef.startsWith(u'L')) << qPrintable(songRef);
    EXPECT_TRUE(songRef.endsWith(QStringLiteral("|wav"))) << qPrintable(songRef);
    EXPECT_TRUE(otherRef.endsWith(QStringLiteral("|flac"))) << qPrintable(otherRef);
    EXPECT_EQ(rangeBytes(out, songRef), bytesOf(wav));
    EXPECT_EQ(rangeBytes(out, otherRef), bytesOf(flac));

    const QString lyrics = db.GetValue(QStringLiteral("1Lyrics2"));
    EXPECT_EQ(QString::fromUtf8(rangeBytes(out, lyrics)),
              QStringLiteral("Verse one\r\nVerse two, été"));
    EXPECT_EQ(QString::fromUtf8(rangeBytes(out, db.GetValue(QStringLiteral("1Notes2")))),
              QStringLiteral("tag notes"));
    EXPECT_EQ(QString::fromUtf8(rangeBytes(out, db.GetValue(QStringLiteral("1Notes1")))),
              QStringLiteral("Café notes"));
    EXPECT_EQ(db.GetValue(QStringLiteral("1Lyrics1")), QString());
    // The reader the lyrics command uses finds the same text.
    const QStringList fields = lyrics.mid(1).split(u'|');
    EXPECT_EQ(Archive().ReadRange(out, fields[0].toInt(), fields[1].toInt()),
              QStringLiteral("Verse one\r\nVerse two, été"));

    // Everything the catalogue points at comes before it.
    const qint64 catalogueAt = catalogueOffset(bytesOf(out));
    for (const QString &ref : {songRef, otherRef, lyrics}) {
        const QStringList f = ref.mid(1).split(u'|');
        EXPECT_LE(f[0].toLongLong() + f[1].toLongLong(), catalogueAt) << qPrintable(ref);
    }

    // Without --embed the texts are still embedded and the tracks linked.
    const QString linked = music.path(QStringLiteral("linked.vld"));
    ASSERT_EQ(vldmake({linked, music.path(QStringLiteral("Band"))}).exitCode, 0);
    const KeyValueStore l = catalogue(linked);
    EXPECT_EQ(l.GetValue(QStringLiteral("1Filename2")), u'L' + wav);
    EXPECT_EQ(QString::fromUtf8(rangeBytes(linked, l.GetValue(QStringLiteral("1Lyrics2")))),
              QStringLiteral("Verse one\r\nVerse two, été"));
    EXPECT_FALSE(bytesOf(linked).contains(bytesOf(wav)));
}

TEST(Vldmake, PlaylistsBecomeBatchesOfTheTracksTheyName)
{
    MusicFolder music;
    music.wav(QStringLiteral("A/1 one.wav"));
    music.wav(QStringLiteral("A/2 two.wav"));
    music.wav(QStringLiteral("B/x.wav"));
    music.file(QStringLiteral("Mix.m3u"),
               "#EXTM3U\r\n#EXTINF:1,B - x\r\nB/x.wav\r\nA/2 two.wav\r\nA/gone.wav\r\n");
    music.file(QStringLiteral("A/lists/Back.m3u8"),
               "../1 one.wav\n" + QFile::encodeName(music.path(QStringLiteral("B/x.wav"))) + "\n");
    music.file(QStringLiteral("Empty.m3u"), "#EXTM3U\n");
    const QString out = music.path(QStringLiteral("batches.vld"));

    const Result run = vldmake({out, music.path()});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    // Batches in the order of the playlists' paths.
    const KeyValueStore db = catalogue(out);
    EXPECT_EQ(db.GetValue(QStringLiteral("Batches")), QStringLiteral("3"));
    EXPECT_EQ(db.GetValue(QStringLiteral("BN1")), QStringLiteral("Back"));
    EXPECT_EQ(db.GetValue(QStringLiteral("BC1")), QStringLiteral("{1_1}{2_1}"));
    EXPECT_EQ(db.GetValue(QStringLiteral("BN2")), QStringLiteral("Empty"));
    EXPECT_EQ(db.GetValue(QStringLiteral("BC2")), QString());
    EXPECT_EQ(db.GetValue(QStringLiteral("BN3")), QStringLiteral("Mix"));
    EXPECT_EQ(db.GetValue(QStringLiteral("BC3")), QStringLiteral("{2_1}{1_2}"));
    // The entry that names no track is left out, and said.
    EXPECT_TRUE(run.err.contains(QStringLiteral("warning: ") +
                                 music.path(QStringLiteral("Mix.m3u")) + QStringLiteral(": ") +
                                 music.path(QStringLiteral("A/gone.wav"))))
        << qPrintable(run.err);
    EXPECT_EQ(run.err.count(QStringLiteral("warning")), 1) << qPrintable(run.err);
}

TEST(Vldmake, BadFilesAreSkippedWithAWarningEach)
{
    MusicFolder music;
    music.wav(QStringLiteral("Good/ok.wav"));
    music.file(QStringLiteral("Good/empty.mp3"), {});
    music.file(QStringLiteral("Good/text.ogg"), "This is not an Ogg stream at all.\n");
    music.file(QStringLiteral("Good/tagonly.mp3"),
               QByteArray("ID3\x04\x00\x00\x7f\x7f\x7f\x7f", 10));
    music.file(QStringLiteral("Good/tune.lyrics.txt"), "no track of this name");
    // A pipe would block a reader that opened it; a dangling link names nothing.
    ASSERT_EQ(
        mkfifo(QFile::encodeName(music.path(QStringLiteral("Good/pipe.flac"))).constData(), 0600),
        0);
    ASSERT_TRUE(QFile::link(music.path(QStringLiteral("nowhere")),
                            music.path(QStringLiteral("Good/dangling.m4a"))));
    const QString out = music.path(QStringLiteral("out.vld"));

    const Result run = vldmake({out, music.path(QStringLiteral("Good"))});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(catalogue(out).GetValue(QStringLiteral("Tracks1")), QStringLiteral("1"));
    for (const char *name : {"empty.mp3", "text.ogg", "tagonly.mp3", "pipe.flac", "dangling.m4a"})
        EXPECT_TRUE(run.err.contains(music.path(QStringLiteral("Good/")) +
                                     QString::fromLatin1(name) + QStringLiteral(": skipped")))
            << name << "\n"
            << qPrintable(run.err);
    EXPECT_EQ(run.err.count(u'\n'), 5) << qPrintable(run.err);

    // Only bad files: nothing to write.
    music.file(QStringLiteral("Bad/a.mp3"), "junk");
    const Result none =
        vldmake({music.path(QStringLiteral("none.vld")), music.path(QStringLiteral("Bad"))});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("no readable audio files; nothing written")))
        << qPrintable(none.err);
    EXPECT_FALSE(QFileInfo::exists(music.path(QStringLiteral("none.vld"))));
}

TEST(Vldmake, ForceReplacesAnExistingDatabaseAndNothingElse)
{
    MusicFolder music;
    const QString track = music.wav(QStringLiteral("A/t.wav"));
    const QString folder = music.path(QStringLiteral("A"));
    const QByteArray trackBytes = bytesOf(track);
    const QString text = music.file(QStringLiteral("notes.txt"), "the user's notes");
    const QString fifo = music.path(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = music.path(QStringLiteral("link.vld"));
    ASSERT_TRUE(QFile::link(track, link));

    // Outputs that are no database stay as they were, --force or not: a scanned track (by
    // its path or through a link), another file, a pipe (never opened).
    for (const QString &out : {track, link, text, fifo}) {
        for (const bool force : {false, true}) {
            const QStringList arguments = force
                                              ? QStringList{QStringLiteral("--force"), out, folder}
                                              : QStringList{out, folder};
            const Result run = vldmake(arguments);
            EXPECT_EQ(run.exitCode, 1) << qPrintable(arguments.join(u' '));
            EXPECT_TRUE(run.err.contains(QStringLiteral("is no database; not replaced")))
                << qPrintable(run.err);
        }
    }
    EXPECT_EQ(bytesOf(track), trackBytes);
    EXPECT_EQ(bytesOf(text), QByteArray("the user's notes"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    // An old database is kept without --force and replaced with it.
    const QString out = music.path(QStringLiteral("kept.vld"));
    ASSERT_EQ(vldmake({out, folder}).exitCode, 0);
    music.wav(QStringLiteral("A/u.wav"));
    const Result refused = vldmake({out, folder});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("exists; --force replaces it")))
        << qPrintable(refused.err);
    EXPECT_EQ(catalogue(out).GetValue(QStringLiteral("Tracks1")), QStringLiteral("1"));
    const Result forced = vldmake({QStringLiteral("--force"), out, folder});
    EXPECT_EQ(forced.exitCode, 0) << qPrintable(forced.err);
    EXPECT_EQ(catalogue(out).GetValue(QStringLiteral("Tracks1")), QStringLiteral("2"));
    // Nothing but the database is left beside it (no temporary file).
    EXPECT_EQ(QDir(music.path()).entryList(QDir::Files | QDir::System),
              (QStringList{QStringLiteral("fifo"), QStringLiteral("kept.vld"),
                           QStringLiteral("link.vld"), QStringLiteral("notes.txt")}));
}

TEST(Vldmake, ExitCodesForTheCommandLineAndForNothingToWrite)
{
    MusicFolder music;
    music.wav(QStringLiteral("A/t.wav"));
    QDir().mkpath(music.path(QStringLiteral("Silent")));
    music.file(QStringLiteral("Silent/readme.txt"), "no audio here");
    const QString out = music.path(QStringLiteral("x.vld"));

    for (const QStringList &usage :
         {QStringList{}, QStringList{out}, QStringList{QStringLiteral("--embed"), out},
          QStringList{QStringLiteral("--fast"), out, music.path()}}) {
        const Result run = vldmake(usage);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(usage.join(u' '));
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage: vldmake"))) << qPrintable(run.err);
    }
    for (const QStringList &failing :
         {QStringList{out, music.path(QStringLiteral("Missing"))},
          QStringList{out, music.path(QStringLiteral("A")), music.path(QStringLiteral("A/t.wav"))},
          QStringList{out, music.path(QStringLiteral("Silent"))},
          QStringList{music.path(QStringLiteral("no/such/folder/x.vld")),
                      music.path(QStringLiteral("A"))},
          QStringList{music.path(QStringLiteral("A")), music.path(QStringLiteral("A"))}}) {
        const Result run = vldmake(failing);
        EXPECT_EQ(run.exitCode, 1) << qPrintable(failing.join(u' '));
        EXPECT_TRUE(run.err.contains(QStringLiteral("nothing written"))) << qPrintable(run.err);
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(out));

    const Result help = vldmake({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *section :
         {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "EXIT STATUS", "EXAMPLES"})
        EXPECT_TRUE(help.out.contains(u'\n' + QString::fromLatin1(section) + u'\n') ||
                    help.out.startsWith(QString::fromLatin1(section) + u'\n'))
            << section;

    // "--" ends the options: a folder may start with a dash.
    music.wav(QStringLiteral("-dash/t.wav"));
    const Result dashed = vldmake(
        {QStringLiteral("--"), QStringLiteral("dash.vld"), QStringLiteral("-dash")}, music.path());
    EXPECT_EQ(dashed.exitCode, 0) << qPrintable(dashed.err);
    EXPECT_EQ(catalogue(music.path(QStringLiteral("dash.vld"))).GetValue(QStringLiteral("Artist1")),
              QStringLiteral("-dash"));
}

TEST(Vldmake, ProgressIsOneLineRewrittenOnStandardError)
{
    MusicFolder music;
    for (int i = 1; i <= 3; ++i)
        music.wav(QStringLiteral("A/%1.wav").arg(i));
    const Result run = vldmake({QStringLiteral("--progress"), music.path(QStringLiteral("p.vld")),
                                music.path(QStringLiteral("A"))});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("\rReading "))) << qPrintable(run.err);
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("\rReading 3 of 3 files\n")))
        << qPrintable(run.err);
    EXPECT_EQ(run.err.count(u'\n'), 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("1 artist, 3 tracks, 0 batches")));
}

// The tags are read by several threads at once: the database, the warnings and their order
// must not depend on how many, or on which thread finished first.
TEST(Vldmake, ThreadsChangeNeitherTheBytesNorTheWarnings)
{
    MusicFolder music;
    for (int n = 1; n <= 40; ++n) {
        const QString name = QStringLiteral("Band %1/Song %2.mp3").arg(n % 3).arg(n);
        if (n % 7 == 0) {
            music.file(name, "not audio");
            continue;
        }
        music.mp3(name, {{"ARTIST", n % 5 ? QStringLiteral("Band %1").arg(n % 3)
                                          : QStringLiteral("band %1").arg(n % 3)},
                         {"TITLE", QStringLiteral("Title %1").arg(41 - n)},
                         {"LYRICS", n % 4 ? QString() : QStringLiteral("la\nla")}});
    }
    music.file(QStringLiteral("Band 1/Song 4.notes.txt"), "beside the track");
    const auto make = [&](int threads) {
        DatabaseMaker::Request request;
        request.output = music.path(QStringLiteral("t%1.vld").arg(threads));
        request.folders = {music.path()};
        request.threads = threads;
        QStringList warnings;
        qsizetype lastDone = -1;
        DatabaseMaker::make(
            request, [&](const QString &text) { warnings.append(text); },
            [&](qsizetype done, qsizetype total) {
                EXPECT_GT(done, lastDone);
                EXPECT_LE(done, total);
                lastDone = done;
            });
        EXPECT_EQ(lastDone, 40);
        return std::pair{bytesOf(request.output), warnings};
    };
    const auto [one, oneWarnings] = make(1);
    EXPECT_EQ(oneWarnings.size(), 5) << qPrintable(oneWarnings.join(u'\n'));
    for (const int threads : {2, 4, 7}) {
        const auto [many, manyWarnings] = make(threads);
        EXPECT_EQ(many, one) << threads << " threads";
        EXPECT_EQ(manyWarnings, oneWarnings) << threads << " threads";
    }
}
