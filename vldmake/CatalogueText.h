#pragma once
// The catalogue's text made a few artists at a time, on every thread, instead of from one
// store of all its pairs: the store held each of the half a million pairs in UTF-16 with an
// index entry, most of vldmake's memory. The text is the very one a single store's utf8Text()
// gives: the store writes its pairs sorted by case-folded key, and the pieces made here are
// ranges of that order, each written by a store of its own.

#include "formats/KeyValueStore.h"

#include <QByteArray>

#include <functional>

namespace CatalogueText {

// Sets the track keys ("12Track3" and the like) of one artist, numbered from 1.
using FillArtist = std::function<void(KeyValueStore &store, int artist)>;
// Sets the other keys (counts, artist names, batches): none of them starts with a digit.
using FillRest = std::function<void(KeyValueStore &store)>;

// The whole text for artists 1..artists. fillArtist is called once for each artist, from as
// many as threads threads at once (never twice at once for the same artist).
QByteArray make(int artists, const FillArtist &fillArtist, const FillRest &fillRest, int threads);

} // namespace CatalogueText
