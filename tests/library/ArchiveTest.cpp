// Tests of the archive and file readers on archives built here, sound and damaged, and on
// byte ranges at and past the end of a file.

#include "formats/Archive.h"
#include "foundation/RuntimeError.h"
#include "formats/ArchiveWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <limits>
#include <vector>

namespace {

constexpr quint64 kMax64 = std::numeric_limits<quint64>::max();

struct ArchiveEntry
{
    QByteArray name;
    QByteArray data;
};

template <typename T> void putLittleEndian(QByteArray &bytes, qsizetype at, T value)
{
    qToLittleEndian<T>(value, bytes.data() + at);
}

// An archive as the layout describes it: header, the entries' data, then the directory.
QByteArray buildArchive(const std::vector<ArchiveEntry> &entries)
{
    QByteArray bytes(20, '\0');
    bytes.replace(0, 4, "ITVL");
    putLittleEndian<quint16>(bytes, 4, 1);
    putLittleEndian<quint32>(bytes, 8, quint32(entries.size()));
    std::vector<quint64> offsets;
    for (const auto &e : entries) {
        offsets.push_back(quint64(bytes.size()));
        bytes += e.data;
    }
    putLittleEndian<quint64>(bytes, 12, quint64(bytes.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        QByteArray slot(32, '\0');
        slot.replace(0, entries[i].name.size(), entries[i].name);
        putLittleEndian<quint64>(slot, 16, offsets[i]);
        putLittleEndian<quint64>(slot, 24, quint64(entries[i].data.size()));
        bytes += slot;
    }
    return bytes;
}

// Offset of the i-th directory slot in an archive from buildArchive.
qsizetype slotAt(const QByteArray &archive, int i)
{
    return qsizetype(qFromLittleEndian<quint64>(archive.constData() + 12)) + 32 * i;
}

class ArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }

    // The error the call raises, as "number: description"; "none" when it raises nothing.
    static QString errorOf(const std::function<void()> &fn)
    {
        try {
            fn();
        } catch (const RuntimeError &e) {
            return QStringLiteral("%1: %2").arg(e.number()).arg(e.description());
        }
        return QStringLiteral("none");
    }

    QTemporaryDir m_dir;
    Archive m_archive;
};

const QString kDamaged = QStringLiteral("321: Invalid file format: truncated or damaged archive");

} // namespace

TEST_F(ArchiveTest, ReadsEntriesByNameAndOccurrence)
{
    const QByteArray sixteen = "ABCDEFGHIJKLMNOP";
    const QString path = write(QStringLiteral("music.db"),
                               buildArchive({{"VELMORAD", "#i2kCmd-store 1\r\nsong=1\r\n"},
                                             {"Song", "Gr\xC3\xBC\xC3\x9F"
                                                      "e"},
                                             {"empty", ""},
                                             {"SONG", "second song"},
                                             {sixteen, "full name"},
                                             {"cp1252", "caf\xE9"},
                                             {"song", "third song"}}));

    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("velmorad")),
              QStringLiteral("#i2kCmd-store 1\r\nsong=1\r\n"));
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("song")), QStringLiteral("Grüße"));
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("sOnG"), 2), QStringLiteral("second song"));
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("SONG"), 3), QStringLiteral("third song"));
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("Empty")), QString());
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("abcdefghijklmnop")),
              QStringLiteral("full name"));
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("CP1252")), QStringLiteral("café"));

    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("song"), 4); }),
              QStringLiteral("321: Invalid file format: no entry song"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("son")); }),
              QStringLiteral("321: Invalid file format: no entry son"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("abcdefghijklmnopq")); }),
              QStringLiteral("321: Invalid file format: no entry abcdefghijklmnopq"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("Söng")); }),
              QStringLiteral("321: Invalid file format: no entry Söng"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QString()); }),
              QStringLiteral("321: Invalid file format: no entry "));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("song"), 0); }),
              QStringLiteral("5: Invalid procedure call or argument"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("song"), -1); }),
              QStringLiteral("5: Invalid procedure call or argument"));
    EXPECT_EQ(errorOf([&] {
                  m_archive.ReadEntry(m_dir.filePath(QStringLiteral("none.db")),
                                      QStringLiteral("song"));
              }),
              QStringLiteral("53: File not found"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(m_dir.path(), QStringLiteral("song")); }),
              QStringLiteral("75: Path/File access error"));

    // No entries at all.
    const QString emptyPath = write(QStringLiteral("empty.db"), buildArchive({}));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(emptyPath, QStringLiteral("VELMORAD")); }),
              QStringLiteral("321: Invalid file format: no entry VELMORAD"));
}

