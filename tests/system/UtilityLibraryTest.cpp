// The utility plugin as the commands reach it: loaded from the build tree, called by
// dispatch id with arguments by reference, and its absence reported by name.

#include "TestSession.h"
#include "foundation/RuntimeError.h"
#include "system/UtilityLibrary.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(UtilityLibrary, CallsThePluginByDispatchIdAndWritesBackIntoTheArgument)
{
    TestSession s;
    QVariantList args{QStringLiteral("a &amp; b<br>c")};
    EXPECT_EQ(s->utility.invoke(Tovar::HTML2PT, args).toString(), QStringLiteral("a & b\r\nc"));
    EXPECT_EQ(args[0].toString(), QStringLiteral("a & b\r\nc"));
    EXPECT_EQ(s->utility.call(Tovar::ColConv, {QStringLiteral("Red")}).toInt(), 255);
}

TEST(UtilityLibrary, PluginFailuresArriveAsRuntimeErrors)
{
    TestSession s;
    try {
        s->utility.call(0x60030001, {});
        FAIL() << "an unknown id must fail";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 438);
    }
    try {
        s->utility.call(Tovar::HTML2PT, {});
        FAIL() << "a missing argument must fail";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 450);
    }
}

TEST(UtilityLibrary, AMissingPluginNamesEveryFileLookedFor)
{
    QTemporaryDir first;
    QTemporaryDir second;
    UtilityLibrary utility({first.path(), second.path()});
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            utility.call(Tovar::HTML2PT, {QString()});
            FAIL() << "no plugin is there";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), 429);
            EXPECT_TRUE(error.description().contains(QDir(first.path()).filePath(
                UtilityLibrary::kFileName)));
            EXPECT_TRUE(error.description().contains(QDir(second.path()).filePath(
                UtilityLibrary::kFileName)));
        }
    }
}

TEST(UtilityLibrary, AFileThatIsNoPluginIsNamedWithTheReason)
{
    QTemporaryDir folder;
    QFile fake(QDir(folder.path()).filePath(UtilityLibrary::kFileName));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    UtilityLibrary utility({folder.path()});
    try {
        utility.call(Tovar::HTML2PT, {QString()});
        FAIL() << "the file is no plugin";
    } catch (const RuntimeError &error) {
        EXPECT_TRUE(error.description().contains(fake.fileName() + QStringLiteral(": ")));
    }
}

} // namespace
