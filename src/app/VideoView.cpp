#include "app/VideoView.h"

#include "player/MediaPlayer.h"

#include <QPainter>

VideoView::VideoView(const MediaPlayer &player, QWidget *parent)
    : QWidget(parent), m_player(player)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void VideoView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QImage frame = m_player.videoFrame();
    if (frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), frame);
}
