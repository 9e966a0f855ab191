#pragma once
// A media player a test controls: what is loaded, the state, the times, the volume, and how
// often it was stopped.

#include "player/MediaPlayer.h"

class FakeMediaPlayer : public MediaPlayer
{
public:
    QString fileName() const override { return file; }
    void setFileName(const QString &path) override
    {
        file = path;
        pos = 0;
        state = path.isEmpty() ? kClosed : kPlaying;
    }
    double position() const override { return pos; }
    void setPosition(double seconds) override { pos = seconds; }
    double duration() const override { return dur; }
    int playState() const override { return state; }
    // As on a real player, a stopped or ended file starts again from its beginning.
    void play() override
    {
        if (state == kStopped)
            pos = 0;
        state = file.isEmpty() ? kClosed : kPlaying;
    }
    void pause() override { state = file.isEmpty() ? kClosed : kPaused; }
    void stop() override
    {
        ++stops;
        if (!file.isEmpty())
            state = kStopped;
    }
    int volume() const override { return vol; }
    void setVolume(int hundredthsOfDecibel) override { vol = hundredthsOfDecibel; }
    int playCount() const override { return count; }
    void setPlayCount(int playCount) override { count = playCount; }

    QString file;
    double pos = 0;
    double dur = 0;
    int state = kClosed;
    int vol = kFullVolume;
    int count = 1;
    int stops = 0;
};
