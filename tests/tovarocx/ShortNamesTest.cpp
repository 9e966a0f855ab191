// 8.3 names: the aliases of one folder's names, and short paths on a real temporary tree
// with colliding names.

#include "ShortNames.h"
#include "tovarocx/TovarInterface.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString alias(const QStringList &folder, const QString &name)
{
    return Tovar::shortNames(folder).value(name);
}

TEST(ShortNames, NamesThatFitAreUpperCasedOthersAliasedInSortedOrder)
{
    const QStringList folder{
        QStringLiteral("readme.txt"),       QStringLiteral("Long File Nickname.txt"),
        QStringLiteral("Long File Name.txt"), QStringLiteral(".bashrc"),
        QStringLiteral("a.b.c"),            QStringLiteral("x+y;z.txt"),
        QStringLiteral("notes.html"),       QStringLiteral("caf\u00e9.txt"),
        QStringLiteral("file."),            QStringLiteral("NO_EXT"),
        QStringLiteral("{a}~1.$$$"),        QStringLiteral("two words"),
    };
    const std::pair<const char *, const char *> expected[] = {
        {"readme.txt", "README.TXT"},
        {"Long File Name.txt", "LONGFI~1.TXT"},
        {"Long File Nickname.txt", "LONGFI~2.TXT"},
        {".bashrc", "BASHRC~1"},
        {"a.b.c", "AB~1.C"},
        {"x+y;z.txt", "X_Y_Z~1.TXT"},
        {"notes.html", "NOTES~1.HTM"},
        {"caf\xc3\xa9.txt", "CAF_~1.TXT"},
        {"file.", "FILE~1"},
        {"NO_EXT", "NO_EXT"},
        {"{a}~1.$$$", "{A}~1.$$$"},
        {"two words", "TWOWOR~1"},
    };
    for (const auto &[name, short83] : expected)
        EXPECT_EQ(alias(folder, QString::fromUtf8(name)), QString::fromLatin1(short83)) << name;
}

TEST(ShortNames, CollisionsNeverShareAnAlias)
{
    // Differing only in case, taken by a name that fits, and past nine of one stem.
    EXPECT_EQ(alias({QStringLiteral("README.TXT"), QStringLiteral("readme.txt")},
                    QStringLiteral("readme.txt")),
              QStringLiteral("README~1.TXT"));
    EXPECT_EQ(alias({QStringLiteral("ABCDEF~1.TXT"), QStringLiteral("abcdefghi.txt")},
                    QStringLiteral("abcdefghi.txt")),
              QStringLiteral("ABCDEF~2.TXT"));
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many.append(QStringLiteral("report for %1.doc").arg(QChar(u'a' + i)));
    EXPECT_EQ(alias(many, QStringLiteral("report for a.doc")), QStringLiteral("REPORT~1.DOC"));
    EXPECT_EQ(alias(many, QStringLiteral("report for j.doc")), QStringLiteral("REPOR~10.DOC"));
    // The same stem with another extension counts on its own.
    EXPECT_EQ(alias({QStringLiteral("report for a.doc"), QStringLiteral("report for b.txt")},
                    QStringLiteral("report for b.txt")),
              QStringLiteral("REPORT~1.TXT"));

    // Random folders: every alias distinct and itself a valid 8.3 name.
    QRandomGenerator random(7);
    const QString alphabet = QStringLiteral("aAbB .~+1_\u00e9");
    for (int round = 0; round < 50; ++round) {
        QSet<QString> names;
        while (names.size() < 60) {
            QString name;
            const int length = 1 + random.bounded(12);
            for (int i = 0; i < length; ++i)
                name += alphabet[random.bounded(alphabet.size())];
            if (name != u"." && name != u"..")
                names.insert(name);
        }
        const QHash<QString, QString> aliases = Tovar::shortNames(names.values());
        QSet<QString> seen;
        for (const QString &a : aliases) {
            EXPECT_TRUE(Tovar::fitsShortName(a)) << a.toStdString();
            EXPECT_FALSE(seen.contains(a)) << a.toStdString();
            seen.insert(a);
        }
    }
}

// The tree lies in the shared temporary folder, whose other entries come and go while tests
// run, so the alias of the tree's own folder may change between two calls: only the
// components below it are compared.
class ShortPaths : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("My Documents/sub")));
        for (const char *name : {"My Documents/Long File Name.txt",
                                 "My Documents/Long File Nickname.txt", "My Documents/a.txt",
                                 "My Documents/sub/x"}) {
            QFile f(tmp.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("My Documentary")));
    }
    QString path(const char *name) const { return tmp.filePath(QString::fromLatin1(name)); }

    QTemporaryDir tmp;
};

TEST_F(ShortPaths, EveryComponentIsAliasedAmongItsOwnFolder)
{
    const QString file = Tovar::shortPathOf(path("My Documents/Long File Nickname.txt"), true);
    EXPECT_TRUE(file.startsWith(u'/'));
    EXPECT_TRUE(file.endsWith(QStringLiteral("/MYDOCU~2/LONGFI~2.TXT"))) << file.toStdString();
    EXPECT_EQ(file.count(u'/'), tmp.path().count(u'/') + 2);
    EXPECT_TRUE(Tovar::shortPathOf(path("My Documentary"), false).endsWith(QStringLiteral("/MYDOCU~1")));
    EXPECT_EQ(Tovar::shortNameOf(path("My Documents/a.txt"), true), QStringLiteral("A.TXT"));
    EXPECT_TRUE(Tovar::shortLocationOf(path("My Documents/sub/x")).endsWith(QStringLiteral("/MYDOCU~2/SUB")));
    EXPECT_EQ(Tovar::shortPathOf(QStringLiteral("/"), false), QStringLiteral("/"));
    // In the root the folder's "/" is joined to the name directly.
    EXPECT_EQ(Tovar::shortPathOf(QStringLiteral("/proc"), false), QStringLiteral("/PROC"));
}

TEST_F(ShortPaths, AShortPathLeadsBackToTheLongOne)
{
    EXPECT_EQ(Tovar::longPathOf(tmp.path() + QStringLiteral("/MYDOCU~2/longfi~1.txt")),
              path("My Documents/Long File Name.txt"));
    EXPECT_EQ(Tovar::longPathOf(tmp.path() + QStringLiteral("/mydocu~2/sub/x")),
              path("My Documents/sub/x"));
    EXPECT_EQ(Tovar::longPathOf(QStringLiteral("/PROC")), QStringLiteral("/proc"));
}

TEST_F(ShortPaths, MissingOrWrongKindIsAnError)
{
    const std::pair<QString, bool> cases[] = {
        {path("nothing.txt"), true},  {path("My Documentary"), true},  {QString(), true},
        {path("nothing"), false},     {path("My Documents/a.txt"), false},
    };
    for (const auto &[p, file] : cases) {
        try {
            Tovar::shortPathOf(p, file);
            ADD_FAILURE() << p.toStdString();
        } catch (const Tovar::Error &error) {
            EXPECT_EQ(error.number, file ? 53 : 76) << p.toStdString();
        }
    }
    EXPECT_THROW(Tovar::longPathOf(path("My Documents/NOPE~1.TXT")), Tovar::Error);
}

} // namespace
