// Start-up and shut-down: what is read, defaulted, run and written back.

#include "controller/Lifecycle.h"
#include "TestSession.h"
#include "foundation/TempFolder.h"
#include "foundation/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Lifecycle : public ::testing::Test
{
protected:
    QTemporaryDir home;
    QString optionsFile() const { return home.filePath(QStringLiteral("options.ini")); }
    std::unique_ptr<Session> start()
    {
        auto session = std::make_unique<Session>(
            Session::Config{ProgramFolder(home.path()), optionsFile(), {}, QStringLiteral("null")});
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

// The list is kept in the options file: only absolute names that resolve (through ".." and
// links) to an entry of the program's private folder are deleted, whatever else an edited
// list names; relative names would be taken from the working folder.
TEST_F(Lifecycle, ShutDownDeletesOnlyItsOwnTemporaryFiles)
{
    auto s = start();
    const QString own = QFileInfo(s->temp.file(QStringLiteral("x"))).absolutePath();
    QTemporaryDir work;
    const QString outside = work.filePath(QStringLiteral("outside"));
    ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("sub"))));
    ASSERT_TRUE(QFile::link(own, work.filePath(QStringLiteral("alias"))));
    ASSERT_TRUE(QFile::link(work.path(), own + QStringLiteral("/away")));
    ASSERT_TRUE(QDir().mkpath(own + QStringLiteral("/sub")));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    // Each name as listed, the file it makes, and whether shut-down may delete it.
    const std::tuple<QString, QString, bool> cases[] = {
        {QStringLiteral("victim.txt"), work.filePath(QStringLiteral("victim.txt")), false},
        {QStringLiteral("sub/../victim2.txt"), work.filePath(QStringLiteral("victim2.txt")), false},
        {QStringLiteral("./tmp1.mp3"), work.filePath(QStringLiteral("tmp1.mp3")), false},
        {own + QStringLiteral("/../beside.mp3"),
         QFileInfo(own).path() + QStringLiteral("/beside.mp3"), false},
        {own + QStringLiteral("/away/linked.mp3"), work.filePath(QStringLiteral("linked.mp3")),
         false},
        {own + QStringLiteral("/tmp2.mp3"), own + QStringLiteral("/tmp2.mp3"), true},
        {own + QStringLiteral("/sub/../tmp3.mp3"), own + QStringLiteral("/tmp3.mp3"), true},
        {work.filePath(QStringLiteral("alias/tmp4.mp3")), own + QStringLiteral("/tmp4.mp3"), true},
    };
    QStringList listed;
    for (const auto &[name, file, deleted] : cases) {
        TextFile::save(file, "x");
        listed << name;
    }
    // A link of its own is removed, never what it points at.
    TextFile::save(outside, "the user's");
    ASSERT_TRUE(QFile::link(outside, own + QStringLiteral("/tmp5.mp3")));
    listed << own + QStringLiteral("/tmp5.mp3") << QString();
    s->opt[Options::TemporaryFiles] = listed.join(u'|');
    shutDown(*s);
    ASSERT_TRUE(QDir::setCurrent(cwd));
    for (const auto &[name, file, deleted] : cases)
        EXPECT_EQ(QFileInfo::exists(file), !deleted) << name.toStdString();
    EXPECT_EQ(TextFile::readBytes(outside), QByteArray("the user's"));
    QFile::remove(QFileInfo(own).path() + QStringLiteral("/beside.mp3"));
    QSettings settings(optionsFile(), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("i2kCmd/Opt11")).toString(), QString());
}

// A FIFO with no reader where a kept file belongs is never waited for, at start-up or at
// shut-down; everything else is still saved. The alarm turns a hang into a failure.
TEST_F(Lifecycle, FifosInPlaceOfKeptFilesHoldNothingUp)
{
    const QStringList fifos = {QStringLiteral("set.cf"), QStringLiteral("playlist.dat"),
                               QStringLiteral("options.ini")};
    for (const QString &name : fifos)
        ASSERT_EQ(::mkfifo(QFile::encodeName(home.filePath(name)), 0600), 0);
    ::alarm(120);
    auto s = start();
    s->exe(QStringLiteral("write saved"));
    testing::internal::CaptureStderr();
    shutDown(*s);
    const QString errors = QString::fromStdString(testing::internal::GetCapturedStderr());
    ::alarm(0);
    for (const QString &name : fifos) {
        const QString path = home.filePath(name);
        EXPECT_TRUE(
            errors.contains(QStringLiteral("Could not save %1: Device unavailable (68)").arg(path)))
            << errors.toStdString();
        EXPECT_FALSE(QFileInfo(path).isFile()) << name.toStdString();
    }
    EXPECT_TRUE(TextFile::read(home.filePath(QStringLiteral("eventlog.txt")))
                    .contains(QStringLiteral("COMMAND: write saved")));
}

