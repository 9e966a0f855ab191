#pragma once
// The three media players, wmp(0) and wmp(1) taking turns at the playlist and wmp(2) for the
// audio and video commands, with the fade that runs when the user skips a track.

#include "console/NowPlaying.h"
#include "foundation/Timers.h"
#include "player/MediaPlayer.h"
#include "player/PlayersHost.h"
#include "player/Playlist.h"

#include <QRect>
#include <array>
#include <functional>
#include <memory>

// Minutes, a colon and two-digit seconds of the whole seconds: 125.7 gives "2:05".
QString num2time(double seconds);

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
    // How often the end of the track in use is looked for.
    static constexpr int kAdvanceInterval = 100;
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

    Players(PlayersHost &host, Playlist &playlist, TimerSource &timers, const Factory &make);

    MediaPlayer &wmp(int index) { return *m_players.at(static_cast<size_t>(index)); }
    // The playlist player in use (0 or 1); the options keep it as opt(12) between runs.
    MediaPlayer &inUse();
    int inUseIndex() const { return m_inUse; }
    void setInUseIndex(int index) { m_inUse = index == 1 ? 1 : 0; }

    // Starts entry plIndex on the other playlist player, at the user's volume (a fade still
    // running on that player ends at once). Any failure (an entry that is no number, a track
    // the database cannot give) ends it silently, the steps before it done.
    void playCurrent();
    // Starts entry `index` as a skip does: the track playing fades out, the entry starts on
    // the other player, and the playlist view, when shown, follows.
    void skipTo(int index);
    // The entry after or before the current one; nothing happens at the ends of the table.
    void skipNext();
    void skipPrevious();
    // Paused or ended plays; with nothing loaded the first entry starts.
    void play();
    // Playing pauses, anything else plays as play() does (an ended track from its start).
    void playPause();
    // Starts fading out the player in use, from the user's volume down by 40 dB; a fade still
    // running is cut short first.
    void fadeOut();
    bool fading() const { return m_fadeTimer->isActive(); }
    int fadingPlayer() const { return m_fadePlayer; }

    // The end-of-track rule runs on its own clock (100 ms) from start-up to shut-down, in
    // every mode, with or without the focus.
    void startAdvancing() { m_advanceTimer->start(); }
    void stopAdvancing() { m_advanceTimer->stop(); }

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

private:
    // One tick of each timer. A fade step is 10 hundredths of a decibel; 40 dB down the
    // player stops and both playlist players are back at the user's volume. The next entry
    // starts in the second in which five whole seconds of the track remain (or at once when
    // that second has passed unseen).
    void fadeTick();
    void advanceTick();

    PlayersHost &m_host;
    Playlist &m_playlist;
    std::array<std::unique_ptr<MediaPlayer>, kCount> m_players;
    VideoArea m_videoArea;
    std::function<void()> m_onVideoChanged;
    int m_inUse = 0;
    // The player being faded out and the level where it stops.
    int m_fadePlayer = 0;
    int m_fadeFloor = kFadeFloor;
    std::unique_ptr<Timer> m_fadeTimer;
    std::unique_ptr<Timer> m_advanceTimer;
};
