// The music library: loading a database and what the commands make of its catalogue, the
// copies of embedded tracks, and catalogues and archives that lie about their contents.

#include "TestSession.h"
#include "foundation/Colours.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "foundation/TextFileTesting.h"
#include "library/Catalogue.h"
#include "library/CatalogueReader.h"
#include "library/DatabaseFiles.h"
#include "controller/Lifecycle.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kError = QStringLiteral("An error has occurred: ");

QString sample(TestSession &t, const QString &name = QStringLiteral("my music.vld"))
{
    const QString path = t.file(name);
    writeSampleDatabase(path);
    return path;
}

// The pager's text, its lines joined by LF.
QString pagerText(TestSession &t)
{
    QStringList lines;
    for (int i = 0; i < t->pager.pageCount(); ++i)
        lines << t->pager.pageLine(i);
    return lines.join(u'\n');
}

TEST(Library, LoadvldReplacesTheDatabaseOnlyWhenTheFileExists)
{
    TestSession t;
    const QString path = sample(t); // a blank in the name: the whole argument is the path
    t->playlist[0] = {QStringLiteral("9"), QStringLiteral("9")};
    t.exe({QStringLiteral("loadvld ") + path});
    EXPECT_EQ(t.row(1), QStringLiteral("Velmora Database '%1' loaded successfully").arg(path));
    EXPECT_EQ(t->opt[Options::Database], path);
    EXPECT_EQ(t->vld.GetValue(QStringLiteral("Artist2")), QStringLiteral("Beat Happening"));
    EXPECT_EQ(t->playlist.count(), 0); // the old numbers meant another database

    t->playlist[0] = {QStringLiteral("1"), QStringLiteral("2")};
    for (const QString &missing : {t.file(QStringLiteral("none.vld")), t.home()}) {
        t.exe({QStringLiteral("loadvld ") + missing});
        EXPECT_EQ(t.row(1), QStringLiteral("The file '%1' does not exist").arg(missing));
        EXPECT_EQ(t.rowColour(1), Colours::kRed);
        EXPECT_EQ(t->opt[Options::Database], path);
        EXPECT_EQ(t->playlist.count(), 1);
        EXPECT_EQ(t->vld.GetValue(QStringLiteral("Artists")), QStringLiteral("3"));
    }

    // A relative name is remembered whole, so the next run finds it from any folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(t.home());
    t.exe({QStringLiteral("loadvld my music.vld")});
    QDir::setCurrent(before);
    EXPECT_EQ(t.row(1), QStringLiteral("Velmora Database 'my music.vld' loaded successfully"));
    EXPECT_EQ(t->opt[Options::Database], path);

    shutDown(*t);
    t.restart();
    EXPECT_EQ(t->vld.count(), 0);
    startUp(*t);
    EXPECT_EQ(t->vld.GetValue(QStringLiteral("Tracks1")), QStringLiteral("3"));
}

// A file that is not a database is the error trap's report; the database loaded before
// stays loaded, with its path.
TEST(Library, LoadvldOfAFileThatIsNoDatabase)
{
    TestSession t;
    const QString path = sample(t);
    t.exe({QStringLiteral("loadvld ") + path});
    const QString text = t.file(QStringLiteral("notes.txt"));
    TextFile::save(text, "Artists=3\r\n");
    t.exe({QStringLiteral("loadvld ") + text});
    EXPECT_EQ(t.row(2), kError + QStringLiteral("Invalid file format: not an ITVL archive (321)"));
    EXPECT_EQ(t->opt[Options::Database], path);
    t.exe({QStringLiteral("listartists")});
    EXPECT_EQ(t->pager.pageLine(0), QStringLiteral("1: The Beatles"));

    // An archive without a catalogue, and a catalogue in another layout.
    CatalogueFile bare(t.file(QStringLiteral("bare.vld")));
    bare.embed(QStringLiteral("T1"), "bytes");
    bare.finish(); // it has a VELMORAD entry, but an empty store without "Artists"
    t.exe({QStringLiteral("loadvld ") + t.file(QStringLiteral("bare.vld")),
           QStringLiteral("listartists")});
    EXPECT_EQ(t.row(1), QStringLiteral("No valid Velmora database has been loaded"));
}

