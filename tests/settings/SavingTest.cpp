// Saving on a full, failing or read-only disk: the files kept before stay whole, commands
// go on, and the user is told (on the console while it runs, on standard error at the end).

#include "TestSession.h"
#include "foundation/TextFile.h"
#include "foundation/TextFileTesting.h"
#include "player/PlaylistCommands.h"
#include "controller/Lifecycle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

const QStringList kKeptFiles = {QStringLiteral("set.cf"), QStringLiteral("playlist.dat"),
                                QStringLiteral("options.ini"), QStringLiteral("eventlog.txt")};

class Saving : public ::testing::Test
{
protected:
    QTemporaryDir scratch;
    QString home;

    std::unique_ptr<Session> start()
    {
        auto s = std::make_unique<Session>(Session::Config{ProgramFolder(home),
                                                           home + QStringLiteral("/options.ini"),
                                                           {},
                                                           QStringLiteral("null")});
        startUp(*s);
        return s;
    }

    // A first run that saves every kept file; answers their bytes.
    QHash<QString, QByteArray> firstRun()
    {
        auto s = start();
        s->exe(QStringLiteral("set dir showfile"));
        s->playlist[0] = {QStringLiteral("1"), QStringLiteral("2")};
        shutDown(*s);
        QHash<QString, QByteArray> saved;
        for (const QString &name : kKeptFiles) {
            saved.insert(name, TextFile::readBytes(home + u'/' + name));
            EXPECT_FALSE(saved[name].isEmpty()) << name.toStdString();
        }
        return saved;
    }

    // A second run that changes everything and cannot save it: nothing of the first run's
    // files is lost, and each failure is named on standard error.
    void expectNothingLost(const QHash<QString, QByteArray> &saved,
                           const std::function<void()> &breakDisk, const QString &reason)
    {
        auto s = start();
        s->exe(QStringLiteral("set e exit"));
        s->playlist[1] = {QStringLiteral("3"), QStringLiteral("4")};
        s->exe(QStringLiteral("eventlog 4096"));
        breakDisk();
        // While it runs, a log that cannot be saved is one red line, once.
        s->exe(QStringLiteral("write still running"));
        EXPECT_FALSE(s->log.save());
        EXPECT_EQ(s->console.scrCells().rowText(1).trimmed(), QStringLiteral("still running"));
        EXPECT_EQ(s->console.scrCells().rowText(2).trimmed(),
                  QStringLiteral("Could not save %1/eventlog.txt: %2").arg(home, reason));
        s->exe(QStringLiteral("write again"));
        EXPECT_FALSE(s->log.save());
        EXPECT_EQ(s->console.scrCells().rowText(2).trimmed(), QString());

        testing::internal::CaptureStderr();
        shutDown(*s);
        const QString errors = QString::fromStdString(testing::internal::GetCapturedStderr());
        for (const QString &name : kKeptFiles) {
            EXPECT_EQ(TextFile::readBytes(home + u'/' + name), saved[name]) << name.toStdString();
            EXPECT_TRUE(errors.contains(QStringLiteral("Could not save %1/%2: ").arg(home, name)))
                << name.toStdString() << "\n"
                << errors.toStdString();
        }
        // No temporary files are left behind.
        EXPECT_EQ(QDir(home).entryList(QDir::Files).size(),
                  kKeptFiles.size() + (QFile::exists(home + "/filler") ? 1 : 0))
            << QDir(home).entryList(QDir::Files).join(u' ').toStdString();
    }
};

TEST_F(Saving, AWriteFailureEverywhereLosesNothing)
{
    home = scratch.path();
    const auto saved = firstRun();
    expectNothingLost(
        saved, [] { TextFile::Testing::failWritesFrom(1, ENOSPC); },
        QStringLiteral("Disk full (61)"));
    TextFile::Testing::failWritesFrom(0, 0);
}

// A real small file system, filled to the last byte; needs the right to mount (root).
class SmallFileSystem : public Saving
{
protected:
    void SetUp() override
    {
        home = scratch.filePath(QStringLiteral("mnt"));
        QDir().mkpath(home);
        if (::mount("tmpfs", QFile::encodeName(home).constData(), "tmpfs", 0, "size=512k") != 0)
            GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(home).constData(), MNT_DETACH);
    }
    void fill()
    {
        QFile filler(home + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("f", 1) == 1) {
        }
    }
    void makeReadOnly()
    {
        ASSERT_EQ(::mount(nullptr, QFile::encodeName(home).constData(), nullptr,
                          MS_REMOUNT | MS_RDONLY, nullptr),
                  0)
            << std::strerror(errno);
    }

private:
    bool m_mounted = false;
};

TEST_F(SmallFileSystem, AFullDiskLosesNothing)
{
    const auto saved = firstRun();
    expectNothingLost(
        saved, [this] { fill(); }, QStringLiteral("Disk full (61)"));
}

TEST_F(SmallFileSystem, AReadOnlyFolderStopsNoCommand)
{
    const auto saved = firstRun();
    expectNothingLost(
        saved, [this] { makeReadOnly(); }, QStringLiteral("Permission denied (70)"));
}

} // namespace

// Shut-down saves files that mostly have not changed: those keep their inode (no rewrite, no
// sync), and a change still replaces the file as a whole.
TEST(SavingUnchanged, AFileHoldingTheSameBytesIsNotRewritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.cf"));
    const QByteArray bytes("a = 1\r\n");
    const auto inode = [&] {
        struct stat st{};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        return st.st_ino;
    };
    TextFile::save(path, bytes);
    const auto first = inode();
    TextFile::save(path, bytes);
    EXPECT_EQ(inode(), first);
    for (const QByteArray &changed : {QByteArray("a = 2\r\n"), QByteArray("a = 2\r\nb")}) {
        const auto before = inode();
        TextFile::save(path, changed);
        EXPECT_NE(inode(), before);
        EXPECT_EQ(TextFile::readBytes(path), changed);
    }
}
