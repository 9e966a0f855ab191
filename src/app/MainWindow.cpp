#include "app/MainWindow.h"

#include "app/QtKeys.h"
#include "foundation/Messages.h"
#include "session/Session.h"
#include "settings/Lifecycle.h"

#include <QCloseEvent>
#include <QPainter>

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QWidget(parent), m_session(session), m_desktop(this, session.scripted)
{
    setWindowTitle(Msg::kWindowTitle);
    setFixedSize(Cell::kSurfaceWidth, Cell::kSurfaceHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // Right clicks come to mouseReleaseEvent, which opens the console's own menus.
    setContextMenuPolicy(Qt::PreventContextMenu);
    m_session.console.setOnDirty([this] { update(); });
    m_session.setDesktop(&m_desktop);
}

MainWindow::~MainWindow()
{
    m_session.setDesktop(nullptr);
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    m_session.console.takeDirty();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_session.console.surface(), event->rect());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_shutDown) {
        m_shutDown = true;
        m_session.cursorTimer.timFlash.stop();
        shutDown(m_session);
    }
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    const Keystroke k = QtKeys::fromQt(event->key(), event->modifiers(), event->text());
    m_session.handleEvent([&] { m_session.keyboard.keystroke(k.code, k.shift, k.character); });
    event->accept();
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    int button = 0;
    if (event->button() == Qt::LeftButton)
        button = 1;
    else if (event->button() == Qt::RightButton)
        button = 2;
    else if (event->button() == Qt::MiddleButton)
        button = 4;
    const Keystroke modifiers = QtKeys::fromQt(0, event->modifiers(), QString());
    const QPoint at = event->position().toPoint();
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
