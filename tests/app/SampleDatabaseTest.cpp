// The built program opens the sample database made beside it on its very first start, and
// only then.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Starts and quits the built program with its options in configHome; answers opt(4) as
// it was saved.
QString savedDatabase(const QString &home, const QString &configHome)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.remove(QStringLiteral("I2KCMD_HOME"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(I2KCMD_EXE),
                  {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                   QStringLiteral("--home"), home, QStringLiteral("--quit")});
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QSettings options(configHome + QStringLiteral("/Idrisk Tovar/Idrisk Tovar.ini"),
                      QSettings::IniFormat);
    return options.value(QStringLiteral("i2kCmd/Opt4")).toString();
}

TEST(SampleDatabase, TheFirstStartOfTheBuildOpensItsSample)
{
    const QString sample =
        QFileInfo(QStringLiteral(I2KCMD_EXE)).absolutePath() + QStringLiteral("/sample/sample.vld");
    ASSERT_TRUE(QFileInfo(sample).isFile()) << "the build makes " << sample.toStdString();
    QTemporaryDir home;
    QTemporaryDir config;
    EXPECT_EQ(savedDatabase(home.path(), config.path()), sample);

    // Later starts keep what the user chose, even nothing at all.
    QSettings options(config.filePath(QStringLiteral("Idrisk Tovar/Idrisk Tovar.ini")),
                      QSettings::IniFormat);
    options.setValue(QStringLiteral("i2kCmd/Opt4"), QString());
    options.sync();
    EXPECT_EQ(savedDatabase(home.path(), config.path()), QString());
}

} // namespace
