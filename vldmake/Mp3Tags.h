#pragma once
// The tags of an MP3 read straight from its bytes: the ID3v2 tag at its start (Id3v2Tag.h),
// the ID3v1 tag at its end, and the first MPEG audio frame after the tag, which tells audio
// from a file that only has the name. What it gives is what TagLib gives (the differential
// test holds it to that); the rare layouts it leaves to TagLib are said below.

#include "TrackTags.h"

namespace Mp3Tags {

enum class Outcome {
    Read,      // tags filled in
    NotAudio,  // no MPEG audio frame: "not a readable audio file"
    Undecided, // for TagLib: an APE tag, compressed or encrypted frames of the catalogue,
               // tag versions other than 2.2 to 2.4, a very short file, one that cannot be opened
};

// Searches are bounded: a tag larger than TextFile::kMaxReadSize, or no audio frame within
// kMaxSearch bytes of where the audio should start, and the file is no audio.
constexpr qint64 kMaxSearch = 4 * 1024 * 1024;

Outcome read(const QString &path, TrackTags &tags);

} // namespace Mp3Tags
