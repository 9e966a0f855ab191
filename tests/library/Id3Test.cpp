// The ID3v1 reader on files at and around the tag size, with odd names, padding and bytes, and
// the id3 forms that find their file in the loaded database or the playlist.

#include "TestSession.h"
#include "library/DatabaseFiles.h"
#include "formats/GenreNames.h"
#include "library/ID3Reader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Tag
{
    QByteArray title = {}, artist = {}, album = {}, year = {}, comment = {};
    quint8 genre = 13;
};

// A tag as the layout has it: "TAG", each field NUL-padded (or cut) to its width, the genre
// byte last. The comment's 30th byte is where ID3v1.1 keeps a track number.
QByteArray tagBytes(const Tag &t)
{
    QByteArray bytes("TAG");
    for (const auto &[text, width] :
         {std::pair{t.title, 30}, {t.artist, 30}, {t.album, 30}, {t.year, 4}, {t.comment, 30}})
        bytes += text.leftJustified(width, '\0', true);
    return bytes + char(t.genre);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(ID3Reader, ReadsOnlyMp3NamesEndingInATag)
{
    TestSession t;
    const QByteArray tag = tagBytes({"Song"});
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool read;
    } cases[] = {
        {"exact.mp3", tag, true},
        {"longer.mp3", "x" + tag, true},
        {"short.mp3", tag.left(127), false},
        {"shifted.mp3", tag + "x", false},
        {"UPPER.MP3", tag, true},
        {"mixed.mP3", tag, true},
        {"song.mp3.bak", tag, false},
        {"song.mp4", tag, false},
        {"mp3", tag, false},
    };
    for (const auto &c : cases) {
        const QString path = t.file(QString::fromLatin1(c.name));
        writeFile(path, c.bytes);
        ID3Reader reader;
        reader.setFilename(path);
        EXPECT_EQ(reader.filename(), c.read ? path : QString()) << c.name;
        EXPECT_EQ(reader.title(), c.read ? QStringLiteral("Song") : QString()) << c.name;
        EXPECT_EQ(reader.genre(), c.read ? 13 : 0) << c.name;
    }

    // Neither a folder nor a pipe is a file to read; the pipe is never opened, so nothing hangs.
    ASSERT_TRUE(QDir(t.home()).mkdir(QStringLiteral("folder.mp3")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file(QStringLiteral("pipe.mp3"))).constData(), 0600), 0);
    for (const char *name : {"folder.mp3", "pipe.mp3", "missing.mp3", ""}) {
        ID3Reader reader;
        reader.setFilename(name[0] ? t.file(QString::fromLatin1(name)) : QString());
        EXPECT_EQ(reader.filename(), QString()) << name;
    }
}

