// The video over the console: the window's video view takes the place the video command
// gave (scaled with the console), shows the frames libmpv renders, and hides on "video".

#include "EventLoop.h"
#include "TestSession.h"
#include "VideoFile.h"
#include "app/MainWindow.h"
#include "session/Session.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(VideoView, ShowsTheFramesWhereTheVideoCommandPutThem)
{
    QTemporaryDir home;
    Session s{realPlayers(home)};
    MainWindow window(s);
    // Half size: the console and the video are scaled alike.
    window.resize(512, 384);
    window.show();
    QWidget *view = nullptr;
    for (QWidget *child : window.findChildren<QWidget *>())
        view = child;
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isVisible());

    const QString clip = home.filePath(QStringLiteral("red.y4m"));
    ASSERT_TRUE(writeY4m(clip, 64, 48, 50, 81, 90, 240));
    s.exe(QStringLiteral("video 1,1500,1500,4800,3600,") + clip);
    EXPECT_TRUE(view->isVisible());
    // 100 console pixels from the top left corner, 320 x 240: half that in the window.
    EXPECT_EQ(view->geometry(), QRect(50, 50, 160, 120));
    ASSERT_TRUE(waitFor(
        [&] { return view->grab().toImage().pixelColor(80, 60).red() > 200; }, 5000));
    const QColor middle = view->grab().toImage().pixelColor(80, 60);
    EXPECT_LT(middle.green(), 60);
    EXPECT_LT(middle.blue(), 60);

    // The window grows: the view keeps its place on the console.
    window.resize(1024, 768);
    EXPECT_EQ(view->geometry(), QRect(100, 100, 320, 240));

    s.exe(QStringLiteral("video"));
    EXPECT_FALSE(view->isVisible());
}