TEST(Library, EveryListingAndTrackCommandNeedsADatabase)
{
    TestSession t;
    const QStringList words = {QStringLiteral("listartists"), QStringLiteral("listbatches"),
                               QStringLiteral("sartist"),     QStringLiteral("strack"),
                               QStringLiteral("dbatch"),      QStringLiteral("trackinfo"),
                               QStringLiteral("lyrics"),      QStringLiteral("notes")};
    for (const QString &word : words) {
        EXPECT_TRUE(t->commands.find(word).facts.needsDatabase) << word.toStdString();
        t.exe({word + QStringLiteral(" 1 1")});
        EXPECT_EQ(t.row(1), QStringLiteral("No valid Velmora database has been loaded"));
        EXPECT_EQ(t->console.mode(), Console::Mode::Prompt) << word.toStdString();
    }
    EXPECT_FALSE(t->commands.find(QStringLiteral("loadvld")).facts.needsDatabase);
    EXPECT_FALSE(t->commands.find(QStringLiteral("showvld")).facts.needsDatabase);
}

TEST(Library, VldFNLinksOrCopiesIntoThePrivateFolder)
{
    TestSession t;
    t.exe({QStringLiteral("loadvld ") + sample(t)});
    EXPECT_EQ(vldFN(t->loadedDatabase(), 1, 1), QStringLiteral("/music/The Beatles/Love Me Do.mp3"));
    EXPECT_FALSE(t->temp.exists()); // a linked track makes nothing
    EXPECT_EQ(t->opt[Options::TemporaryFiles], QString());

    // One copy a run: the same track asked for again is the same file, unless it has gone.
    const QString first = vldFN(t->loadedDatabase(), 1, 2);
    EXPECT_EQ(first, t->temp.file(QStringLiteral("tmp1.mp3")));
    EXPECT_EQ(vldFN(t->loadedDatabase(), 1, 2), first);
    EXPECT_EQ(TextFile::readBytes(first), QByteArrayLiteral("ID3 mp3 bytes\0\xff"));
    QFile::resize(first, 3);
    const QString second = vldFN(t->loadedDatabase(), 1, 2);
    EXPECT_EQ(second, t->temp.file(QStringLiteral("tmp2.mp3")));
    EXPECT_EQ(TextFile::readBytes(second), QByteArrayLiteral("ID3 mp3 bytes\0\xff"));
    EXPECT_EQ(t->opt[Options::TemporaryFiles], first + u'|' + second);

    // A name already taken, even by a link, is passed over and never written through.
    const QString outside = t.file(QStringLiteral("victim.ogg"));
    TextFile::save(outside, "precious");
    ASSERT_TRUE(QFile::link(outside, t->temp.file(QStringLiteral("tmp1.ogg"))));
    const QString sun = vldFN(t->loadedDatabase(), 1, 3); // flagged with a lower-case l: embedded
    EXPECT_EQ(sun, t->temp.file(QStringLiteral("tmp2.ogg")));
    EXPECT_EQ(TextFile::readBytes(sun), QByteArray("OggS sun"));
    EXPECT_EQ(TextFile::readBytes(outside), QByteArray("precious"));

    shutDown(*t);
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_FALSE(QFileInfo(QFileInfo(first).path()).exists());
    EXPECT_EQ(TextFile::readBytes(outside), QByteArray("precious"));
}

