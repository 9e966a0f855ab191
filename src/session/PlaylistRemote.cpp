#include "session/PlaylistRemote.h"

#include "session/Session.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMicroseconds = 1e6;

qint64 microseconds(double seconds)
{
    return std::isfinite(seconds) && seconds > 0 ? std::llround(seconds * kMicroseconds) : 0;
}

// A database value, or the empty text when the database has none.
QString known(const QString &value)
{
    return value == KeyValueStore::kNotFound ? QString() : value;
}

} // namespace

template <typename Step> void PlaylistRemote::run(Step step)
{
    m_session.handleEvent(step);
}

PlaylistRemote::Status PlaylistRemote::status() const
{
    switch (m_session.players.inUse().playState()) {
    case MediaPlayer::kPlaying:
        return Status::Playing;
    case MediaPlayer::kPaused:
        return Status::Paused;
    default:
        return Status::Stopped;
    }
}

PlaylistRemote::Track PlaylistRemote::track() const
{
    const MediaPlayer &player = m_session.players.inUse();
    Track track;
    if (player.fileName().isEmpty())
        return track;
    const Playlist::Entry &entry = m_session.playlist[m_session.playlist.plIndex];
    track.entry = m_session.playlist.plIndex;
    track.artist = known(m_session.vld.GetValue(QStringLiteral("Artist") + entry.artist));
    track.title =
        known(m_session.vld.GetValue(entry.artist + QStringLiteral("Track") + entry.track));
    track.file = player.fileName();
    track.lengthMicroseconds = microseconds(player.duration());
    return track;
}

qint64 PlaylistRemote::positionMicroseconds() const
{
    return microseconds(m_session.players.inUse().position());
}

int PlaylistRemote::volume() const
{
    return m_session.opt.playerVolume();
}

bool PlaylistRemote::canGoNext() const
{
    const int next = m_session.playlist.plIndex + 1;
    return next < Playlist::kCapacity && !m_session.playlist[next].artist.isEmpty();
}

bool PlaylistRemote::canGoPrevious() const
{
    return m_session.playlist.plIndex > 0;
}

void PlaylistRemote::play()
{
    run([this] { m_session.players.play(); });
}

void PlaylistRemote::pause()
{
    run([this] {
        MediaPlayer &player = m_session.players.inUse();
        if (player.playState() == MediaPlayer::kPlaying)
            player.pause();
    });
}

void PlaylistRemote::playPause()
{
    run([this] { m_session.players.playPause(); });
}

void PlaylistRemote::stop()
{
    run([this] { m_session.players.inUse().stop(); });
}

void PlaylistRemote::next()
{
    if (canGoNext())
        run([this] { m_session.players.skipNext(); });
}

void PlaylistRemote::previous()
{
    run([this] { m_session.players.skipPrevious(); });
}

bool PlaylistRemote::seekBy(qint64 offset)
{
    const qint64 at = std::max<qint64>(0, positionMicroseconds() + offset);
    if (at <= track().lengthMicroseconds)
        return seekTo(at);
    // Past the end the media controls expect the next track.
    next();
    return false;
}

bool PlaylistRemote::seekTo(qint64 at)
{
    MediaPlayer &player = m_session.players.inUse();
    if (player.fileName().isEmpty() || at < 0 || at > microseconds(player.duration()))
        return false;
    run([&] { player.setPosition(static_cast<double>(at) / kMicroseconds); });
    return true;
}

void PlaylistRemote::setVolume(int volume)
{
    run([&] { m_session.setPlaylistVolume(volume); });
}

void PlaylistRemote::quit()
{
    run([this] { m_session.requestClose(); });
}
