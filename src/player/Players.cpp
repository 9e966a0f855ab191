#include "player/Players.h"

#include "foundation/NumericText.h"
#include "library/TrackDetails.h"
#include "player/PlayerControl.h"
#include "session/Session.h"

#include <algorithm>
#include <cmath>

Players::Players(Session &session, const Factory &make) : m_session(session)
{
    for (int i = 0; i < kCount; ++i)
        m_players[static_cast<size_t>(i)] = make(i);
    QObject::connect(&timRedVol, &QTimer::timeout,
                     [this] { m_session.handleEvent([this] { fadeTick(m_session); }); });
    timAdvance.setInterval(100);
    QObject::connect(&timAdvance, &QTimer::timeout,
                     [this] { m_session.handleEvent([this] { trackendcheck(m_session); }); });
    wmp(kVideoPlayer).setOnVideoFrame([this] {
        if (m_onVideoChanged)
            m_onVideoChanged();
    });
}

QRect Players::VideoArea::pixels() const
{
    static constexpr double kTwipsPerPixel = 15;
    // Far beyond the console nothing shows; the bound keeps the arithmetic in range.
    static constexpr double kFar = 1 << 20;
    const auto pixel = [](float twips) {
        return static_cast<int>(std::lround(std::clamp(twips / kTwipsPerPixel, -kFar, kFar)));
    };
    if (!(width > 0 && height > 0))
        return {};
    return {pixel(left), pixel(top), qMax(1, pixel(width)), qMax(1, pixel(height))};
}

void Players::setVideoArea(const VideoArea &area)
{
    // Frames larger than the console would cost memory and time for pixels never seen.
    constexpr QSize kLargestFrame(2048, 2048);
    m_videoArea = area;
    QSize frame = area.pixels().size();
    if (frame.width() > kLargestFrame.width() || frame.height() > kLargestFrame.height())
        frame = frame.scaled(kLargestFrame, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    wmp(kVideoPlayer).setVideoSize(frame);
    if (m_onVideoChanged)
        m_onVideoChanged();
}

void Players::setOnVideoChanged(std::function<void()> changed)
{
    m_onVideoChanged = std::move(changed);
}

int Players::levelOf(int volume)
{
    if (volume <= 0)
        return kSilent;
    if (volume >= Options::kFullVolume)
        return MediaPlayer::kFullVolume;
    return static_cast<int>(std::lround(6000.0 * std::log10(volume / 100.0)));
}

int Players::fullLevel() const
{
    return levelOf(m_session.opt.playerVolume());
}

void Players::applyVolume()
{
    for (int i = 0; i < kVideoPlayer; ++i) {
        if (!(timRedVol.isActive() && i == fadePlayer))
            wmp(i).setVolume(fullLevel());
    }
}

int Players::inUseIndex() const
{
    const std::optional<double> index = Numeric::parse(m_session.opt[Options::PlayerInUse]);
    return index && *index == 1 ? 1 : 0;
}

MediaPlayer &Players::inUse()
{
    return wmp(inUseIndex());
}

bool Players::fileLoaded() const
{
    return !m_players[static_cast<size_t>(inUseIndex())]->fileName().isEmpty();
}

QString Players::detailsText() const
{
    const Playlist::Entry &entry = m_session.playlist[m_session.playlist.plIndex];
    // Without its line end: drawn on a row, CR and LF would land in the cells.
    return TDetails(m_session, entry.artist, entry.track).chopped(2);
}
