// The window's edge: real Qt events reach the keyboard handler as virtual keys, and the
// console keeps its pixels when the window is smaller or larger than 1:1.

#include "app/MainWindow.h"
#include "TestSession.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void press(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString &text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&window, &event);
    QCoreApplication::processEvents();
}

void rightClick(QWidget &window, QPointF at)
{
    QMouseEvent release(QEvent::MouseButtonRelease, at, window.mapToGlobal(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);
}

// Where a right click at this widget point reached the core.
QPoint clickedAt(TestSession &t, QWidget &window, QPointF at)
{
    t->scripted.pickMenuEntry(std::nullopt);
    rightClick(window, at);
    return {t->keyboard.clickX, t->keyboard.clickY};
}

// Lets queued calls and paint requests run until the condition holds or the time is up.
template <typename Condition> bool processUntil(Condition done, int ms = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// The regions the window was asked to paint.
class PaintRecorder : public QObject
{
public:
    QRegion painted;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent *>(event)->region();
            ++paints;
        }
        return false;
    }
};

TEST(MainWindow, KeyMouseFocusAndCloseEventsReachTheConsole)
{
    TestSession t;
    t->console.ClScreen();
    MainWindow window(*t);
    window.resize(1024, 768);

    press(window, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    // Tab reaches the console instead of moving the focus, and completes the command word.
    press(window, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("write "));
    press(window, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_EQ(t->console.cmdText, QString());
    for (const QChar c : QStringLiteral("write hi"))
        press(window, QChar(c).toUpper().unicode(), Qt::NoModifier, QString(c));
    press(window, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(t.row(1), QStringLiteral("hi"));
    press(window, Qt::Key_Q, Qt::AltModifier, QStringLiteral("q"));
    EXPECT_EQ(t.row(1), QStringLiteral("The Alt+Q key combination has not been defined"));

    // A right click opens the screen menu at the click; the script picks the entry.
    t->scripted.pickMenuEntry(QStringLiteral("Insert these coordinates"));
    rightClick(window, QPointF(40, 60));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("40,60"));

    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&window, &out);
    EXPECT_FALSE(t->cursorTimer.timFlash.isActive());
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&window, &in);
    EXPECT_TRUE(t->cursorTimer.timFlash.isActive());

    t->setWindowTitle(QStringLiteral("1:00 / 2:00 - idrisk2k Command"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("1:00 / 2:00 - idrisk2k Command"));

    // exit closes the window through the shut-down, which writes the store.
    t.exe({QStringLiteral("set kept yes")});
    window.show();
    t.exe({QStringLiteral("exit")});
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(QFile::exists(t.file(QStringLiteral("set.cf"))));
}

TEST(MainWindow, FirstSizeFitsTheScreenUpToOneToOneAndTheWindowCanBeMaximised)
{
    // Room enough: 1:1.
    EXPECT_EQ(MainWindow::fittingSize(QSize(1920, 1050)), QSize(1024, 768));
    // A 1366 x 768 laptop with a panel: smaller, the console's shape, room for the frame.
    const QSize laptop = MainWindow::fittingSize(QSize(1366, 736));
    EXPECT_LT(laptop.height(), 736 - 20);
    EXPECT_GT(laptop.height(), 736 - 100);
    EXPECT_LE(std::abs(laptop.width() * 768 - laptop.height() * 1024), 1024);
    // Never below the minimum.
    TestSession t;
    MainWindow window(*t);
    EXPECT_EQ(MainWindow::fittingSize(QSize(300, 200)), window.minimumSize());
    EXPECT_LE(window.minimumWidth(), 1024 / 2);

    // The window starts inside the screen it opens on.
    const QRect available = window.screen()->availableGeometry();
    EXPECT_LE(window.width(), available.width());
    EXPECT_LE(window.height(), available.height());

    window.showMaximized();
    ASSERT_TRUE(processUntil([&] { return window.frameGeometry() == available; }))
        << window.width() << "x" << window.height();
    const QRect image = window.imageRect();
    EXPECT_EQ(image.center(), window.rect().center());
    EXPECT_EQ(clickedAt(t, window, image.topLeft() + QPointF(image.width() - 0.5, 0.5)),
              QPoint(1023, 0));
}

TEST(MainWindow, ClicksAndMenusLandOnTheConsolePixelUnderThePointer)
{
    TestSession t;
    t->console.ClScreen();
    MainWindow window(*t);

    // Two thirds: 682 x 512 shown at the left edge (the odd pixel is a margin).
    window.resize(683, 512);
    EXPECT_EQ(window.imageRect(), QRect(0, 0, 682, 512));
    EXPECT_EQ(clickedAt(t, window, QPointF(341, 256)), QPoint(512, 384));
    EXPECT_EQ(clickedAt(t, window, QPointF(681.5, 511.5)), QPoint(1023, 767));
    t->scripted.pickMenuEntry(QStringLiteral("Insert these coordinates"));
    rightClick(window, QPointF(100, 50));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("150,75"));

    // Wider than the console's shape: black bars left and right, clicks there go to the edge.
    window.resize(800, 512);
    EXPECT_EQ(window.imageRect(), QRect(59, 0, 682, 512));
    EXPECT_EQ(clickedAt(t, window, QPointF(59 + 341, 256)), QPoint(512, 384));
    EXPECT_EQ(clickedAt(t, window, QPointF(10, 100)), QPoint(0, 150));
    EXPECT_EQ(clickedAt(t, window, QPointF(795, 600)), QPoint(1023, 767));

    // Larger than 1:1: every console pixel covers two widget pixels each way.
    window.resize(2048, 1536);
    EXPECT_EQ(clickedAt(t, window, QPointF(1025, 769)), QPoint(512, 384));
    EXPECT_EQ(window.mapFromConsole(QPoint(512, 384)), QPoint(1024, 768));

    // A person's menu opens where the core asks, on the widget: under the click, or at the
    // command line's cursor for the menu key.
    window.resize(683, 512);
    window.move(0, 0);
    window.show();
    processUntil([&] { return window.isVisible(); });
    window.desktop().setInteractive(true);
    press(window, Qt::Key_Escape);
    QList<QPoint> menusAt;
    const auto closeTheMenu = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget *menu = QApplication::activePopupWidget()) {
                menusAt.append(menu->pos());
                menu->close();
            }
        });
    };
    closeTheMenu();
    rightClick(window, QPointF(200, 150));
    closeTheMenu();
    press(window, Qt::Key_Menu);
    ASSERT_EQ(menusAt.size(), 2);
    const QPoint click = window.mapToGlobal(QPoint(200, 150));
    EXPECT_LE((menusAt[0] - click).manhattanLength(), 1) << menusAt[0].x() << "," << menusAt[0].y();
    const QPoint cursor = Cell::origin(t->console.curCol, t->console.curRow);
    EXPECT_EQ(menusAt[1], window.mapToGlobal(QPoint(cursor.x() * 682 / 1024, cursor.y() * 2 / 3)));
    EXPECT_TRUE(t->console.cmdText.isEmpty()); // closing a menu picks nothing
}