TEST_F(ArchiveTest, EveryTruncationIsAnError)
{
    const QByteArray whole = buildArchive({{"VELMORAD", "index"}, {"other", "x"}});
    const QString path = m_dir.filePath(QStringLiteral("cut.db"));
    ASSERT_EQ(
        m_archive.ReadEntry(write(QStringLiteral("cut.db"), whole), QStringLiteral("VELMORAD")),
        QStringLiteral("index"));
    for (qsizetype length = 0; length < whole.size(); ++length) {
        write(QStringLiteral("cut.db"), whole.first(length));
        const QString error =
            errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("VELMORAD")); });
        const QString expected =
            length < 4 ? QStringLiteral("321: Invalid file format: not an ITVL archive") : kDamaged;
        EXPECT_EQ(error, expected) << "archive cut to " << length << " bytes";
    }
}

TEST_F(ArchiveTest, RejectsHostileHeadersAndDirectories)
{
    const QByteArray good = buildArchive({{"VELMORAD", "0123456789"}, {"next", "abc"}});
    const qsizetype slot = slotAt(good, 0);
    struct Case
    {
        const char *what;
        std::function<void(QByteArray &)> damage;
        QString error;
    };
    const std::vector<Case> cases = {
        {"wrong magic", [](QByteArray &b) { b[3] = 'X'; },
         QStringLiteral("321: Invalid file format: not an ITVL archive")},
        {"lower-case magic", [](QByteArray &b) { b.replace(0, 4, "itvl"); },
         QStringLiteral("321: Invalid file format: not an ITVL archive")},
        {"version 2", [](QByteArray &b) { putLittleEndian<quint16>(b, 4, 2); },
         QStringLiteral("321: Invalid file format: unsupported archive version 2")},
        {"version 0", [](QByteArray &b) { putLittleEndian<quint16>(b, 4, 0); },
         QStringLiteral("321: Invalid file format: unsupported archive version 0")},
        {"count 0xFFFFFFFF", [](QByteArray &b) { putLittleEndian<quint32>(b, 8, 0xFFFFFFFFu); },
         kDamaged},
        {"count one too many", [](QByteArray &b) { putLittleEndian<quint32>(b, 8, 3); }, kDamaged},
        {"directory past the end",
         [](QByteArray &b) { putLittleEndian<quint64>(b, 12, quint64(b.size()) + 1); }, kDamaged},
        {"directory at 2^64-1", [](QByteArray &b) { putLittleEndian<quint64>(b, 12, kMax64); },
         kDamaged},
        {"directory wrapping around",
         [](QByteArray &b) { putLittleEndian<quint64>(b, 12, kMax64 - 31); }, kDamaged},
        {"entry length overflowing",
         [slot](QByteArray &b) { putLittleEndian<quint64>(b, slot + 24, kMax64); }, kDamaged},
        {"entry offset overflowing",
         [slot](QByteArray &b) {
             putLittleEndian<quint64>(b, slot + 16, kMax64 - 1);
             putLittleEndian<quint64>(b, slot + 24, 4);
         },
         kDamaged},
        {"entry one byte past the end",
         [slot](QByteArray &b) {
             putLittleEndian<quint64>(b, slot + 16, quint64(b.size()) - 10);
             putLittleEndian<quint64>(b, slot + 24, 11);
         },
         kDamaged},
        {"entry offset past the end",
         [slot](QByteArray &b) {
             putLittleEndian<quint64>(b, slot + 16, quint64(b.size()) + 1);
             putLittleEndian<quint64>(b, slot + 24, 0);
         },
         kDamaged},
    };
    for (const auto &c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        const QString path = write(QStringLiteral("bad.db"), bytes);
        EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("VELMORAD")); }), c.error)
            << c.what;
    }

    // Damage confined to one entry leaves the others readable; an entry that ends exactly
    // at the end of the file is sound.
    QByteArray bytes = good;
    putLittleEndian<quint64>(bytes, slot + 24, kMax64);
    putLittleEndian<quint64>(bytes, slotAt(good, 1) + 16, quint64(bytes.size()) - 3);
    const QString path = write(QStringLiteral("partly.db"), bytes);
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("next")),
              QString::fromLatin1(bytes.last(3)));
    // Unknown flags are ignored, as the layout says.
    bytes = good;
    putLittleEndian<quint16>(bytes, 6, 0xFFFF);
    EXPECT_EQ(
        m_archive.ReadEntry(write(QStringLiteral("flags.db"), bytes), QStringLiteral("velmorad")),
        QStringLiteral("0123456789"));
}

