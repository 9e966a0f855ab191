#pragma once
// The playlist players as an MPRIS 2 media player on a D-Bus connection, so that desktop
// media keys, sound menus and playerctl reach them. Everything it does goes through the
// narrow PlaylistRemote; what changes is told to the bus a moment later (PropertiesChanged),
// whoever changed it: a key, a command, the end of a track.

#include "session/PlaylistRemote.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <functional>

class MprisPlayerAdaptor;

class MprisService : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kServiceName = "org.mpris.MediaPlayer2.i2kCmd";
    static constexpr const char *kObjectPath = "/org/mpris/MediaPlayer2";
    // The launcher entry's file name without ".desktop" (data/), by which desktops match the
    // window and the player to it.
    static constexpr const char *kDesktopEntry = "io.github.idrisk.i2kcmd";

    // raise brings the window to the front.
    MprisService(PlaylistRemote &remote, std::function<void()> raise);
    ~MprisService() override;

    // Exports the player and takes its name (or, when another i2kCmd has it, the name with
    // ".instance<pid>" after it). False, with nothing left on the bus, when that fails.
    bool registerOn(QDBusConnection connection);

    // Tells the bus what changed since the last time; runs on a timer once registered.
    void refresh();

    PlaylistRemote &remote() { return m_remote; }
    void raise() const;
    // The object path naming a playlist entry.
    static QDBusObjectPath trackPath(int entry);
    // The playback properties as the bus sees them now.
    QVariantMap playerProperties() const;
    // After a seek: Seeked, with the position it reached.
    void seeked();

private:
    PlaylistRemote &m_remote;
    std::function<void()> m_raise;
    MprisPlayerAdaptor *m_player;
    QDBusConnection m_connection;
    QString m_name;
    QTimer m_poll;
    QVariantMap m_last;
    // For telling a jump in the track from playing on.
    qint64 m_lastPosition = 0;
    QElapsedTimer m_sinceLast;
};
