// Where the program finds the sample database it opens on its very first start.

#include "settings/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(SampleDatabase, BesideABuildOrUnderShareOnceInstalled)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    EXPECT_EQ(ProgramFolder::sampleDatabase(bin), QString());

    // A folder of that name is not a database.
    QDir().mkpath(prefix.filePath(QStringLiteral("share/i2kCmd/sample.vld")));
    EXPECT_EQ(ProgramFolder::sampleDatabase(bin), QString());
    QDir(prefix.filePath(QStringLiteral("share"))).removeRecursively();

    touch(prefix.filePath(QStringLiteral("share/i2kCmd/sample.vld")));
    EXPECT_EQ(ProgramFolder::sampleDatabase(bin),
              prefix.filePath(QStringLiteral("share/i2kCmd/sample.vld")));
    // The build's own sample wins: it is the one made with this executable.
    touch(prefix.filePath(QStringLiteral("bin/sample/sample.vld")));
    EXPECT_EQ(ProgramFolder::sampleDatabase(bin),
              prefix.filePath(QStringLiteral("bin/sample/sample.vld")));
}

} // namespace
