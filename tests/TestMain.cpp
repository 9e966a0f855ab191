// Test main: a headless Qt application for every test program.

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // With no display a Qt program aborts; CTest's discovery runs these binaries too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Dates and numbers in the tests are written for this locale.
    qputenv("LC_ALL", "en_US.UTF-8");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
