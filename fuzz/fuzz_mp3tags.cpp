// libFuzzer target: vldmake's MP3 tag reader on arbitrary file contents. It never crashes,
// reads in bounded pieces (the run's memory limit holds it to that), leaves the file as it
// was, and what it reads is catalogue-ready: texts trimmed, a genre of the program's list.

#include "FuzzInputFile.h"
#include "Mp3Tags.h"

#include "formats/GenreNames.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using FuzzInputFile::check;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = FuzzInputFile::write(QStringLiteral("input.mp3"), bytes);
    TrackTags tags;
    if (Mp3Tags::read(path, tags) == Mp3Tags::Outcome::Read) {
        for (const QString *text : {&tags.artist, &tags.title, &tags.lyrics, &tags.notes})
            check(*text == text->trimmed(), "MP3 tags", "a text not trimmed");
        check(tags.genre >= 0 && tags.genre < kGenreCount, "MP3 tags", "a genre out of the list");
    }
    check(FuzzInputFile::contents(path) == bytes, "MP3 tags", "the file changed");
    return 0;
}
