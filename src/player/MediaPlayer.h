#pragma once
// One media player as the program drives it: the few behaviours it relies on, whatever plays
// the sound. The program holds three: the two playlist players and the audio/video player.

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class MediaPlayer
{
public:
    // Play states; any other value (a stopped or ended file) gets no special treatment.
    static constexpr int kStopped = 0;
    static constexpr int kPaused = 1;
    static constexpr int kPlaying = 2;
    static constexpr int kClosed = 6;
    // Volumes are hundredths of a decibel: 0 is full loudness, -4000 is 40 dB quieter.
    static constexpr int kFullVolume = 0;

    virtual ~MediaPlayer() = default;

    // The file loaded, empty when none is.
    virtual QString fileName() const = 0;
    // Loads the file and starts playing it at once; the empty text unloads the player. A file
    // that cannot be played leaves the player closed, silently.
    virtual void setFileName(const QString &path) = 0;
    // Seconds.
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;
    virtual double duration() const = 0;
    virtual int playState() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual int volume() const = 0;
    virtual void setVolume(int hundredthsOfDecibel) = 0;
    // How many times a file plays; 0 repeats it for ever.
    virtual int playCount() const = 0;
    virtual void setPlayCount(int count) = 0;

    // Video, which only the third player shows: its frames are rendered at the size asked for
    // (console pixels), and onFrame runs on the event loop each time a new one is ready.
    // Players without video keep no frame.
    virtual void setVideoSize(QSize) {}
    virtual QImage videoFrame() const { return {}; }
    virtual void setOnVideoFrame(std::function<void()>) {}
};
