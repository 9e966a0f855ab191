#pragma once
// The three media players, wmp(0) and wmp(1) taking turns at the playlist and wmp(2) for the
// audio and video commands, with the fade that runs when the user skips a track.

#include "console/NowPlaying.h"
#include "player/MediaPlayer.h"

#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class Session;

class Players : public NowPlaying
{
public:
    // Makes the player of an index 0..2.
    using Factory = std::function<std::unique_ptr<MediaPlayer>(int index)>;
    static constexpr int kCount = 3;
    static constexpr int kFadeStep = 10;
    static constexpr int kFadeFloor = -4000;
    // 5000 ms in 400 steps, rounded half to even: 12 ms.
    static constexpr int kFadeInterval = 12;

    Players(Session &session, const Factory &make);

    MediaPlayer &wmp(int index) { return *m_players.at(static_cast<size_t>(index)); }
    // The playlist player opt(12) names; the first one when opt(12) is no number.
    MediaPlayer &inUse();
    int inUseIndex() const;

    // NowPlaying: the player in use has a file, and the description of the current entry.
    bool fileLoaded() const override;
    QString detailsText() const override;

    // The player being faded out, and the fade's timer (12 ms steps).
    qint16 fadePlayer = 0;
    QTimer timRedVol;

private:
    Session &m_session;
    std::array<std::unique_ptr<MediaPlayer>, kCount> m_players;
};