TEST(MainWindow, ThePictureIsScaledInPlaceSmoothlyAndOneToOnePixelForPixel)
{
    TestSession t;
    t->console.ClScreen();
    t.exe({QStringLiteral("box 0,0,511,383,red,1,1"), QStringLiteral("box 512,0,1023,383,blue,1,1"),
           QStringLiteral("box 0,384,511,767,lime,1,1"),
           QStringLiteral("box 512,384,1023,767,yellow,1,1")});
    const QList<QPoint> quarters = {{256, 192}, {768, 192}, {256, 500}, {768, 500}};
    QList<QRgb> colours;
    for (const QPoint &p : quarters)
        colours.append(t.pixel(p.x(), p.y()).rgb());
    ASSERT_EQ(QSet<QRgb>(colours.begin(), colours.end()).size(), 4);

    MainWindow window(*t);
    window.resize(800, 512);
    window.show();
    const QImage scaled = window.grab().toImage();
    ASSERT_EQ(scaled.size(), QSize(800, 512));
    for (qsizetype i = 0; i < quarters.size(); ++i) {
        const QPoint at = window.mapFromConsole(quarters[i]);
        EXPECT_EQ(scaled.pixel(at), colours[i]) << "quarter " << i;
    }
    for (const QPoint margin : {QPoint(0, 0), QPoint(58, 300), QPoint(741, 10), QPoint(799, 511)})
        EXPECT_EQ(scaled.pixel(margin), qRgb(0, 0, 0)) << margin.x() << "," << margin.y();
    // Smooth: stripes one console pixel wide become blends, not a pick of whole stripes.
    for (int x = 600; x < 700; ++x) {
        for (int y = 600; y < 620; ++y)
            t->console.surface().setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    t->console.markDirty(QRect(600, 600, 100, 20));
    const QImage striped = window.grab().toImage();
    int blends = 0;
    for (int x = window.mapFromConsole(QPoint(602, 0)).x();
         x < window.mapFromConsole(QPoint(698, 0)).x(); ++x) {
        const QRgb c = striped.pixel(x, window.mapFromConsole(QPoint(0, 610)).y());
        blends += c != qRgb(255, 255, 255) && c != qRgb(0, 0, 0);
    }
    EXPECT_GT(blends, 20);

    // 1:1: exactly the console's pixels, nothing filtered or shifted.
    window.resize(1024, 768);
    const QImage exact = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(exact, t->console.surface().convertToFormat(QImage::Format_RGB32));
}

TEST(MainWindow, ChangesRepaintOnlyTheWidgetPixelsTheyReachAtMostOnceAFrame)
{
    TestSession t;
    t->console.ClScreen();
    MainWindow window(*t);
    window.resize(683, 512);
    window.show();
    PaintRecorder recorder;
    window.installEventFilter(&recorder);
    ASSERT_TRUE(processUntil([&] { return !recorder.painted.isEmpty(); }));
    t->console.takeDirty();
    t->cursorTimer.timFlash.stop();
    processUntil([] { return false; }, 100); // nothing else is still to be painted

    recorder.painted = QRegion();
    t->console.surface().setPixel(700, 300, qRgb(255, 0, 0));
    t->console.markDirty(QRect(700, 300, 1, 1));
    ASSERT_TRUE(processUntil([&] { return !recorder.painted.isEmpty(); }));
    const QPoint at = window.mapFromConsole(QPoint(700, 300));
    EXPECT_TRUE(recorder.painted.contains(at));
    EXPECT_LE(recorder.painted.boundingRect().width(), 6);
    EXPECT_LE(recorder.painted.boundingRect().height(), 6);
    EXPECT_NE(window.grab().toImage().pixel(at), qRgb(0, 0, 0));

    // A batch changes the console every millisecond: the window paints once a display frame,
    // the written line and the prompt but not the rows between, and the last line is shown.
    recorder.painted = QRegion();
    t.exe({QStringLiteral("cls")}); // wipes the pixel set above
    ASSERT_TRUE(processUntil([&] { return recorder.painted.contains(at); }));
    recorder.painted = QRegion();
    recorder.paints = 0;
    QElapsedTimer clock;
    clock.start();
    int lines = 0;
    while (clock.elapsed() < 300) {
        t.exe({QStringLiteral("write line %1").arg(++lines)});
        QCoreApplication::processEvents();
    }
    const QString last = QStringLiteral("line %1").arg(lines);
    ASSERT_TRUE(processUntil([&] { return recorder.painted.contains(window.mapFromConsole(
                                                  Cell::rect(last.size(), 1).center())); }));
    const qint64 frames = clock.elapsed() * std::lround(window.screen()->refreshRate()) / 1000;
    EXPECT_LE(recorder.paints, frames + 2) << lines << " lines";
    EXPECT_FALSE(recorder.painted.intersects(
        window.mapFromConsole(Cell::rect(1, 10).united(Cell::rect(93, 30)))));
    EXPECT_EQ(t.row(1), last);
}

} // namespace

