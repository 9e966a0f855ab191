#include "player/Players.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "settings/Options.h"

#include <algorithm>
#include <cmath>

QString num2time(double seconds)
{
    const auto whole = static_cast<qint64>(std::floor(seconds));
    const qint64 rest = ((whole % 60) + 60) % 60;
    return QStringLiteral("%1:%2").arg((whole - rest) / 60).arg(rest, 2, 10, QChar(u'0'));
}

Players::Players(PlayersHost &host, Playlist &playlist, TimerSource &timers, const Factory &make)
    : m_host(host), m_playlist(playlist),
      m_fadeTimer(timers.timer(kFadeInterval, [this] { m_host.handleEvent([this] { fadeTick(); }); })),
      m_advanceTimer(timers.timer(kAdvanceInterval, [this] { m_host.handleEvent([this] { advanceTick(); }); }))
{
    for (int i = 0; i < kCount; ++i)
        m_players[static_cast<size_t>(i)] = make(i);
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
    return levelOf(m_host.playlistVolume());
}

void Players::applyVolume()
{
    for (int i = 0; i < kVideoPlayer; ++i) {
        if (!(fading() && i == m_fadePlayer))
            wmp(i).setVolume(fullLevel());
    }
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
    const Playlist::Entry &entry = m_playlist[m_playlist.plIndex];
    // Without its line end: drawn on a row, CR and LF would land in the cells.
    return m_host.trackDetails(entry.artist, entry.track).chopped(2);
}

void Players::playCurrent()
{
    m_inUse = 1 - m_inUse;
    // A track loaded onto the player still fading out would be faded out and stopped with
    // it: that fade ends here, and the new track plays at the user's volume.
    if (fading() && m_fadePlayer == m_inUse)
        m_fadeTimer->stop();
    applyVolume();
    MediaPlayer &player = inUse();
    player.setFileName(QString());
    try {
        const Playlist::Entry &entry = m_playlist[m_playlist.plIndex];
        const qint16 a = Numeric::roundToInteger(std::floor(Numeric::toDouble(entry.artist)));
        const qint16 t = Numeric::roundToInteger(std::floor(Numeric::toDouble(entry.track)));
        player.setFileName(m_host.trackFile(a, t));
        m_host.trackStarted();
    } catch (const RuntimeError &) {
        // Silent by rule: the player switch and the unload have happened, nothing plays.
    }
}

void Players::skipTo(int index)
{
    m_playlist.plIndex = static_cast<qint16>(index);
    fadeOut();
    playCurrent();
    // The view follows the index even when the entry could not start.
    m_host.playlistMoved();
}

void Players::skipNext()
{
    if (m_playlist.plIndex < Playlist::kCapacity - 1)
        skipTo(m_playlist.plIndex + 1);
}

void Players::skipPrevious()
{
    if (m_playlist.plIndex > 0)
        skipTo(m_playlist.plIndex - 1);
}

void Players::play()
{
    MediaPlayer &player = inUse();
    if (player.playState() == MediaPlayer::kClosed) {
        m_playlist.plIndex = 0;
        playCurrent();
    } else {
        player.play();
    }
}

void Players::playPause()
{
    if (inUse().playState() == MediaPlayer::kPlaying)
        inUse().pause();
    else
        play();
}

void Players::fadeOut()
{
    if (fading()) {
        m_fadeTimer->stop();
        wmp(m_fadePlayer).stop();
        applyVolume();
    }
    m_fadePlayer = m_inUse;
    m_fadeFloor = fullLevel() + kFadeFloor;
    m_fadeTimer->start();
}

void Players::fadeTick()
{
    MediaPlayer &player = wmp(m_fadePlayer);
    player.setVolume(player.volume() - kFadeStep);
    if (player.volume() <= m_fadeFloor) {
        player.stop();
        m_fadeTimer->stop();
        applyVolume();
    }
}

void Players::advanceTick()
{
    // From the second in which five whole seconds remain on, so a moment the loop was busy (a
    // large catalogue loading) or a jump with "]" past that second never stops the list. A
    // track of less than five seconds never advances.
    MediaPlayer &player = inUse();
    const double wholeDuration = std::floor(player.duration());
    if (wholeDuration < 5 || std::floor(player.position()) + 5 < wholeDuration)
        return;
    const int next = m_playlist.plIndex + 1;
    if (next >= Playlist::kCapacity || m_playlist[next].artist.isEmpty())
        return;
    m_playlist.plIndex = static_cast<qint16>(next);
    playCurrent();
}
