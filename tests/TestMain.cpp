// Test main: a headless Qt application for every test program, kept away from the user's
// files: TEMP and the per-user settings and data folders point into a private folder.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // With no display a Qt program aborts; CTest's discovery runs these binaries too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Dates and numbers in the tests are written for this locale.
    qputenv("LC_ALL", "en_US.UTF-8");
#ifdef I2K_PLUGIN_BUILD_DIR
    // The utility plugin of this build. Set here, as ctest's discovered tests keep only the
    // first variable of their ENVIRONMENT list.
    if (qEnvironmentVariableIsEmpty("I2KCMD_PLUGIN_DIR"))
        qputenv("I2KCMD_PLUGIN_DIR", I2K_PLUGIN_BUILD_DIR);
#endif
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    for (const char *name : {"TEMP", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
        const QString folder = scratch.filePath(QString::fromLatin1(name));
        QDir().mkpath(folder);
        qputenv(name, QFile::encodeName(folder));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