// A bad reference is an error, and leaves no file and no name in opt(11).
TEST(Library, VldFNRefusesBadReferences)
{
    TestSession t;
    CatalogueFile db(t.file(QStringLiteral("bad.vld")));
    const QString bytes = db.embed(QStringLiteral("T"), "0123456789");
    db.set(QStringLiteral("Artists"), QStringLiteral("1"))
        .set(QStringLiteral("1Filename1"), QStringLiteral("E") + bytes)     // no extension
        .set(QStringLiteral("1Filename2"), QStringLiteral("Ex|10|mp3"))     // not a number
        .set(QStringLiteral("1Filename3"), QStringLiteral("E20|99999|mp3")) // past the end
        .set(QStringLiteral("1Filename4"), QStringLiteral("E-1|5|mp3"))     // negative
        .set(QStringLiteral("1Filename5"), u'E' + bytes + QStringLiteral("|/../../x"))
        .set(QStringLiteral("1Filename6"), u'E' + bytes + QStringLiteral("|mp3"));
    db.finish();
    t.exe({QStringLiteral("loadvld ") + t.file(QStringLiteral("bad.vld"))});
    const std::pair<qint16, int> cases[] = {{1, 9}, {2, 13}, {3, 62}, {4, 5}, {5, 52}, {7, 9}};
    for (const auto &[track, number] : cases) {
        try {
            vldFN(t->loadedDatabase(), 1, track);
            ADD_FAILURE() << "track " << track << " gave a file";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), number) << "track " << track;
        }
    }
    TextFile::Testing::failWritesFrom(1, ENOSPC);
    EXPECT_THROW(vldFN(t->loadedDatabase(), 1, 6), RuntimeError);
    TextFile::Testing::failWritesFrom(0, 0);
    // Too little room is found out before a byte is copied.
    t->temp.bytesFree = [](const QString &) { return qint64(9); };
    try {
        vldFN(t->loadedDatabase(), 1, 6);
        ADD_FAILURE() << "copied to a full disk";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 61);
    }
    EXPECT_EQ(t->opt[Options::TemporaryFiles], QString());
    if (t->temp.exists()) {
        const QDir folder(QFileInfo(t->temp.file(QStringLiteral("x"))).path());
        EXPECT_EQ(folder.entryList(QDir::Files | QDir::System | QDir::Hidden), QStringList());
    }
}

TEST(Library, TrackPagesFallBackToTheCurrentPlaylistEntry)
{
    TestSession t;
    t.exe({QStringLiteral("loadvld ") + sample(t)});
    t->playlist[0] = {QStringLiteral("2"), QStringLiteral("1")};
    t->playlist[1] = {QStringLiteral("1"), QStringLiteral("1")};
    t->playlist.plIndex = 1;
    t.exe({QStringLiteral("lyrics")});
    EXPECT_EQ(pagerText(t), QStringLiteral("Lyrics for 1, 1: The Beatles - Love Me Do\n\n"
                                           "Love, love me do\nYou know I love you"));
    t.exe({QStringLiteral("notes 2")}); // artist 2 with the entry's track 1: none set
    EXPECT_EQ(t.row(1),
              QStringLiteral("No notes have been set for 2, 1: Beat Happening - Indian Summer"));
    EXPECT_EQ(t.rowColour(1), Colours::kRed);
    t->playlist.plIndex = 0;
    t.exe({QStringLiteral("trackinfo 1")}); // artist 1, the entry's track 1
    EXPECT_EQ(t->pager.pageLine(0), QStringLiteral("Details for 1, 1: The Beatles - Love Me Do:"));
    // Numbers are used as typed: 01 names no artist.
    t.exe({QStringLiteral("lyrics 01 1")});
    EXPECT_EQ(t.row(1),
              QStringLiteral("No lyrics have been set for 01, 1: [NOT FOUND] - [NOT FOUND]"));
}

