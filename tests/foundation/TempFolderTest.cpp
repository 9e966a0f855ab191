// The sweep of private temporary folders left by runs that died: only what is unmistakably
// such a folder goes; the folder of a live run, look-alikes, links and files stay.

#include "foundation/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(TempFolder, OnlyFoldersOfRunsThatDiedAreRemoved)
{
    QTemporaryDir temp;
    QTemporaryDir elsewhere;
    const QString dead = QStringLiteral("2147483646"); // above any pid the kernel hands out
    const QString alive = QString::number(::getpid());
    const QString victim = elsewhere.filePath(QStringLiteral("keep.txt"));
    QFile(victim).open(QIODevice::WriteOnly);
    enum Kind { Folder, Link, File };
    const struct
    {
        QString name;
        Kind kind;
        bool removed;
    } cases[] = {
        {QStringLiteral("i2kCmd-%1-aB3xY9").arg(dead), Folder, true},
        {QStringLiteral("i2kCmd-%1-aB3xY9").arg(alive), Folder, false},
        {QStringLiteral("i2kCmd-%1-Zz0Zz1").arg(dead), Link, false},
        {QStringLiteral("i2kCmd-%1-Zz0Zz2").arg(dead), File, false},
        {QStringLiteral("i2kCmd-aB3xY9"), Folder, false},
        {QStringLiteral("i2kCmd-%1-aB3xY").arg(dead), Folder, false},
        {QStringLiteral("i2kCmd-%1-aB3xY9.old").arg(dead), Folder, false},
        {QStringLiteral("other-%1-aB3xY9").arg(dead), Folder, false},
    };
    for (const auto &c : cases) {
        const QString path = temp.filePath(c.name);
        if (c.kind == Folder) {
            ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/sub")));
            // A link inside a swept folder goes, never what it points at.
            ASSERT_TRUE(QFile::link(victim, path + QStringLiteral("/sub/link")));
        } else if (c.kind == Link) {
            ASSERT_TRUE(QFile::link(elsewhere.path(), path));
        } else {
            QFile(path).open(QIODevice::WriteOnly);
        }
    }
    removeAbandonedTempFolders(temp.path());
    for (const auto &c : cases) {
        EXPECT_EQ(QFileInfo::exists(temp.filePath(c.name)) ||
                      QFileInfo(temp.filePath(c.name)).isSymLink(),
                  !c.removed)
            << c.name.toStdString();
    }
    EXPECT_TRUE(QFile::exists(victim));
}

// A run's own folder carries its process number, so the sweep can tell it lives.
TEST(TempFolder, OwnFolderIsNamedAfterTheRunAndSurvivesTheSweep)
{
    PrivateTempFolder folder;
    const QString file = folder.file(QStringLiteral("x"));
    const QString name = QFileInfo(QFileInfo(file).path()).fileName();
    EXPECT_TRUE(name.startsWith(QStringLiteral("i2kCmd-%1-").arg(::getpid())))
        << name.toStdString();
    removeAbandonedTempFolders();
    EXPECT_TRUE(QFileInfo(QFileInfo(file).path()).isDir());
}

} // namespace