TEST(ID3Reader, FieldsTrimBlanksBeforeDroppingNuls)
{
    TestSession t;
    const QString path = t.file(QStringLiteral("fields.mp3"));
    // NUL padding, blanks before NUL padding (kept), blank padding (trimmed), a NUL inside.
    writeFile(path, tagBytes({"Abc", "  Lead  ", "Album" + QByteArray(25, ' '),
                              QByteArray("19\0"
                                         "9",
                                         4),
                              "123456789012345678901234567890", 255}));
    ID3Reader reader;
    reader.setFilename(path);
    EXPECT_EQ(reader.title(), QStringLiteral("Abc"));
    EXPECT_EQ(reader.artist(), QStringLiteral("Lead  "));
    EXPECT_EQ(reader.album(), QStringLiteral("Album"));
    EXPECT_EQ(reader.year(), QStringLiteral("199"));
    // The 30th comment byte is the ID3v1.1 track number slot.
    EXPECT_EQ(reader.comment(), QStringLiteral("12345678901234567890123456789"));
    EXPECT_EQ(reader.genre(), 255);

    // Each field is UTF-8 when it is valid UTF-8, otherwise Windows-1252.
    writeFile(path, tagBytes({"Caf\xc3\xa9", "Caf\xe9", "\x80uro"}));
    reader.setFilename(path);
    EXPECT_EQ(reader.title(), QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(reader.artist(), QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(reader.album(), QStringLiteral("\u20acuro"));
}

// After a failed read, or once the file is gone, every field reads empty and the genre 0.
TEST(ID3Reader, NothingToGetWithoutAFile)
{
    TestSession t;
    const QString path = t.file(QStringLiteral("gone.mp3"));
    writeFile(path, tagBytes({"Title", "Artist", "Album", "2000", "Comment", 20}));
    ID3Reader reader;
    reader.setFilename(path);
    ASSERT_EQ(reader.artist(), QStringLiteral("Artist"));
    reader.setFilename(t.file(QStringLiteral("gone.txt")));
    EXPECT_EQ(reader.filename(), QString());
    EXPECT_EQ(reader.artist(), QString());
    EXPECT_EQ(reader.genre(), 0);

    reader.setFilename(path);
    ASSERT_EQ(reader.year(), QStringLiteral("2000"));
    ASSERT_TRUE(QFile::remove(path));
    for (const QString &field : {reader.filename(), reader.title(), reader.artist(), reader.album(),
                                 reader.year(), reader.comment()})
        EXPECT_EQ(field, QString());
    EXPECT_EQ(reader.genre(), 0);
}

// The names users meet most, the three late additions, and every way a tag may name a genre.
TEST(GenreNames, EntriesAndTagTexts)
{
    ASSERT_EQ(genreNames().size(), 151);
    EXPECT_EQ(genreEntry(0), QStringLiteral("Blues (0)"));
    EXPECT_EQ(genreEntry(40), QStringLiteral("Alternative Rock (40)"));
    EXPECT_EQ(genreEntry(67), QStringLiteral("Psychadelic (67)"));
    EXPECT_EQ(genreEntry(79), QStringLiteral("Hard Rock (79)"));
    EXPECT_EQ(genreEntry(80), QStringLiteral("Folk (80)"));
    EXPECT_EQ(genreEntry(147), QStringLiteral("SynthPop (147)"));
    EXPECT_EQ(genreEntry(148), QStringLiteral("Garage [148]"));
    EXPECT_EQ(genreEntry(150), QStringLiteral("Big Beat [150]"));
    EXPECT_EQ(genreEntry(151), QString());
    EXPECT_EQ(genreEntry(-1), QString());

    EXPECT_EQ(genreNumber(QStringLiteral("rock")), 17);
    EXPECT_EQ(genreNumber(QStringLiteral(" Drum & Bass ")), 127);
    EXPECT_EQ(genreNumber(QStringLiteral("NU METAL")), 149);
    EXPECT_EQ(genreNumber(QStringLiteral("(17)")), 17);
    EXPECT_EQ(genreNumber(QStringLiteral("(9)Metal")), 9);
    EXPECT_EQ(genreNumber(QStringLiteral("42")), 42);
    EXPECT_EQ(genreNumber(QStringLiteral("255")), 255);
    for (const char *text : {"", "Rock & Rolls", "256", "(256)", "-1", "(x)", "(12", "1e2", "4 2"})
        EXPECT_EQ(genreNumber(QString::fromLatin1(text)), std::nullopt) << text;
}

// id3 with an artist and a track number, or with none (the current playlist track), shows the
// tag of the database track's file; a linked track is read where it is, an embedded one from
// its copy.
TEST(Id3Command, FindsTheDatabaseTrack)
{
    TestSession t;
    const QString linked = t.file(QStringLiteral("linked.mp3"));
    writeFile(linked, "frames" + tagBytes({"Linked", "Band", "", "", "", 3}));
    const QByteArray embedded = tagBytes({"Embedded", "Band", "", "", "", 150});
    const QString database = t.file(QStringLiteral("music.vld"));
    writeFile(database, "header" + embedded + "trailer");
    t->opt[Options::Database] = database;
    t->vld.SetValue(QStringLiteral("3Filename7"), u'L' + linked);
    t->vld.SetValue(QStringLiteral("3Filename8"), QStringLiteral("E6|128|mp3"));

    t.exe({QStringLiteral("id3 3 7")});
    EXPECT_EQ(t.row(1), QStringLiteral("ID3v1 tag information for: '%1':").arg(linked));
    EXPECT_EQ(t.row(4), QStringLiteral("Title: Linked"));
    EXPECT_EQ(t.row(12), QStringLiteral("Genre: Dance (3)"));

    t.exe({QStringLiteral("id3 3 8")});
    EXPECT_EQ(t.row(4), QStringLiteral("Title: Embedded"));
    EXPECT_EQ(t.row(12), QStringLiteral("Genre: Big Beat [150]"));

    // The playlist keeps numbers as text; they are rounded, half to even.
    t->playlist[0] = {QStringLiteral("2.6"), QStringLiteral("7")};
    t->playlist[1] = {QStringLiteral("3"), QStringLiteral("8.5")};
    t->playlist.plIndex = 1;
    t.exe({QStringLiteral("id3")});
    EXPECT_EQ(t.row(4), QStringLiteral("Title: Embedded"));
    t->playlist.plIndex = 0;
    t.exe({QStringLiteral("id3")});
    EXPECT_EQ(t.row(4), QStringLiteral("Title: Linked"));
}

// Without a database, without a track number or with an empty playlist entry the lookup
// fails through the one error report.
TEST(Id3Command, FailuresEndInTheErrorReport)
{
    TestSession t;
    const struct
    {
        const char *line;
        const char *report;
    } cases[] = {
        {"id3 3 7", "An error has occurred: Subscript out of range (9)"},
        {"id3 3", "An error has occurred: Type mismatch (13)"},
        {"id3 3 x", "An error has occurred: Type mismatch (13)"},
        {"id3 99999 1", "An error has occurred: Overflow (6)"},
        {"id3", "An error has occurred: Type mismatch (13)"},
    };
    for (const auto &c : cases) {
        t.exe({QString::fromLatin1(c.line)});
        EXPECT_EQ(t.row(2), QString::fromLatin1(c.report)) << c.line;
        EXPECT_EQ(t.row(1), QString()) << c.line;
    }
}

TEST(Id3Command, UnreadableFileGivesTheGuardsError)
{
    TestSession t;
    const QString locked = t.file(QStringLiteral("locked.mp3"));
    writeFile(locked, tagBytes({"Locked"}));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    if (::access(QFile::encodeName(locked).constData(), R_OK) == 0)
        GTEST_SKIP() << "running with rights that read any file";
    t.exe({QStringLiteral("id3 ") + locked});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Permission denied (70)"));
}

} // namespace
