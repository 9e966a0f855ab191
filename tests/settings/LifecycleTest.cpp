// Start-up and shut-down: what is read, defaulted, run and written back.

#include "settings/Lifecycle.h"
#include "TestSession.h"
#include "foundation/TextFile.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

class Lifecycle : public ::testing::Test
{
protected:
    QTemporaryDir home;
    QString optionsFile() const { return home.filePath(QStringLiteral("options.ini")); }
    std::unique_ptr<Session> start()
    {
        auto session = std::make_unique<Session>(
            Session::Config{ProgramFolder(home.path()), optionsFile(), {}});
        startUp(*session);
        return session;
    }
};

TEST_F(Lifecycle, FirstStartAppliesDefaultsAndShowsTheBanner)
{
    auto s = start();
    EXPECT_EQ(s->opt[Options::Version], Options::CV());
    EXPECT_EQ(s->opt[Options::TextColour], QStringLiteral("16777215"));
    EXPECT_EQ(s->opt[Options::LogSize], QStringLiteral("1048576"));
    EXPECT_EQ(s->opt[Options::Database], QString());
    EXPECT_EQ(s->opt[Options::LastCommand], QStringLiteral("about"));
    const CellRecord &cells = s->console.scrCells();
    EXPECT_TRUE(cells.rowText(3).startsWith(
        QStringLiteral("idrisk2k Command, a graphical command console.  Version ") +
        Options::CV()));
    EXPECT_TRUE(cells.rowText(11).startsWith(QStringLiteral("Type 'help' for help.")));
    EXPECT_TRUE(cells.rowText(33).startsWith(QStringLiteral("   COMMAND: ")));
    // Newest first: "background " with no argument ran before "about", and no loadvld.
    const QStringList log = s->log.text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log.first().endsWith(QStringLiteral(" - COMMAND: about")));
    EXPECT_TRUE(log.last().endsWith(QStringLiteral(" - COMMAND: background ")));
    EXPECT_FALSE(log.join(u'\n').contains(QStringLiteral("loadvld")));
}

TEST_F(Lifecycle, ShutDownWritesOptionsAndStoreAndAStartReadsThemBack)
{
    auto s = start();
    s->CF.SetValue(QStringLiteral("e"), QStringLiteral("exit"));
    s->CF.SetValue(QStringLiteral("\u00acF5"), QStringLiteral("write hi"));
    s->exe(QStringLiteral("eventlog 4096"));
    shutDown(*s);
    s.reset();
    s = start();
    EXPECT_EQ(s->CF.GetValue(QStringLiteral("e")), QStringLiteral("exit"));
    EXPECT_EQ(s->CF.GetValue(QStringLiteral("\u00acF5")), QStringLiteral("write hi"));
    EXPECT_EQ(s->opt[Options::LogSize], QStringLiteral("4096"));
}

TEST_F(Lifecycle, AnotherVersionResetsOnlyTheOptionsWithDefaults)
{
    {
        QSettings settings(optionsFile(), QSettings::IniFormat);
        for (int i = 0; i < Options::kCount; ++i)
            settings.setValue(QStringLiteral("i2kCmd/Opt%1").arg(i),
                              QStringLiteral("%1").arg(100 + i));
        settings.setValue(QStringLiteral("i2kCmd/Opt17"), QStringLiteral("0.0.1-old"));
    }
    auto s = start();
    for (const int i : {0, 6, 7, 8, 9, 12, 13, 15, 16})
        EXPECT_NE(s->opt[i], QStringLiteral("%1").arg(100 + i)) << i;
    for (const int i : {1, 2, 4, 5, 10, 11, 14, 18})
        EXPECT_EQ(s->opt[i], QStringLiteral("%1").arg(100 + i)) << i;
    EXPECT_EQ(s->opt[Options::Version], Options::CV());

    // The same version keeps everything, and a bad text colour is repaired.
    {
        QSettings settings(optionsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("i2kCmd/Opt17"), Options::CV());
        settings.setValue(QStringLiteral("i2kCmd/Opt15"), QStringLiteral("-5"));
        settings.setValue(QStringLiteral("i2kCmd/Opt16"), QStringLiteral("777"));
    }
    s = start();
    EXPECT_EQ(s->opt[Options::LogSize], QStringLiteral("777"));
    EXPECT_EQ(s->opt[Options::TextColour], QStringLiteral("16777215"));
}

TEST_F(Lifecycle, ShutDownDeletesTheTemporaryFilesItKnows)
{
    auto s = start();
    const QString gone = home.filePath(QStringLiteral("tmp2.mp3"));
    QFile(gone).open(QIODevice::WriteOnly);
    s->opt[Options::TemporaryFiles] = home.filePath(QStringLiteral("tmp1.mp3")) + u'|' + gone;
    shutDown(*s);
    EXPECT_FALSE(QFile::exists(gone));
    QSettings settings(optionsFile(), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("i2kCmd/Opt11")).toString(), QString());
}

TEST_F(Lifecycle, AnUnreadableSettingsFileIsKeptAsideNotOverwritten)
{
    const QString path = home.filePath(QStringLiteral("set.cf"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is not a settings store\r\n");
    }
    auto s = start();
    EXPECT_EQ(s->CF.count(), 0);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".bad")));
    shutDown(*s);
    QFile aside(path + QStringLiteral(".bad"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), QByteArray("this is not a settings store\r\n"));
}

} // namespace