// Damaged references on the track pages: the trap reports them and no page opens.
TEST(Library, TrackPagesReportDamagedReferences)
{
    TestSession t;
    CatalogueFile db(t.file(QStringLiteral("bad.vld")));
    db.set(QStringLiteral("Artists"), QStringLiteral("1"))
        .set(QStringLiteral("1Lyrics1"), QStringLiteral("L100000|5"))
        .set(QStringLiteral("1Notes1"), QStringLiteral("N5"))
        .set(QStringLiteral("1Genre1"), QStringLiteral("151"))
        .set(QStringLiteral("1Lyrics2"), QStringLiteral("L0|3000000000"))
        .set(QStringLiteral("1Lyrics3"), QStringLiteral("L0|2000000000"));
    db.finish();
    t.exe({QStringLiteral("loadvld ") + t.file(QStringLiteral("bad.vld"))});
    const std::pair<const char *, const char *> cases[] = {
        {"lyrics 1 1", "Input past end of file (62)"},
        {"notes 1 1", "Subscript out of range (9)"},
        {"trackinfo 1 1", "Subscript out of range (9)"}, // genre 151 has no entry
        {"trackinfo 1 2", "Type mismatch (13)"},         // a track with no genre
        {"lyrics 1 2", "Overflow (6)"},                  // no 32-bit length
        {"lyrics 1 3", "File too large (7)"},            // no text is that long
    };
    for (const auto &[line, report] : cases) {
        t->console.setMode(Console::Mode::Prompt);
        t.exe({QString::fromUtf8(line)});
        EXPECT_EQ(t.row(2), kError + QString::fromUtf8(report)) << line;
        EXPECT_EQ(t->console.mode(), Console::Mode::Prompt) << line;
    }
}

// Counts the store cannot hold finish at once as a damaged database instead of counting
// to billions; a count that is no number is a type mismatch.
TEST(Library, AbsurdCountsAreADamagedDatabase)
{
    TestSession t;
    const std::pair<const char *, const char *> catalogues[] = {
        {"Artists", "4000000000"},
        {"Batches", "2147483647"},
        {"Tracks1", "1e9"},
    };
    for (const auto &[key, count] : catalogues) {
        CatalogueFile db(t.file(QStringLiteral("absurd.vld")));
        db.set(QStringLiteral("Artists"), QStringLiteral("2"))
            .set(QStringLiteral("Batches"), QStringLiteral("0"))
            .set(QStringLiteral("Tracks1"), QStringLiteral("1"))
            .set(QStringLiteral("Tracks2"), QStringLiteral("1"))
            .set(QString::fromUtf8(key), QString::fromUtf8(count));
        db.finish();
        t.exe({QStringLiteral("loadvld ") + t.file(QStringLiteral("absurd.vld"))});
        const QString report =
            kError + QStringLiteral("Invalid file format: damaged database (%1 = %2) (321)")
                         .arg(QString::fromUtf8(key), QString::fromUtf8(count));
        QElapsedTimer clock;
        clock.start();
        for (const char *line : {"listartists", "listbatches", "sartist", "strack x"}) {
            t.exe({QString::fromUtf8(line)});
            const QByteArray k(key);
            const QByteArray command(line);
            const bool concerned = (k == "Artists" && command != "listbatches") ||
                                   (k == "Batches" && command == "listbatches") ||
                                   (k == "Tracks1" && command == "strack x");
            if (concerned)
                EXPECT_EQ(t.row(2), report) << key << " " << line;
            else
                EXPECT_EQ(t->console.mode(), Console::Mode::Pager) << key << " " << line;
        }
        EXPECT_LT(clock.elapsed(), 5000) << "stopped only after looping through " << key;
    }

    // Each count on its own fits the store, their sum cannot.
    CatalogueFile db(t.file(QStringLiteral("sum.vld")));
    db.set(QStringLiteral("Artists"), QStringLiteral("3"));
    for (int a = 1; a <= 3; ++a)
        db.set(QStringLiteral("Tracks%1").arg(a), QStringLiteral("3"));
    db.finish();
    t.exe(
        {QStringLiteral("loadvld ") + t.file(QStringLiteral("sum.vld")), QStringLiteral("strack")});
    EXPECT_EQ(t.row(2),
              kError + QStringLiteral("Invalid file format: damaged database (Tracks2 = 3) (321)"));
}

