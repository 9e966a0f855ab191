#pragma once
// What the desktop's media controls see of the playlist and may do with it: the few facts
// and steps they need, each step taking the same path as the playlist view's keys (a skip
// fades, play/pause is F9's), under the session's trap like any other event.

#include <QString>
#include <QtGlobal>

class Session;

class PlaylistRemote
{
public:
    enum class Status { Playing, Paused, Stopped };
    struct Track
    {
        // The playlist entry loaded, or -1 when the player in use has nothing.
        int entry = -1;
        QString title;
        QString artist;
        QString file;
        qint64 lengthMicroseconds = 0;
    };

    explicit PlaylistRemote(Session &session) : m_session(session) {}

    Status status() const;
    Track track() const;
    qint64 positionMicroseconds() const;
    // 0..100, the volume vlvol sets.
    int volume() const;
    // Whether an entry follows or comes before the current one.
    bool canGoNext() const;
    bool canGoPrevious() const;

    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    // Moves the current track by an offset (past its end: the next track), or to a time (past
    // its end: ignored). True when the track moved.
    bool seekBy(qint64 microseconds);
    bool seekTo(qint64 microseconds);
    void setVolume(int volume);
    // The window closes through the normal shut-down.
    void quit();

private:
    template <typename Step> void run(Step step);

    Session &m_session;
};
