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

TEST(UtilityLibrary, EveryMemberAnswersAtItsDispatchId)
{
    TestSession s;
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("Long Name.text"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    UtilityLibrary &u = s->utility;
    // The temporary folder's own alias may change as other tests come and go beside it.
    const QString folder = u.call(Tovar::ShortFolder, {tmp.path()}).toString();
    EXPECT_EQ(folder.count(u'/'), tmp.path().count(u'/'));
    EXPECT_TRUE(u.call(Tovar::ShortPath, {file}).toString().endsWith(QStringLiteral("/LONGNA~1.TEX")));
    EXPECT_EQ(u.call(Tovar::ShortFile, {file}).toString(), QStringLiteral("LONGNA~1.TEX"));
    EXPECT_EQ(u.call(Tovar::ShortFileLocation, {file}).toString().count(u'/'), tmp.path().count(u'/'));
    EXPECT_EQ(u.call(Tovar::Reserved, {tmp.path() + QStringLiteral("/longna~1.tex")}).toString(), file);
    EXPECT_TRUE(u.call(Tovar::FExists, {file}).toBool());
    EXPECT_TRUE(u.call(Tovar::DirExists, {tmp.path()}).toBool());
    EXPECT_EQ(u.call(Tovar::DExists, {tmp.path()}).toInt(), 2);
    for (int id : {Tovar::FileCreated, Tovar::FileAccessed, Tovar::FileModified})
        EXPECT_EQ(u.call(id, {file}).typeId(), QMetaType::QDateTime) << id;
    EXPECT_EQ(u.call(Tovar::FolderCreated, {tmp.path()}).typeId(), QMetaType::QDateTime);
    EXPECT_EQ(u.call(Tovar::GetBigIcon, {file}).typeId(), QMetaType::QPixmap);
    EXPECT_FALSE(u.call(Tovar::GetSmallIcon, {tmp.filePath(QStringLiteral("none"))}).isValid());
    QVariantList html{QStringLiteral("a  <b>"), true};
    EXPECT_EQ(u.invoke(Tovar::PT2HTML, html).toString(), QStringLiteral("a&nbsp; &lt;b&gt;"));
    EXPECT_EQ(html[0].toString(), QStringLiteral("a&nbsp; &lt;b&gt;"));
    EXPECT_FALSE(u.call(Tovar::RemoveINIKey, {QStringLiteral("s"), QStringLiteral("k"),
                                              tmp.filePath(QStringLiteral("none.ini"))})
                     .isValid());
    try {
        u.call(Tovar::TopMost, {QStringLiteral("not a window"), true});
        ADD_FAILURE() << "a text is no window";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 13);
    }
    try {
        u.call(Tovar::FileModified, {tmp.filePath(QStringLiteral("none"))});
        ADD_FAILURE() << "no such file";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 53);
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