namespace {

void mouse(QWidget &window, QEvent::Type type, QPoint cell, Qt::MouseButton button,
           Qt::MouseButtons held)
{
    // The middle of the cell, the window shown 1:1.
    const QPointF at = Cell::origin(cell.x(), cell.y()) + QPointF(5.5, 10.5);
    QMouseEvent event(type, at, window.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

} // namespace

TEST(MainWindow, DraggedAndDoubleClickedCellsBecomeTheSelectionTheMiddleButtonPastes)
{
    TestSession t;
    t->console.ClScreen();
    t->console.DrawText(QStringLiteral("hello 坂本 world"), 2);
    t->console.DrawText(QStringLiteral("next line"), 3);
    MainWindow window(*t);
    window.resize(1024, 768);
    Desktop &desktop = window.desktop();
    desktop.setSelectionText(QStringLiteral("before"));

    struct Gesture
    {
        const char *name;
        QPoint from;
        QPoint to;
        bool doubleClick;
        QString selection;
    };
    const QList<Gesture> gestures = {
        {"a click alone selects nothing", {3, 2}, {3, 2}, false, QStringLiteral("before")},
        {"a drag ending on a wide character's second half takes it", {1, 2}, {8, 2}, false,
         QStringLiteral("hello 坂")},
        {"dragging backwards over rows", {4, 3}, {9, 2}, false,
         QStringLiteral("本 world\nnext")},
        {"a double click takes the word", {13, 2}, {13, 2}, true, QStringLiteral("world")},
    };
    for (const Gesture &g : gestures) {
        SCOPED_TRACE(g.name);
        mouse(window, QEvent::MouseButtonPress, g.from, Qt::LeftButton, Qt::LeftButton);
        if (g.doubleClick) {
            mouse(window, QEvent::MouseButtonRelease, g.from, Qt::LeftButton, Qt::NoButton);
            mouse(window, QEvent::MouseButtonDblClick, g.from, Qt::LeftButton, Qt::LeftButton);
        } else {
            mouse(window, QEvent::MouseMove, g.to, Qt::NoButton, Qt::LeftButton);
        }
        mouse(window, QEvent::MouseButtonRelease, g.to, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(desktop.selectionText(), g.selection);
        // What is selected is shown in inverse colours: the black corner of its cell white.
        const QColor corner = window.grab().toImage().pixelColor(Cell::origin(g.to.x(), 2));
        EXPECT_EQ(corner, g.from == g.to && !g.doubleClick ? QColor(Qt::black) : QColor(Qt::white));
    }

    // The middle button pastes the selection at the prompt, as Ctrl+V pastes the clipboard.
    mouse(window, QEvent::MouseButtonPress, {40, 20}, Qt::MiddleButton, Qt::MiddleButton);
    mouse(window, QEvent::MouseButtonRelease, {40, 20}, Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(t->console.cmdText, QStringLiteral("world"));
    EXPECT_EQ(t.row(33), QStringLiteral("   COMMAND: world"));
    // Not in the pager.
    t.exe({QStringLiteral("help")});
    mouse(window, QEvent::MouseButtonRelease, {40, 20}, Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(t->console.cmdText, QStringLiteral("world"));
}
