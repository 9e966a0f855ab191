// Tests of the tags the database maker reads: each field from each kind of tag, the genre
// numbers, and files that are not what their names say.

#include "TrackTags.h"
#include "MusicFolder.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>

#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>

namespace {

TrackTags readOk(const QString &path)
{
    QString problem;
    const auto tags = readTrackTags(path, problem);
    EXPECT_TRUE(tags.has_value()) << qPrintable(path) << ": " << qPrintable(problem);
    return tags.value_or(TrackTags{});
}

} // namespace

TEST(TrackTags, GenreTextsBecomeTheProgramsNumbers)
{
    EXPECT_EQ(genreFromText(QStringLiteral("Rock")), 17);
    EXPECT_EQ(genreFromText(QStringLiteral("  hip-HOP ")), 7);
    EXPECT_EQ(genreFromText(QStringLiteral("(17)")), 17);
    EXPECT_EQ(genreFromText(QStringLiteral("(9)Metal")), 9);
    EXPECT_EQ(genreFromText(QStringLiteral("32")), 32);
    EXPECT_EQ(genreFromText(QStringLiteral("Big Beat")), 150);
    EXPECT_EQ(genreFromText(QStringLiteral("Psychadelic")), 67);
    EXPECT_EQ(genreFromText(QStringLiteral("Psychedelic")), 67); // TagLib's spelling of 67
    EXPECT_EQ(genreFromText(QStringLiteral("Abstract")), 12);    // 148 in TagLib, not ours
    EXPECT_EQ(genreFromText(QStringLiteral("(151)")), 12);
    EXPECT_EQ(genreFromText(QStringLiteral("255")), 12);
    EXPECT_EQ(genreFromText(QStringLiteral("Vaporwave")), 12);
    EXPECT_EQ(genreFromText(QString()), 12);
}

TEST(TrackTags, ReadsEveryFieldFromId3v2AndVorbisComments)
{
    MusicFolder music;
    const Tags tags = {{"ARTIST", QStringLiteral("Émile & the Ünits")},
                       {"TITLE", QStringLiteral("Größte Hits")},
                       {"GENRE", QStringLiteral("Jazz")},
                       {"DATE", QStringLiteral("1987")},
                       {"LYRICS", QStringLiteral("first line\nsecond line")},
                       {"COMMENT", QStringLiteral("a note")}};
    // WAV and MP3 carry ID3v2 (lyrics in USLT), FLAC a Vorbis comment (LYRICS field).
    for (const QString &file :
         {music.wav(QStringLiteral("a.wav"), tags), music.mp3(QStringLiteral("a.mp3"), tags),
          music.flac(QStringLiteral("a.flac"), tags)}) {
        SCOPED_TRACE(file.toStdString());
        const TrackTags read = readOk(file);
        EXPECT_EQ(read.artist, QStringLiteral("Émile & the Ünits"));
        EXPECT_EQ(read.title, QStringLiteral("Größte Hits"));
        EXPECT_EQ(read.genre, 8);
        EXPECT_EQ(read.year, 1987);
        EXPECT_EQ(read.lyrics, QStringLiteral("first line\nsecond line"));
        EXPECT_EQ(read.notes, QStringLiteral("a note"));
    }

    const TrackTags bare = readOk(music.wav(QStringLiteral("bare.wav")));
    EXPECT_TRUE(bare.artist.isEmpty());
    EXPECT_TRUE(bare.title.isEmpty());
    EXPECT_EQ(bare.genre, 12);
    EXPECT_EQ(bare.year, 0);
    EXPECT_TRUE(bare.lyrics.isEmpty());
}

