// The real program with and without its utility plugin: a copy of the executable in a
// folder of its own finds no plugin, so fileinfo names the files it looked for, and every
// other command goes on working; beside the plugin, fileinfo shows its short name.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The console text after the command lines, from a run of exe with the plugin folder set;
// the rows joined without their last column, so text wrapped at column 93 reads on.
QString screenAfter(const QString &exe, const QString &home, const QString &pluginDir,
                    const QStringList &lines)
{
    QStringList arguments{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                          QStringLiteral("--home"), home};
    for (const QString &line : lines)
        arguments << QStringLiteral("--exec") << line;
    arguments << QStringLiteral("--screen-text") << QStringLiteral("-");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("I2KCMD_PLUGIN_DIR"), pluginDir);
    env.insert(QStringLiteral("I2KCMD_AUDIO_OUTPUT"), QStringLiteral("null"));
    process.setProcessEnvironment(env);
    process.start(exe, arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QString joined;
    for (const QString &row : QString::fromUtf8(process.readAllStandardOutput()).split(QStringLiteral("\r\n")))
        joined += row.left(93);
    return joined;
}

TEST(UtilityPlugin, WithoutItOnlyTheCommandsThatNeedItFail)
{
    QTemporaryDir alone;
    QTemporaryDir home;
    const QString exe = alone.filePath(QStringLiteral("i2kCmd"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(I2KCMD_EXE), exe));
    QFile::setPermissions(exe, QFileInfo(QStringLiteral(I2KCMD_EXE)).permissions());
    QFile note(home.filePath(QStringLiteral("note.txt")));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("hello\n");
    note.close();

    const QString empty = home.filePath(QStringLiteral("none"));
    const QString missing =
        screenAfter(exe, home.path(), empty, {QStringLiteral("fileinfo ") + note.fileName()});
    EXPECT_TRUE(missing.contains(QStringLiteral("Cannot load the utility plugin (looked for ")));
    EXPECT_TRUE(missing.contains(alone.filePath(QStringLiteral("libtovarocx.so"))));
    const QString paged =
        screenAfter(exe, home.path(), empty, {QStringLiteral("showfile ") + note.fileName()});
    EXPECT_TRUE(paged.startsWith(QStringLiteral("hello ")));

    // The build's own executable has the plugin beside it.
    const QString found = screenAfter(QStringLiteral(I2KCMD_EXE), home.path(), empty,
                                      {QStringLiteral("fileinfo ") + note.fileName()});
    EXPECT_TRUE(found.contains(QStringLiteral("/NOTE.TXT"))) << found.toStdString();
}

} // namespace