// Offsets beyond 4 GiB must survive intact; the file is sparse, so this costs no disk space
// and would show at once if the reader loaded the whole file.
TEST_F(ArchiveTest, ReadsEntryBeyondFourGigabytes)
{
    const QString path = m_dir.filePath(QStringLiteral("huge.db"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    constexpr qint64 kDataAt = (qint64(1) << 32) + 7;
    QByteArray header = buildArchive({});
    putLittleEndian<quint32>(header, 8, 2);
    putLittleEndian<quint64>(header, 12, kDataAt + 5);
    QByteArray dir(64, '\0');
    dir.replace(0, 8, "VELMORAD");
    putLittleEndian<quint64>(dir, 16, kDataAt);
    putLittleEndian<quint64>(dir, 24, 5);
    dir.replace(32, 5, "small");
    putLittleEndian<quint64>(dir, 48, 0);
    putLittleEndian<quint64>(dir, 56, 3);
    if (!file.resize(kDataAt) || !file.seek(kDataAt))
        GTEST_SKIP() << "no room for a sparse 4 GiB file here";
    ASSERT_EQ(file.write("hello" + dir), 69);
    ASSERT_TRUE(file.seek(0));
    ASSERT_EQ(file.write(header), 20);
    file.close();

    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("VELMORAD")), QStringLiteral("hello"));
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("small")), QStringLiteral("ITV"));
    EXPECT_EQ(m_archive.ReadRange(path, 1, 3), QStringLiteral("TVL"));
}

// An entry read as text longer than any catalogue is refused before anything is read: a
// sparse file would otherwise fill the memory with zeros.
TEST_F(ArchiveTest, RefusesEntriesTooLongToReadAsText)
{
    const QString path = m_dir.filePath(QStringLiteral("sparse.db"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 dataAt = 20;
    const qint64 length = Archive::kMaxEntrySize + 1;
    QByteArray header = buildArchive({});
    putLittleEndian<quint32>(header, 8, 1);
    putLittleEndian<quint64>(header, 12, dataAt + length);
    QByteArray slot(32, '\0');
    slot.replace(0, 8, "VELMORAD");
    putLittleEndian<quint64>(slot, 16, dataAt);
    putLittleEndian<quint64>(slot, 24, quint64(length));
    if (!file.resize(dataAt + length) || !file.seek(dataAt + length))
        GTEST_SKIP() << "no room for a sparse file here";
    ASSERT_EQ(file.write(slot), 32);
    ASSERT_TRUE(file.seek(0));
    ASSERT_EQ(file.write(header), 20);
    file.close();
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("VELMORAD")); }),
              QStringLiteral("7: File too large"));
}

// A directory longer than any database's is refused before it is read, however large the
// (sparse) file: scanning 2^32-1 slots of zeros took about a minute at every start. Each
// directory starts with a sound catalogue slot, so a reader that scans rather than refuses
// answers its text instead of the error.
TEST_F(ArchiveTest, RefusesDirectoriesLongerThanAnyDatabase)
{
    struct Case
    {
        quint32 count;
        QString error;
    };
    const std::vector<Case> cases = {
        {0xFFFFFFFFu, kDamaged},
        {Archive::kMaxEntries + 1, kDamaged},
        {Archive::kMaxEntries, QStringLiteral("none")},
    };
    for (const Case &c : cases) {
        const QString path = m_dir.filePath(QStringLiteral("sparse.db"));
        QFile::remove(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = buildArchive({{"VELMORAD", "#i2kCmd-store 1"}});
        putLittleEndian<quint32>(bytes, 8, c.count);
        const qint64 end = slotAt(bytes, 0) + qint64(c.count) * 32;
        if (!file.resize(end))
            GTEST_SKIP() << "no room for a sparse file here";
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(path, QStringLiteral("VELMORAD")); }), c.error)
            << c.count;
    }
}

