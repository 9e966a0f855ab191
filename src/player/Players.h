#pragma once
// The three media players, wmp(0) and wmp(1) taking turns at the playlist and wmp(2) for the
// audio and video commands, with the fade that runs when the user skips a track.

#include "console/NowPlaying.h"
#include "player/MediaPlayer.h"

#include <QRect>
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
    // The player of the audio and video commands; the playlist never touches it.
    static constexpr int kVideoPlayer = 2;
    static constexpr int kFadeStep = 10;
    static constexpr int kFadeFloor = -4000;
    // 5000 ms in 400 steps, rounded half to even: 12 ms.
    static constexpr int kFadeInterval = 12;
    // The level of volume 0: so far down that no output is left (mpv's volume reads 0).
    static constexpr int kSilent = -1000000;

    // The players' level in hundredths of a decibel for a volume 0..100: 100 is full (0 dB),
    // 0 is silent, and between them the cubic curve of mpv and the desktop's mixers,
    // 60 * log10(volume / 100) dB, so 50 is -18 dB and 10 is -60 dB.
    static int levelOf(int volume);
    // The level of the volume the user set (vlvol), where the playlist players play and
    // where their fades start.
    int fullLevel() const;
    // Sets the playlist players to the user's level; the one being faded keeps fading.
    void applyVolume();

    Players(Session &session, const Factory &make);

    MediaPlayer &wmp(int index) { return *m_players.at(static_cast<size_t>(index)); }
    // The playlist player opt(12) names; the first one when opt(12) is no number.
    MediaPlayer &inUse();
    int inUseIndex() const;

    // NowPlaying: the player in use has a file, and the description of the current entry.
    bool fileLoaded() const override;
    QString detailsText() const override;

    // Where the third player shows its video over the console: left, top, width and height
    // in twips (15 to a console pixel) from the console's top left corner, and whether the
    // view is shown at all.
    struct VideoArea
    {
        bool visible = false;
        float left = 0;
        float top = 0;
        float width = 0;
        float height = 0;
        // In console pixels; empty when the width or height is not positive.
        QRect pixels() const;
    };
    const VideoArea &videoArea() const { return m_videoArea; }
    void setVideoArea(const VideoArea &area);
    // Runs when the area or the video's picture changes: the window's video view follows.
    void setOnVideoChanged(std::function<void()> changed);

    // The player being faded out, the level where it stops, and the fade's timer (12 ms steps).
    qint16 fadePlayer = 0;
    int fadeFloor = kFadeFloor;
    QTimer timRedVol;
    // The end-of-track rule's own clock (100 ms) from start-up on: the playlist advances in
    // every mode, with or without the focus, while the cursor's timer stops with the focus.
    QTimer timAdvance;

private:
    Session &m_session;
    std::array<std::unique_ptr<MediaPlayer>, kCount> m_players;
    VideoArea m_videoArea;
    std::function<void()> m_onVideoChanged;
};
