#include "app/MprisAdaptors.h"

#include "app/MprisService.h"

#include <QUrl>
#include <algorithm>
#include <cmath>

MprisRootAdaptor::MprisRootAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service), m_service(service)
{
}

QString MprisRootAdaptor::identity() const
{
    return QStringLiteral("idrisk2k Command");
}

QString MprisRootAdaptor::desktopEntry() const
{
    return QString::fromLatin1(MprisService::kDesktopEntry);
}

void MprisRootAdaptor::Raise()
{
    m_service->raise();
}

void MprisRootAdaptor::Quit()
{
    m_service->remote().quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService *service)
    : QDBusAbstractAdaptor(service), m_service(service)
{
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    switch (m_service->remote().status()) {
    case PlaylistRemote::Status::Playing:
        return QStringLiteral("Playing");
    case PlaylistRemote::Status::Paused:
        return QStringLiteral("Paused");
    case PlaylistRemote::Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    const PlaylistRemote::Track track = m_service->remote().track();
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(MprisService::trackPath(track.entry)));
    if (track.entry < 0)
        return map;
    if (track.lengthMicroseconds > 0)
        map.insert(QStringLiteral("mpris:length"), QVariant::fromValue(track.lengthMicroseconds));
    if (!track.title.isEmpty())
        map.insert(QStringLiteral("xesam:title"), track.title);
    if (!track.artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    map.insert(QStringLiteral("xesam:url"),
               QUrl::fromLocalFile(track.file).toString(QUrl::FullyEncoded));
    return map;
}

double MprisPlayerAdaptor::volume() const
{
    return m_service->remote().volume() / 100.0;
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    if (std::isnan(volume))
        return;
    m_service->remote().setVolume(
        static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
    m_service->refresh();
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_service->remote().positionMicroseconds();
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return m_service->remote().canGoNext();
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return m_service->remote().canGoPrevious();
}

bool MprisPlayerAdaptor::canPlay() const
{
    return m_service->remote().track().entry >= 0 || m_service->remote().canGoNext();
}

bool MprisPlayerAdaptor::canPause() const
{
    return m_service->remote().track().entry >= 0;
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_service->remote().track().lengthMicroseconds > 0;
}

void MprisPlayerAdaptor::step(void (PlaylistRemote::*action)())
{
    (m_service->remote().*action)();
    // Told at once rather than at the next refresh: the caller often asks right after.
    m_service->refresh();
}

void MprisPlayerAdaptor::Play()
{
    step(&PlaylistRemote::play);
}

void MprisPlayerAdaptor::Pause()
{
    step(&PlaylistRemote::pause);
}

void MprisPlayerAdaptor::PlayPause()
{
    step(&PlaylistRemote::playPause);
}

void MprisPlayerAdaptor::Stop()
{
    step(&PlaylistRemote::stop);
}

void MprisPlayerAdaptor::Next()
{
    step(&PlaylistRemote::next);
}

void MprisPlayerAdaptor::Previous()
{
    step(&PlaylistRemote::previous);
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    if (m_service->remote().seekBy(offset))
        m_service->seeked();
    else
        m_service->refresh();
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &track, qlonglong position)
{
    // A position meant for a track no longer playing is stale: ignored.
    if (track != MprisService::trackPath(m_service->remote().track().entry))
        return;
    if (m_service->remote().seekTo(position))
        m_service->seeked();
}
