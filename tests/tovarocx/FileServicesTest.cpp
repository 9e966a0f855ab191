// The file, drive, INI and window services on a real temporary tree.

#include "FileQueries.h"
#include "IniFile.h"
#include "WindowServices.h"
#include "tovarocx/TovarInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(FileQueries, ExistenceDrivesAndDates)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("f.txt"));
    write(file, "x");
    EXPECT_TRUE(Tovar::fileExists(file));
    EXPECT_FALSE(Tovar::fileExists(tmp.path()));
    EXPECT_FALSE(Tovar::fileExists(QString()));
    EXPECT_TRUE(Tovar::folderExists(tmp.path()));
    EXPECT_FALSE(Tovar::folderExists(file));

    const QDateTime modified(QDate(2001, 2, 3), QTime(4, 5, 6));
    const QDateTime accessed(QDate(2002, 3, 4), QTime(5, 6, 7));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
        ASSERT_TRUE(f.setFileTime(accessed, QFileDevice::FileAccessTime));
    }
    EXPECT_EQ(Tovar::fileDate(file, Tovar::FileDate::Modified), modified);
    EXPECT_EQ(Tovar::fileDate(file, Tovar::FileDate::Accessed), accessed);
    const QDateTime created = Tovar::fileDate(file, Tovar::FileDate::Created);
    EXPECT_LE(qAbs(created.secsTo(QDateTime::currentDateTime())), 600);
    EXPECT_TRUE(Tovar::folderCreated(tmp.path()).isValid());

    try {
        Tovar::fileDate(tmp.path(), Tovar::FileDate::Modified);
        ADD_FAILURE() << "a folder is no file";
    } catch (const Tovar::Error &error) {
        EXPECT_EQ(error.number, 53);
    }
    try {
        Tovar::folderCreated(file);
        ADD_FAILURE() << "a file is no folder";
    } catch (const Tovar::Error &error) {
        EXPECT_EQ(error.number, 76);
    }
}

// Folders standing for drives: 0 missing, 1 not ready (an empty bay: nothing mounted, nothing
// in it; or unreadable), 2 ready (anything mounted, even an empty file system; or contents).
TEST(FileQueries, DriveStates)
{
    QTemporaryDir tmp;
    const auto folder = [&tmp](const char *name) {
        const QString path = tmp.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    };
    write(tmp.filePath(QStringLiteral("file")), "x");
    const QString full = folder("full");
    write(full + QStringLiteral("/f"), "x");
    const QString closed = folder("closed");
    ::chmod(QFile::encodeName(closed).constData(), 0);
    std::vector<std::pair<QString, int>> cases = {
        {tmp.filePath(QStringLiteral("none")), 0},
        {tmp.filePath(QStringLiteral("file")), 0},
        {QString(), 0},
        {folder("bay"), 1},
        {full, 2},
        {QStringLiteral("/"), 2},
        {QStringLiteral("/proc"), 2},
    };
    if (::geteuid() != 0) // root reads every folder
        cases.emplace_back(closed, 1);
    // Empty file systems mounted, one by a bind that keeps the device: needs the right to mount.
    const QString mounted = folder("mounted");
    const QString bound = folder("bound");
    const QString source = folder("source");
    const bool canMount =
        ::mount("tmpfs", QFile::encodeName(mounted).constData(), "tmpfs", 0, "size=64k") == 0;
    if (canMount) {
        EXPECT_EQ(::mount(QFile::encodeName(source).constData(),
                          QFile::encodeName(bound).constData(), nullptr, MS_BIND, nullptr),
                  0);
        cases.emplace_back(mounted, 2);
        cases.emplace_back(bound, 2);
        cases.emplace_back(source, 1);
    }
    for (const auto &[path, state] : cases)
        EXPECT_EQ(Tovar::driveState(path), state) << path.toStdString();
    if (canMount) {
        ::umount2(QFile::encodeName(bound).constData(), MNT_DETACH);
        ::umount2(QFile::encodeName(mounted).constData(), MNT_DETACH);
    }
    ::chmod(QFile::encodeName(closed).constData(), 0700);
    if (!canMount)
        GTEST_SKIP() << "cannot mount here: the mounted cases were not run";
}

