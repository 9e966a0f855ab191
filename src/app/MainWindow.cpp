#include "app/MainWindow.h"

#include "app/QtKeys.h"
#include "app/VideoView.h"
#include "console/CellGeometry.h"
#include "foundation/Messages.h"
#include "session/Session.h"
#include "controller/Lifecycle.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

constexpr QSize kConsoleSize(Cell::kSurfaceWidth, Cell::kSurfaceHeight);
// Below half the width and height the console's characters are no longer readable.
constexpr QSize kMinimumSize(Cell::kSurfaceWidth / 2, Cell::kSurfaceHeight / 2);
// The frame is only known once the window manager has placed the window: leave room for
// borders and a title bar.
constexpr QSize kFrameAllowance(16, 48);

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QWidget(parent), m_session(session), m_desktop(this, session.scripted),
      m_video(new VideoView(session.players.wmp(Players::kVideoPlayer), this))
{
    setWindowTitle(Msg::kWindowTitle);
    setMinimumSize(kMinimumSize);
    resize(fittingSize(screen()->availableGeometry().size()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // Right clicks come to mouseReleaseEvent, which opens the console's own menus.
    setContextMenuPolicy(Qt::PreventContextMenu);
    // The console says once that it changed and goes on collecting changes; they are shown
    // together when the event loop next runs.
    m_session.console.setOnDirty(
        [this] { QMetaObject::invokeMethod(this, &MainWindow::showDirty, Qt::QueuedConnection); });
    m_nextFrame.setSingleShot(true);
    m_nextFrame.setTimerType(Qt::PreciseTimer);
    connect(&m_nextFrame, &QTimer::timeout, this, &MainWindow::repaintDirty);
    m_session.setDesktop(&m_desktop);
    m_session.players.setOnVideoChanged([this] { placeVideo(); });
}

MainWindow::~MainWindow()
{
    m_session.players.setOnVideoChanged({});
    m_session.console.setOnDirty({});
    m_session.setDesktop(nullptr);
}

QSize MainWindow::fittingSize(const QSize &available)
{
    return kConsoleSize.scaled(available - kFrameAllowance, Qt::KeepAspectRatio)
        .boundedTo(kConsoleSize)
        .expandedTo(kMinimumSize);
}

QRect MainWindow::imageRect() const
{
    const QSize shown = kConsoleSize.scaled(size(), Qt::KeepAspectRatio);
    return {QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown};
}

QPoint MainWindow::mapToConsole(const QPointF &at) const
{
    const QRect image = imageRect();
    if (image.isEmpty())
        return {};
    const double x = (at.x() - image.x()) * kConsoleSize.width() / image.width();
    const double y = (at.y() - image.y()) * kConsoleSize.height() / image.height();
    return {std::clamp(static_cast<int>(std::floor(x)), 0, kConsoleSize.width() - 1),
            std::clamp(static_cast<int>(std::floor(y)), 0, kConsoleSize.height() - 1)};
}

QPoint MainWindow::mapFromConsole(const QPoint &at) const
{
    const QRect image = imageRect();
    return image.topLeft() + QPoint(at.x() * image.width() / kConsoleSize.width(),
                                    at.y() * image.height() / kConsoleSize.height());
}

QRect MainWindow::mapFromConsole(const QRect &rect) const
{
    const QRect image = imageRect();
    if (image.size() == kConsoleSize)
        return rect.translated(image.topLeft());
    // Smooth scaling blends each console pixel into the widget pixels of its neighbours.
    const QRect grown = rect.adjusted(-1, -1, 1, 1);
    const auto scaled = [](int value, int to, int from, bool up) {
        const double exact = static_cast<double>(value) * to / from;
        return static_cast<int>(up ? std::ceil(exact) : std::floor(exact));
    };
    const int left = scaled(grown.left(), image.width(), kConsoleSize.width(), false);
    const int top = scaled(grown.top(), image.height(), kConsoleSize.height(), false);
    const int right = scaled(grown.right() + 1, image.width(), kConsoleSize.width(), true);
    const int bottom = scaled(grown.bottom() + 1, image.height(), kConsoleSize.height(), true);
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(image.topLeft()) & image;
}

QRegion MainWindow::mapFromConsole(const QRegion &region) const
{
    QRegion mapped;
    for (const QRect &rect : region)
        mapped += mapFromConsole(rect);
    return mapped;
}

void MainWindow::showDirty()
{
    if (m_nextFrame.isActive())
        return;
    // A change after a quiet spell (a key typed) is shown at once.
    const double hertz = screen()->refreshRate();
    const qint64 frameMs = std::lround(1000.0 / (hertz >= 20 && hertz <= 500 ? hertz : 60.0));
    const qint64 since = m_sinceRepaint.isValid() ? m_sinceRepaint.elapsed() : frameMs;
    if (since >= frameMs)
        repaintDirty();
    else
        m_nextFrame.start(static_cast<int>(frameMs - since));
}

void MainWindow::repaintDirty()
{
    m_sinceRepaint.start();
    const QRegion dirty = m_session.console.takeDirty();
    if (!dirty.isEmpty())
        update(mapFromConsole(dirty));
}

void MainWindow::placeVideo()
{
    const Players::VideoArea &area = m_session.players.videoArea();
    const QRect pixels = area.pixels();
    const QRect image = imageRect();
    const double sx = double(image.width()) / kConsoleSize.width();
    const double sy = double(image.height()) / kConsoleSize.height();
    m_video->setGeometry(QRectF(image.x() + pixels.x() * sx, image.y() + pixels.y() * sy,
                                pixels.width() * sx, pixels.height() * sy)
                             .toAlignedRect());
    m_video->setVisible(area.visible);
    m_video->update();
}

void MainWindow::resizeEvent(QResizeEvent *)
{
    placeVideo();
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect image = imageRect();
    for (const QRect &margin : event->region() - image)
        painter.fillRect(margin, Qt::black);
    const QImage &surface = m_session.console.surface();
    if (image.size() == surface.size()) {
        // 1:1, pixel for pixel.
        const QRect area = event->rect() & image;
        painter.drawImage(area.topLeft(), surface, area.translated(-image.topLeft()));
    } else {
        // The painter is clipped to the region asked for.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(image, surface);
    }
    if (m_selection) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        for (int row = m_selection->first.y(); row <= m_selection->last.y(); ++row) {
            const int first = row == m_selection->first.y() ? m_selection->first.x() : 1;
            const int last =
                row == m_selection->last.y() ? m_selection->last.x() : Cell::kTextColumns;
            const QRect cells(Cell::origin(first, row),
                              QSize((last - first + 1) * Cell::kWidth, Cell::kHeight));
            painter.fillRect(mapFromConsole(cells), Qt::white);
        }
    }
}

QPoint MainWindow::cellAt(const QPointF &at) const
{
    return CellSelection::cellAt(mapToConsole(at));
}

void MainWindow::showSelection(std::optional<CellSelection> selection)
{
    if (!selection && !m_selection)
        return;
    m_selection = selection;
    update();
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_anchor = cellAt(event->position());
    showSelection(std::nullopt);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_anchor || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint cell = cellAt(event->position());
    // Until the pointer leaves the cell it went down on, it is a click.
    if (!m_selection && cell == *m_anchor)
        return;
    showSelection(CellSelection::between(*m_anchor, cell));
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_anchor.reset();
    const CellRecord &cells = m_session.console.scrCells();
    showSelection(CellSelection::wordAt(cells, cellAt(event->position())));
    m_desktop.setSelectionText(m_selection->text(cells));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_shutDown) {
        m_shutDown = true;
        m_session.cursorTimer.timFlash.stop();
        m_session.players.stopAdvancing();
        shutDown(m_session);
    }
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    showSelection(std::nullopt);
    const Keystroke k = QtKeys::fromQt(event->key(), event->modifiers(), event->text());
    m_session.handleEvent([&] {
        m_session.keyboard.keystroke(k.code, k.shift, k.character);
        // A key may bring more than one unit (an emoji, a composed sequence): the rest is
        // typed after the first.
        if (k.character != 0 && k.character == event->text().front().unicode()) {
            for (qsizetype i = 1; i < event->text().size(); ++i) {
                int character = event->text()[i].unicode();
                m_session.keyboard.keyPress(character);
            }
        }
    });
    event->accept();
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && std::exchange(m_anchor, std::nullopt) && m_selection)
        m_desktop.setSelectionText(m_selection->text(m_session.console.scrCells()));
    int button = 0;
    if (event->button() == Qt::LeftButton)
        button = 1;
    else if (event->button() == Qt::RightButton)
        button = 2;
    else if (event->button() == Qt::MiddleButton)
        button = 4;
    const Keystroke modifiers = QtKeys::fromQt(0, event->modifiers(), QString());
    const QPoint at = mapToConsole(event->position());
    m_session.handleEvent(
        [&] { m_session.keyboard.mouseUp(button, modifiers.shift, at.x(), at.y()); });
}

void MainWindow::focusInEvent(QFocusEvent *event)
{
    m_session.handleEvent([&] { m_session.keyboard.gotFocus(); });
    QWidget::focusInEvent(event);
}

void MainWindow::focusOutEvent(QFocusEvent *event)
{
    // A popup menu of our own takes the focus only while it is open.
    if (event->reason() != Qt::PopupFocusReason)
        m_session.handleEvent([&] { m_session.keyboard.lostFocus(); });
    QWidget::focusOutEvent(event);
}
