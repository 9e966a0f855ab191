#pragma once
// What the playlist players need of the program around them, and no more.

#include <QString>
#include <functional>

class PlayersHost
{
public:
    // Runs a timer's tick under the one trap.
    virtual void handleEvent(const std::function<void()> &handler) = 0;
    // The user's volume 0..100 for the playlist players (vlvol).
    virtual int playlistVolume() const = 0;
    // The file to play for a catalogue track; raises a run-time error when the loaded
    // database cannot give one.
    virtual QString trackFile(qint16 artist, qint16 track) = 0;
    // The one-line description of an entry, with its CR LF.
    virtual QString trackDetails(const QString &artist, const QString &track) const = 0;
    // The current entry was handed to the player in use: the console names it where the
    // user wants that, and the playlist view follows.
    virtual void trackStarted() = 0;
    // The current entry moved: the playlist view follows.
    virtual void playlistMoved() = 0;

protected:
    ~PlayersHost() = default;
};