TEST(IniFile, RemovesOnlyTheFirstMatchingKeyOfTheFirstMatchingSection)
{
    struct Case
    {
        const char *in, *section, *key, *out;
    };
    const Case cases[] = {
        {"[a]\r\nk=1\r\nj=2\r\n", "a", "k", "[a]\r\nj=2\r\n"},
        {"[A]\nK = 1\nk=2\n", " a ", "k ", "[A]\nk=2\n"},
        {"[b]\nk=1\n[a]\nk=2\n", "a", "k", "[b]\nk=1\n[a]\n"},
        {"[a]\nx=1\n[a]\nk=2\n", "a", "k", "[a]\nx=1\n[a]\nk=2\n"},
        {"k=0\n[a]\nk=1", "a", "k", "k=0\n[a]\n"},
        {"[a]\n;k=1\nk\n=k\n", "a", "k", "[a]\n;k=1\nk\n=k\n"},
        {"[a]\nkey=1\n", "a", "k", "[a]\nkey=1\n"},
        {"  [a] ; note\n\tk=\n", "a", "k", "  [a] ; note\n"},
        {"[a\nk=1\n", "a", "k", "[a\nk=1\n"},
        {"", "a", "k", ""},
        {"[\xc3\x89t\xc3\xa9]\n\xc3\xa9=1\n", "\xc3\xa9t\xc3\xa9", "\xc3\x89", "[\xc3\x89t\xc3\xa9]\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Tovar::withoutIniKey(c.in, QString::fromUtf8(c.section),
                                       QString::fromUtf8(c.key)),
                  QByteArray(c.out))
            << c.in;
}

TEST(IniFile, TheFileIsRewrittenOnlyWhenAKeyGoes)
{
    QTemporaryDir tmp;
    const QString ini = tmp.filePath(QStringLiteral("x.ini"));
    write(ini, "[s]\r\na=1\r\nb=2\r\n");
    Tovar::removeIniKey(QStringLiteral("s"), QStringLiteral("a"), ini);
    EXPECT_EQ(read(ini), QByteArray("[s]\r\nb=2\r\n"));

    const QString missing = tmp.filePath(QStringLiteral("none.ini"));
    Tovar::removeIniKey(QStringLiteral("s"), QStringLiteral("a"), missing);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_THROW(Tovar::removeIniKey(QStringLiteral("s"), QStringLiteral("a"), tmp.path()),
                 Tovar::Error);

    if (geteuid() != 0) {
        QFile::setPermissions(tmp.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        try {
            Tovar::removeIniKey(QStringLiteral("s"), QStringLiteral("b"), ini);
            ADD_FAILURE() << "the folder is read-only";
        } catch (const Tovar::Error &error) {
            EXPECT_TRUE(error.number == 70 || error.number == 75) << error.number;
        }
        EXPECT_EQ(read(ini), QByteArray("[s]\r\nb=2\r\n"));
        QFile::setPermissions(tmp.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
    }
}

TEST(WindowServices, IconsTopMostAndAProgramWaitedFor)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("a.txt"));
    write(file, "x");
    const QPixmap small = Tovar::fileIcon(file, Tovar::IconSize::Small);
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.width(), 16);
    EXPECT_EQ(Tovar::fileIcon(file, Tovar::IconSize::Big).width(), 32);
    EXPECT_TRUE(Tovar::fileIcon(tmp.filePath(QStringLiteral("none")), Tovar::IconSize::Big)
                    .isNull());

    QWidget window;
    Tovar::setTopMost(&window, true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    Tovar::setTopMost(&window, false);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    QObject notAWindow;
    EXPECT_THROW(Tovar::setTopMost(&notAWindow, true), Tovar::Error);

    // The program runs to its end before the call returns; the window is shown again.
    const QString mark = tmp.filePath(QStringLiteral("mark"));
    Tovar::shellAndWait(&window, QStringLiteral("sh -c \"sleep 0.2; echo done > '%1'\"").arg(mark));
    EXPECT_EQ(read(mark), QByteArray("done\n"));
    EXPECT_TRUE(window.isVisible());
    window.hide();
    for (const QString &line : {QStringLiteral("/no/such/program"), QString()}) {
        try {
            Tovar::shellAndWait(&window, line);
            ADD_FAILURE() << line.toStdString();
        } catch (const Tovar::Error &error) {
            EXPECT_EQ(static_cast<unsigned>(error.number), 0x8004012CU);
            EXPECT_EQ(error.description, QStringLiteral("Error starting task"));
        }
    }
    EXPECT_FALSE(window.isVisible());
}

} // namespace