TEST_F(ArchiveTest, ReadsRangesWithinTheFileOnly)
{
    const QString path = write(QStringLiteral("data.txt"), "0123456789\xC3\xA9");
    EXPECT_EQ(m_archive.ReadRange(path, 0, 4), QStringLiteral("0123"));
    EXPECT_EQ(m_archive.ReadRange(path, 3, 2), QStringLiteral("34"));
    EXPECT_EQ(m_archive.ReadRange(path, 10, 2), QStringLiteral("é"));
    EXPECT_EQ(m_archive.ReadRange(path, 0, 12), QStringLiteral("0123456789é"));
    EXPECT_EQ(m_archive.ReadRange(path, 12, 0), QString());
    EXPECT_EQ(m_archive.ReadRange(path, 5, 0), QString());

    const QString pastEnd = QStringLiteral("62: Input past end of file");
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(path, 11, 2); }), pastEnd);
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(path, 13, 0); }), pastEnd);
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(path, 0, 13); }), pastEnd);
    EXPECT_EQ(errorOf([&] {
                  m_archive.ReadRange(path, std::numeric_limits<qint32>::max(),
                                      std::numeric_limits<qint32>::max());
              }),
              pastEnd);

    const QString invalid = QStringLiteral("5: Invalid procedure call or argument");
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(path, -1, 2); }), invalid);
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(path, 0, -1); }), invalid);
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(m_dir.filePath(QStringLiteral("gone")), -1, 0); }),
              invalid);
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(m_dir.filePath(QStringLiteral("gone")), 0, 1); }),
              QStringLiteral("53: File not found"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(m_dir.path(), 0, 1); }),
              QStringLiteral("75: Path/File access error"));
}

TEST_F(ArchiveTest, FileExistsAndReadAll)
{
    const QString path = write(QStringLiteral("whole.txt"), "line 1\r\nGr\xC3\xBC\xC3\x9F"
                                                            "e\r\n");
    EXPECT_TRUE(m_archive.FileExists(path));
    EXPECT_FALSE(m_archive.FileExists(m_dir.path()));
    EXPECT_FALSE(m_archive.FileExists(m_dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(m_archive.FileExists(QString()));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.txt")));
    EXPECT_FALSE(m_archive.FileExists(m_dir.filePath(QStringLiteral("folder.txt"))));

    EXPECT_EQ(m_archive.ReadAll(path), QStringLiteral("line 1\r\nGrüße\r\n"));
    EXPECT_EQ(m_archive.ReadAll(write(QStringLiteral("empty.txt"), QByteArray())), QString());
    EXPECT_EQ(errorOf([&] { m_archive.ReadAll(m_dir.filePath(QStringLiteral("missing.txt"))); }),
              QStringLiteral("53: File not found"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadAll(m_dir.filePath(QStringLiteral("folder.txt"))); }),
              QStringLiteral("75: Path/File access error"));
    // A pipe is never opened, whichever reader is asked.
    const QString fifo = m_dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(errorOf([&] { m_archive.ReadAll(fifo); }), QStringLiteral("68: Device unavailable"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadEntry(fifo, QStringLiteral("VELMORAD")); }),
              QStringLiteral("68: Device unavailable"));
    EXPECT_EQ(errorOf([&] { m_archive.ReadRange(fifo, 0, 1); }),
              QStringLiteral("68: Device unavailable"));
}

// What the writer makes, the reader reads: entries from bytes and from files, names in any
// case, a repeated name by occurrence, offsets that locate the data for range references.
TEST_F(ArchiveTest, TheWriterMakesArchivesTheReaderReads)
{
    const QString path = m_dir.filePath(QStringLiteral("made.vld"));
    const QString track = write(QStringLiteral("track.mp3"), QByteArray(3 * 1024 * 1024 + 7, 'm'));
    {
        ArchiveWriter writer(path);
        EXPECT_EQ(writer.addBytes(QStringLiteral("lyrics"), "la la"), 20u);
        const quint64 at = writer.addFile(QStringLiteral("t1"), track);
        EXPECT_EQ(at, 25u);
        writer.addBytes(QStringLiteral("lyrics"), "second");
        writer.addBytes(QStringLiteral("VELMORAD"), "#i2kCmd-store 1\r\nArtists=1\r\n");
        EXPECT_THROW(writer.addBytes(QStringLiteral("a name longer than 16"), "x"), RuntimeError);
        EXPECT_THROW(writer.addBytes(QString(), "x"), RuntimeError);
        EXPECT_FALSE(QFile::exists(path)); // nothing in place before finish
        writer.finish();
    }
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("velmorad")),
              QStringLiteral("#i2kCmd-store 1\r\nArtists=1\r\n"));
    EXPECT_EQ(m_archive.ReadEntry(path, QStringLiteral("LYRICS"), 2), QStringLiteral("second"));
    EXPECT_EQ(m_archive.ReadRange(path, 20, 5), QStringLiteral("la la"));
    EXPECT_EQ(m_archive.ReadRange(path, 25 + 3 * 1024 * 1024, 7), QStringLiteral("mmmmmmm"));

    // An archive abandoned half way leaves nothing, not even a temporary file.
    const QString other = m_dir.filePath(QStringLiteral("abandoned.vld"));
    {
        ArchiveWriter writer(other);
        writer.addBytes(QStringLiteral("x"), "y");
    }
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("*.vld*")}, QDir::Files),
              QStringList({QStringLiteral("made.vld")}));
}
