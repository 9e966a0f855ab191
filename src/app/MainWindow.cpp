#include "app/MainWindow.h"

#include "app/Session.h"
#include "settings/Lifecycle.h"

#include <QCloseEvent>
#include <QPainter>

MainWindow::MainWindow(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("idrisk2k Command"));
    setFixedSize(Cell::kSurfaceWidth, Cell::kSurfaceHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_session.console.setOnDirty([this] { update(); });
    // exit and quit run inside a command: close once it has returned.
    m_session.setOnCloseRequested([this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); });
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
        shutDown(m_session);
    }
    event->accept();
}
