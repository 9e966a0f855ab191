#include "player/Players.h"

#include "foundation/NumericText.h"
#include "library/TrackDetails.h"
#include "player/PlayerControl.h"
#include "session/Session.h"

Players::Players(Session &session, const Factory &make) : m_session(session)
{
    for (int i = 0; i < kCount; ++i)
        m_players[static_cast<size_t>(i)] = make(i);
    QObject::connect(&timRedVol, &QTimer::timeout,
                     [this] { m_session.handleEvent([this] { fadeTick(m_session); }); });
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
