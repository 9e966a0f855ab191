#pragma once
// A media player on libmpv. Everything happens on the window's event loop: commands go to
// mpv asynchronously, and mpv's events (position, duration, pause, end of file) are posted
// back to the loop through its wakeup callback and kept here, so reading a property never
// waits for mpv.

#include "player/MediaPlayer.h"
#include "player/Players.h"

#include <QObject>
#include <optional>

struct mpv_handle;
struct mpv_event;
struct mpv_render_context;
struct LibMpv;

class MpvPlayer : public MediaPlayer
{
public:
    enum class Video { None, Shown };
    // audioOutput: mpv's "ao" ("null" plays silently but in real time); empty for mpv's own
    // choice. A player that shows video renders its frames for the program to paint.
    explicit MpvPlayer(const QString &audioOutput, Video video = Video::None);
    ~MpvPlayer() override;
    MpvPlayer(const MpvPlayer &) = delete;
    MpvPlayer &operator=(const MpvPlayer &) = delete;

    // Makes libmpv players for the session.
    static Players::Factory factory(const QString &audioOutput);

    // The mpv volume (0..100, applied cubically by mpv) for a volume in hundredths of a
    // decibel, so that equal steps in decibels are equal steps in loudness.
    static double mpvVolume(int hundredthsOfDecibel);

    QString fileName() const override { return m_file; }
    void setFileName(const QString &path) override;
    double position() const override { return m_position; }
    void setPosition(double seconds) override;
    double duration() const override { return m_duration; }
    int playState() const override;
    void play() override;
    void pause() override;
    void stop() override;
    int volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDecibel) override;
    int playCount() const override { return m_playCount; }
    void setPlayCount(int count) override;
    void setVideoSize(QSize pixels) override;
    QImage videoFrame() const override { return m_frame; }
    void setOnVideoFrame(std::function<void()> onFrame) override { m_onFrame = std::move(onFrame); }

private:
    // Makes and sets up the mpv handle the first time a file is loaded; false when libmpv
    // cannot start (then every file fails silently).
    bool ensureHandle();
    void load();
    bool startRendering();
    void renderFrame();
    void clearFrame();
    void command(std::initializer_list<const char *> args, quint64 reply = 0);
    void setProperty(const char *name, const QByteArray &value);
    void drainEvents();
    void loadAnswered(const mpv_event &reply);
    bool speaksOfWantedFile(qint64 entry) const;
    void fileLoaded();
    // A property read at once; 0 when mpv has none.
    double readNow(const char *name) const;

    QString m_audioOutput;
    bool m_showsVideo;
    mpv_render_context *m_render = nullptr;
    QSize m_videoSize;
    QImage m_frame;
    std::function<void()> m_onFrame;
    const LibMpv *m_lib = nullptr;
    mpv_handle *m_mpv = nullptr;
    // libmpv could not be started once: not tried again.
    bool m_failed = false;
    // Receives the wakeup calls; the queued calls die with it.
    QObject m_events;
    QString m_file;
    double m_position = 0;
    double m_duration = 0;
    bool m_paused = false;
    bool m_ended = false;
    // A file was asked for and mpv has not loaded it yet.
    bool m_loading = false;
    // mpv makes each loaded file an entry of its own playlist and names that entry in its
    // events, so what it says of a file already replaced is told apart from what it says of
    // the file wanted now, whatever order the events come in.
    int m_loadsUnanswered = 0;
    qint64 m_wantedEntry = -1;
    qint64 m_startedEntry = -1;
    // A position asked for while the file loads: mpv refuses to seek until it has loaded.
    std::optional<double> m_heldSeek;
    int m_volume = kFullVolume;
    int m_playCount = 1;
};