// The options' scratch copy is made beside them: a TEMP that cannot take it (here, one that
// is not there) does not stop the save, and no copy is left.
TEST_F(Lifecycle, OptionsAreSavedWhateverTempIs)
{
    const QByteArray temp = qgetenv("TEMP");
    qputenv("TEMP", QFile::encodeName(home.filePath(QStringLiteral("no such folder"))));
    auto s = start();
    s->opt[Options::LogSize] = QStringLiteral("2048");
    shutDown(*s);
    qputenv("TEMP", temp);
    QSettings settings(optionsFile(), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("i2kCmd/Opt16")).toString(), QStringLiteral("2048"));
    EXPECT_EQ(
        QDir(home.path()).entryList({QStringLiteral(".options*")}, QDir::Files | QDir::Hidden),
        QStringList());
}

// One bad line (a hand-typed C:\temp is an unknown escape) costs that line only; the file
// as it was is kept under a name no later bad start overwrites, and the screen says so.
TEST_F(Lifecycle, ADamagedSettingsFileKeepsItsGoodLinesAndACopyAside)
{
    const QString path = home.filePath(QStringLiteral("set.cf"));
    const QByteArray damaged =
        "#i2kCmd-store 1\r\ndir=showfile\r\ntmp=C:\\\\temp\r\nwin=C:\\windows\r\ne=exit\r\n";
    TextFile::save(path, damaged);
    {
        auto s = start();
        EXPECT_EQ(s->CF.GetValue(QStringLiteral("dir")), QStringLiteral("showfile"));
        EXPECT_EQ(s->CF.GetValue(QStringLiteral("tmp")), QStringLiteral("C:\\temp"));
        EXPECT_EQ(s->CF.GetValue(QStringLiteral("e")), QStringLiteral("exit"));
        EXPECT_EQ(s->CF.GetValue(QStringLiteral("win")), KeyValueStore::kNotFound);
        EXPECT_EQ(TextFile::readBytes(path + QStringLiteral(".bad")), damaged);
        QString notice;
        for (int row = 13; row <= 16; ++row)
            notice += s->console.scrCells().rowText(row).trimmed();
        EXPECT_TRUE(notice.startsWith(
            path + QStringLiteral(": 1 damaged line skipped; the file as it was is kept as ")))
            << notice.toStdString();
        EXPECT_TRUE(notice.endsWith(QStringLiteral("set.cf.bad")));
        EXPECT_TRUE(s->log.text().contains(QStringLiteral(" - ERROR: ") + path +
                                           QStringLiteral(": 1 damaged line")));
        shutDown(*s);
    }
    // What shut-down wrote loads cleanly: no new copy.
    start();
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".bad.1")));

    // A file that is no store at all is kept whole too, beside the earlier copy.
    TextFile::save(path, "this is not a settings store\r\n");
    auto s = start();
    EXPECT_EQ(s->CF.count(), 0);
    EXPECT_EQ(TextFile::readBytes(path + QStringLiteral(".bad")), damaged);
    EXPECT_EQ(TextFile::readBytes(path + QStringLiteral(".bad.1")),
              QByteArray("this is not a settings store\r\n"));
    // A store of a later layout is never half-read.
    TextFile::save(path, "#i2kCmd-store 2\r\na=b\r\n");
    auto later = start();
    EXPECT_EQ(later->CF.count(), 0);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".bad.2")));
    EXPECT_TRUE(
        later->console.scrCells().rowText(13).contains(QStringLiteral("could not be read")));
}

// A playlist.dat longer than the table is read up to the table's end, and the screen says so.
TEST_F(Lifecycle, APlaylistFileLongerThanTheTableIsCutWithANotice)
{
    QByteArray text;
    for (int i = 0; i <= Playlist::kCapacity; ++i)
        text += "1,1\r\n";
    const QString path = home.filePath(QStringLiteral("playlist.dat"));
    TextFile::save(path, text);
    auto s = start();
    EXPECT_EQ(s->playlist.count(), Playlist::kCapacity);
    QString notice;
    for (int row = 13; row <= 16; ++row)
        notice += s->console.scrCells().rowText(row).trimmed();
    EXPECT_EQ(notice, path + QStringLiteral(": only the first 32001 entries were read"));
}

// TEMP is shared: shut-down deletes only the program's own folder there.
TEST_F(Lifecycle, ShutDownLeavesOtherFilesInTempAlone)
{
    const QString foreign = tempFolder() + QStringLiteral("/cmd.txt");
    TextFile::save(foreign, "someone else's");
    auto s = start();
    const QString capture = s->temp.file(QStringLiteral("cmd.txt"));
    TextFile::save(capture, "ours");
    const QFileInfo folder(QFileInfo(capture).absolutePath());
    EXPECT_TRUE(folder.absoluteFilePath().startsWith(tempFolder() + QStringLiteral("/i2kCmd-")));
    EXPECT_EQ(folder.permissions() & 0x0077, QFileDevice::Permissions());
    shutDown(*s);
    EXPECT_FALSE(QFileInfo::exists(folder.absoluteFilePath()));
    EXPECT_EQ(TextFile::readBytes(foreign), QByteArray("someone else's"));
    QFile::remove(foreign);
}

} // namespace
