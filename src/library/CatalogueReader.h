#pragma once
// Reading the loaded catalogue the way the listings, the searches and the playlist builders
// all read it: its counts, its search patterns, its tracks in order and its batch contents.

#include "foundation/Wildcard.h"

#include <QAnyStringView>
#include <QString>
#include <QStringView>
#include <functional>

class Catalogue;

// A count the catalogue gives (artists, tracks, batches). Each thing counted has a key of its
// own, so a count above atMost cannot be real: it is a damaged database ("Invalid file
// format"), and taking it at its word would loop for billions of steps. Not a number:
// "Type mismatch (13)".
qint32 catalogueCount(const Catalogue &catalogue, const QString &key, qsizetype atMost);

// The longest catalogue value a listing shows whole; real names are far shorter.
constexpr qsizetype kLongestShownValue = 4096;
// A value as a listing shows it: a longer one is cut there, with a note of how much was left
// out, so that one damaged name can neither fill the pager (which then shows nothing) nor be
// copied whole for every line; a null view is "[NOT FOUND]".
QString shownValue(QAnyStringView value);

// A search text matches anywhere in a name, without regard to case; its wildcards work.
// Callers lower-case the name.
Wildcard searchPattern(const QString &text);

// Calls visit(artist, track, value) for the tracks 1..Tracks<a> of the artists 1..Artists,
// in that order, whose value (that of the key artist + field + track, or "[NOT FOUND]")
// matches, until it answers false. Each count is read when its artist's turn comes, so a bad
// count fails after the tracks before it were visited. matches may be asked about the values
// in any order (the text's, where the tracks can be read from it in one pass); the views are
// valid during the call only.
using TrackVisit =
    std::function<bool(const QString &artist, QStringView track, QAnyStringView value)>;
void forEachMatchingTrack(const Catalogue &catalogue, QStringView field,
                          const std::function<bool(QAnyStringView value)> &matches,
                          const TrackVisit &visit);

// Calls visit(artist, track) for the items of stored batch contents "{a_t}{a_t}...", in
// order, until it answers false: the outer braces dropped, the rest split at every "}{", each
// item at its first "_". Contents shorter than two characters, or an item without "_", raise
// "Invalid procedure call or argument (5)" when reading reaches them, after the items before.
// Answers false when visit stopped the reading.
bool forEachBatchItem(QStringView contents,
                      const std::function<bool(QStringView artist, QStringView track)> &visit);
