// run in the window starts real programs, detached, with the arguments split as a shell
// would split them.

#include "EventLoop.h"
#include "TestSession.h"
#include "app/MainWindow.h"
#include "foundation/TextFile.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(WindowDesktopRun, StartsTheProgramWithItsArguments)
{
    TestSession t;
    MainWindow window(*t);
    const QString script = t.file(QStringLiteral("args.sh"));
    const QString marker = t.file(QStringLiteral("args.txt"));
    TextFile::save(script, "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.part\" && mv \"$0.part\" " +
                               TextFile::encode(marker) + "\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    t.exe({QStringLiteral("run ") + script +
           QStringLiteral(" 'two words' \"say \\\"hi\\\"\" a\\ b $HOME")});
    ASSERT_TRUE(waitFor([&] { return QFile::exists(marker); }));
    EXPECT_EQ(TextFile::readBytes(marker), "two words|say \"hi\"|a b|$HOME|");
    EXPECT_EQ(t.row(1), QString()) << "a started program says nothing";
}

} // namespace