// Nothing to list is an empty page, not an error.
TEST(Library, EmptyListingsOpenAnEmptyPage)
{
    TestSession t;
    CatalogueFile db(t.file(QStringLiteral("empty.vld")));
    db.set(QStringLiteral("Artists"), QStringLiteral("0"))
        .set(QStringLiteral("Batches"), QStringLiteral("1"))
        .set(QStringLiteral("BN1"), QStringLiteral("Nothing yet"))
        .set(QStringLiteral("BC1"), QStringLiteral("{}"));
    db.finish();
    t.exe({QStringLiteral("loadvld ") + t.file(QStringLiteral("empty.vld")),
           QStringLiteral("listartists")});
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
    EXPECT_EQ(pagerText(t), QString());
    t.exe({QStringLiteral("dbatch 1")});
    EXPECT_EQ(pagerText(t), QStringLiteral("Contents of batch 'Nothing yet':\n\n"));
}

// A listing longer than the pager can hold stops where the pager is full.
TEST(Library, ListingsStopAtThePagersCapacity)
{
    TestSession t;
    CatalogueFile db(t.file(QStringLiteral("big.vld")));
    constexpr int kArtists = 70000;
    db.set(QStringLiteral("Artists"), QString::number(kArtists));
    for (int a = 1; a <= kArtists; ++a)
        db.set(QStringLiteral("Artist%1").arg(a), QStringLiteral("Band"));
    db.finish();
    t.exe({QStringLiteral("loadvld ") + t.file(QStringLiteral("big.vld")),
           QStringLiteral("listartists")});
    EXPECT_EQ(t->pager.pageCount(), Pager::kCapacity);
    EXPECT_EQ(t->pager.pageLine(Pager::kCapacity - 2), QStringLiteral("64000: Band"));
    t.exe({QStringLiteral("sartist band")});
    EXPECT_EQ(t->pager.pageLine(Pager::kCapacity - 2), QStringLiteral("63998: Band"));
    t.exe({QStringLiteral("showvld")});
    EXPECT_EQ(t->pager.pageCount(), Pager::kCapacity);
}

// A name longer than the pager could show (one was 50 MB) is listed cut, with a note of what
// was left out, rather than as an empty page.
TEST(Library, OverlongNamesAreListedCutWithANote)
{
    TestSession t;
    constexpr qsizetype kHuge = 6000000;
    const QString fits(kLongestShownValue, u'y');
    CatalogueFile db(t.file(QStringLiteral("long.vld")));
    db.set(QStringLiteral("Artists"), QStringLiteral("2"))
        .set(QStringLiteral("Artist1"), QString(kHuge, u'x'))
        .set(QStringLiteral("Artist2"), fits)
        .set(QStringLiteral("Batches"), QStringLiteral("1"))
        .set(QStringLiteral("BN1"), QString(kHuge, u'x'))
        .set(QStringLiteral("BC1"), QStringLiteral("{}"));
    db.finish();
    t.exe({QStringLiteral("loadvld ") + t.file(QStringLiteral("long.vld"))});
    const QString cut =
        QString(kLongestShownValue, u'x') +
        QStringLiteral(" [cut: %1 more characters]").arg(kHuge - kLongestShownValue);
    const std::pair<const char *, QString> listings[] = {
        {"listartists", QStringLiteral("1: ") + cut + QStringLiteral("2: ") + fits},
        {"listbatches", QStringLiteral("1: ") + cut},
        {"sartist x", QStringLiteral("Search results for artist 'x':1: ") + cut},
    };
    for (const auto &[line, expected] : listings) {
        t.exe({QString::fromUtf8(line)});
        QString shown;
        for (int i = 0; i < t->pager.pageCount(); ++i)
            shown += t->pager.pageLine(i);
        EXPECT_EQ(shown, expected) << line;
    }
}

} // namespace
