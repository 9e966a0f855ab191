// The option table: defaults, repair, persistence, the program folder and optvars.

#include "TestSession.h"
#include "foundation/RuntimeError.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

TEST(Options, ResetOptsSetsTheDefaultsAndKeepsTheRest)
{
    Options opt;
    for (int i = 0; i < Options::kCount; ++i)
        opt[i] = QStringLiteral("stored%1").arg(i);
    opt.ResetOpts();
    const std::map<int, QString> defaults = {
        {0, "0"},  {6, "6"},  {7, "-1"},        {8, "0"},        {9, "1"},
        {12, "0"}, {13, "0"}, {15, "16777215"}, {16, "1048576"}, {17, Options::CV()}};
    for (int i = 0; i < Options::kCount; ++i) {
        const auto it = defaults.find(i);
        EXPECT_EQ(opt[i], it != defaults.end() ? it->second : QStringLiteral("stored%1").arg(i))
            << i;
    }
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(Options::CV()).hasMatch());
    EXPECT_THROW(opt[19], RuntimeError);
    EXPECT_THROW(opt[-1], RuntimeError);
}

TEST(Options, TextColourRepairReplacesWhatIsNoColour)
{
    const std::pair<const char *, const char *> table[] = {
        {"-5", "16777215"}, {"abc", "16777215"}, {"16777216", "16777215"}, {"", "16777215"},
        {"0", "0"},         {"255", "255"},      {"16777215", "16777215"}, {"&hFF", "&hFF"},
    };
    for (const auto &[stored, repaired] : table) {
        Options opt;
        opt[Options::TextColour] = QString::fromUtf8(stored);
        opt.repairTextColour();
        EXPECT_EQ(opt[Options::TextColour], QString::fromUtf8(repaired)) << stored;
    }
}

TEST(Options, SavedOptionsLoadBackAndAbsentOnesReadEmpty)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("o.ini"));
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("i2kCmd/Opt4"), QStringLiteral("/music/a b.vld"));
    }
    Options opt;
    {
        QSettings settings(file, QSettings::IniFormat);
        opt.load(settings);
    }
    EXPECT_EQ(opt[4], QStringLiteral("/music/a b.vld"));
    EXPECT_EQ(opt[0], QString());
    opt[3] = QStringLiteral("write a=b; c, \"d\"");
    opt[18] = QStringLiteral("8388608");
    {
        QSettings settings(file, QSettings::IniFormat);
        opt.save(settings);
    }
    Options again;
    QSettings settings(file, QSettings::IniFormat);
    again.load(settings);
    for (int i = 0; i < Options::kCount; ++i)
        EXPECT_EQ(again[i], opt[i]) << i;
}

// The playlist volume lives beside the option slots; a value that is no whole number 0..100
// (edited by hand) reads as full.
TEST(Options, ThePlaylistVolumeIsKeptBesideTheOptions)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("o.ini"));
    const std::pair<const char *, int> stored[] = {
        {nullptr, 100}, {"37", 37}, {"0", 0}, {"101", 100}, {"-5", 100}, {"4.5", 100}, {"x", 100},
    };
    for (const auto &[text, volume] : stored) {
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.clear();
            if (text)
                settings.setValue(QStringLiteral("i2kCmd/Volume"), QString::fromLatin1(text));
        }
        Options opt;
        QSettings settings(file, QSettings::IniFormat);
        opt.load(settings);
        EXPECT_EQ(opt.playerVolume(), volume) << (text ? text : "(absent)");
    }
    Options opt;
    opt.setPlayerVolume(42);
    {
        QSettings settings(file, QSettings::IniFormat);
        opt.save(settings);
    }
    Options again;
    QSettings settings(file, QSettings::IniFormat);
    again.load(settings);
    EXPECT_EQ(again.playerVolume(), 42);
    EXPECT_EQ(settings.value(QStringLiteral("i2kCmd/Opt19")), QVariant());
}

// The screen is in tests/transcripts/optvars.txt; the pager's lines keep their blanks.
TEST(Options, OptvarsGivesThePagerOneLinePerOption)
{
    TestSession t;
    t->exe(QStringLiteral("optvars"));
    EXPECT_EQ(t->pager.pageCount(), 21);
    EXPECT_EQ(t->pager.pageLine(6), QStringLiteral("opt(4): "));
}

TEST(Options, ProgramFolderJoinsWithASingleSlash)
{
    EXPECT_EQ(ProgramFolder(QStringLiteral("/")).programFolder(QStringLiteral("set.cf")),
              QStringLiteral("/set.cf"));
    EXPECT_EQ(ProgramFolder(QStringLiteral("/opt/i2k")).programFolder(QStringLiteral("/set.cf")),
              QStringLiteral("/opt/i2k/set.cf"));
    EXPECT_EQ(
        ProgramFolder(QStringLiteral("/opt/i2k/")).programFolder(QStringLiteral("eventlog.txt")),
        QStringLiteral("/opt/i2k/eventlog.txt"));
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("made/here"));
    EXPECT_EQ(ProgramFolder::resolve(home).folder(), home);
    EXPECT_TRUE(QFileInfo(home).isDir());
}

// Without --home or I2KCMD_HOME the user's files live in the data folder, never beside a
// build that `make clean` deletes; a "portable" file beside the program keeps them there.
TEST(Options, TheProgramFolderIsTheUsersDataFolderUnlessPortable)
{
    const QByteArray chosen = qgetenv("I2KCMD_HOME");
    qunsetenv("I2KCMD_HOME");
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    ASSERT_FALSE(data.isEmpty()); // the test main points it into its scratch folder
    EXPECT_EQ(ProgramFolder::resolve(QString()).folder(), data + QStringLiteral("/i2kCmd"));
    EXPECT_TRUE(QFileInfo(data + QStringLiteral("/i2kCmd")).isDir());

    const QString marker = QCoreApplication::applicationDirPath() + QStringLiteral("/portable");
    ASSERT_TRUE(QFile(marker).open(QIODevice::WriteOnly));
    EXPECT_EQ(ProgramFolder::resolve(QString()).folder(), QCoreApplication::applicationDirPath());
    QFile::remove(marker);

    qputenv("I2KCMD_HOME", QFile::encodeName(data + QStringLiteral("/chosen")));
    EXPECT_EQ(ProgramFolder::resolve(QString()).folder(), data + QStringLiteral("/chosen"));
    if (chosen.isEmpty())
        qunsetenv("I2KCMD_HOME");
    else
        qputenv("I2KCMD_HOME", chosen);
}

} // namespace