TEST(TrackTags, AnId3v1GenreNumberIsKeptAsTheIdCommandShowsIt)
{
    MusicFolder music;
    const QString file = music.mp3(QStringLiteral("v1.mp3"));
    {
        TagLib::MPEG::File mp3(QFile::encodeName(file).constData());
        TagLib::ID3v1::Tag *tag = mp3.ID3v1Tag(true);
        tag->setArtist("Old Tag");
        tag->setGenreNumber(148); // "Garage" in the program's table, another name in TagLib's
        ASSERT_TRUE(mp3.save(TagLib::MPEG::File::ID3v1));
    }
    const TrackTags read = readOk(file);
    EXPECT_EQ(read.artist, QStringLiteral("Old Tag"));
    EXPECT_EQ(read.genre, 148);

    // An ID3v2 genre wins over the ID3v1 byte.
    MusicFolder::tag(file, {{"GENRE", QStringLiteral("Polka")}});
    EXPECT_EQ(readOk(file).genre, 75);
}

TEST(TrackTags, LameEncodedMp3WithBothTagVersions)
{
    const QString lame = QStandardPaths::findExecutable(QStringLiteral("lame"));
    if (lame.isEmpty())
        GTEST_SKIP() << "lame is not installed";
    MusicFolder music;
    const QString wav = music.wav(QStringLiteral("in.wav"));
    const QString mp3 = music.path(QStringLiteral("out.mp3"));
    QProcess process;
    process.start(lame,
                  {QStringLiteral("--quiet"), QStringLiteral("--add-id3v2"), QStringLiteral("--ta"),
                   QStringLiteral("Encoder Band"), QStringLiteral("--tt"),
                   QStringLiteral("Encoded"), QStringLiteral("--tg"), QStringLiteral("Blues"),
                   QStringLiteral("--ty"), QStringLiteral("2001"), wav, mp3});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0);
    const TrackTags read = readOk(mp3);
    EXPECT_EQ(read.artist, QStringLiteral("Encoder Band"));
    EXPECT_EQ(read.title, QStringLiteral("Encoded"));
    EXPECT_EQ(read.genre, 0);
    EXPECT_EQ(read.year, 2001);
}

TEST(TrackTags, FilesThatAreNoAudioAreRefusedWithAReason)
{
    MusicFolder music;
    QByteArray noise(4096, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    const QStringList names = {
        QStringLiteral("empty.mp3"),  QStringLiteral("noise.mp3"), QStringLiteral("noise.WAV"),
        QStringLiteral("noise.flac"), QStringLiteral("noise.ogg"), QStringLiteral("noise.opus"),
        QStringLiteral("noise.m4a"),  QStringLiteral("id3.mp3"),   QStringLiteral("riff.wav")};
    const QList<QByteArray> contents = {
        QByteArray(), noise, noise, noise, noise, noise, noise,
        // an ID3v2 header claiming far more than the file holds, and no audio
        QByteArray("ID3\x04\x00\x00\x7f\x7f\x7f\x7f", 10) + noise,
        // a RIFF header whose chunk sizes run past the end
        QByteArray("RIFF\xff\xff\xff\x7fWAVEfmt \xff\xff\xff\x7f", 20)};
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString file = music.file(names[i], contents[i]);
        QString problem;
        EXPECT_FALSE(readTrackTags(file, problem).has_value()) << qPrintable(names[i]);
        EXPECT_FALSE(problem.isEmpty()) << qPrintable(names[i]);
    }
    QString problem;
    EXPECT_FALSE(readTrackTags(music.path(QStringLiteral("missing.mp3")), problem).has_value());
    EXPECT_EQ(problem, QStringLiteral("File not found"));
}

// The player starts the next track five seconds before the end: the sample's tracks last long
// enough for its playlist to advance with overlaps, and for a skip's fade to be heard.
TEST(TrackTags, TheSamplesTracksLastTwelveToTwentySeconds)
{
    QDirIterator it(QStringLiteral(SAMPLE_MUSIC), {QStringLiteral("*.mp3"), QStringLiteral("*.wav")},
                    QDir::Files, QDirIterator::Subdirectories);
    int tracks = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const TagLib::FileRef file(QFile::encodeName(path).constData());
        ASSERT_FALSE(file.isNull()) << path.toStdString();
        const int ms = file.audioProperties()->lengthInMilliseconds();
        EXPECT_GE(ms, 12000) << path.toStdString();
        EXPECT_LE(ms, 20000) << path.toStdString();
        ++tracks;
    }
    EXPECT_EQ(tracks, 7);
}
