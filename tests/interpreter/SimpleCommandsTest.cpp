// The simple commands where the system fails under them.

#include "TestSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A current folder removed under the program is an error, not an empty path.
TEST(SimpleCommands, CurfolInAFolderThatNoLongerExistsIsReported)
{
    TestSession t;
    const QString previous = QDir::currentPath();
    const QString gone = t.file(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkdir(gone));
    ASSERT_TRUE(QDir::setCurrent(gone));
    ASSERT_TRUE(QDir().rmdir(gone));
    t->exe(QStringLiteral("curfol"));
    QDir::setCurrent(previous);
    EXPECT_EQ(t.row(1), QString());
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Path not found (76)"));
    t->exe(QStringLiteral("curfol"));
    EXPECT_EQ(t.row(1), QStringLiteral("Current folder:"));
    EXPECT_EQ(t.row(2), previous);
}

} // namespace
