#pragma once
// The playlist: up to 32001 tracks, each an artist number and a track number kept as the
// text they were added with. The first entry with an empty artist ends the list.

#include <QString>
#include <deque>

class Playlist
{
public:
    static constexpr int kCapacity = 32001;
    struct Entry
    {
        QString artist;
        QString track;
    };

    // A fresh table of empty entries.
    void clear() { m_entries = {}; }
    // The entries in use, counted from 0 up to the first empty artist.
    int count() const;
    // An entry by index; outside 0..32000 it raises "Subscript out of range (9)". Entries
    // past the last one written read as empty; writing one never moves the others, so
    // references to entries stay good.
    Entry &operator[](int index);
    const Entry &operator[](int index) const;

    // The current track, the one the players play.
    qint16 plIndex = 0;

    // playlist.dat: one line per entry in use, "artist","track" and CR LF, written through
    // a temporary file so a failed save never leaves half a list.
    void save(const QString &path) const;
    // Reads the fields back in pairs; quoted or bare fields separated by commas or line
    // ends. A missing file leaves the list as it is; pairs with an empty artist are passed
    // over; entries past the table are not read, and restoreNotice() then says so.
    void restore(const QString &path);
    // What the last restore left out, for the start-up's notice; empty when nothing was.
    const QString &restoreNotice() const { return m_restoreNotice; }

private:
    // Only as many entries as were ever written: a table of all 32001 touched some 400 pages
    // of memory at every start.
    std::deque<Entry> m_entries;
    QString m_restoreNotice;
};
