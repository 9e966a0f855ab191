#pragma once
// The third player's video over the console: a child of the window, placed and sized where
// the video command asked, painting the player's latest frame scaled to its rectangle. Clicks
// pass through to the console beneath.

#include <QWidget>

class MediaPlayer;

class VideoView : public QWidget
{
public:
    VideoView(const MediaPlayer &player, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const MediaPlayer &m_player;
};
