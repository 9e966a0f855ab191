#include "TrackTags.h"

#include "Mp3Tags.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "formats/GenreNames.h"

#include <QFile>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegheader.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

namespace {

constexpr int kOther = 12;
const QString kNotAudio = QStringLiteral("not a readable audio file");
// Past this, TagLib's numbered list (the one of the Winamp player) and the program's differ.
constexpr int kLastSharedGenre = 147;

QString toQString(const TagLib::String &s)
{
    return QString::fromUtf8(s.toCString(true)).trimmed();
}

// The first value of a property, or, when there is none, every value of the keys that
// start with "KEY:" (ID3v2 lyrics and comments that carry a description), joined.
QString property(const TagLib::PropertyMap &map, const char *key)
{
    const auto it = map.find(key);
    if (it != map.end() && !it->second.isEmpty())
        return toQString(it->second.front());
    const TagLib::String prefix = TagLib::String(key) + ":";
    QStringList values;
    for (const auto &[name, list] : map)
        if (name.startsWith(prefix))
            for (const auto &value : list)
                values.append(toQString(value));
    return values.join(QStringLiteral("\n\n"));
}

// Whether an MPEG file has a frame of audio, as its properties would find it.
bool hasMpegAudio(TagLib::MPEG::File *file)
{
    const long first = file->firstFrameOffset();
    if (first < 0)
        return false;
    const TagLib::MPEG::Header header(file, first, false);
    return header.isValid() && header.sampleRate() > 0;
}

} // namespace

int genreFromText(const QString &text)
{
    if (const auto n = genreNumber(text); n && *n < kGenreCount)
        return *n;
    const int taglibNumber =
        TagLib::ID3v1::genreIndex(TagLib::String(text.trimmed().toStdWString()));
    return taglibNumber >= 0 && taglibNumber <= kLastSharedGenre ? taglibNumber : kOther;
}

std::optional<TrackTags> readTrackTags(const QString &path, QString &problem)
{
    // Pipes and devices are never opened (a FIFO would block the open); missing files,
    // folders and files without permission are refused here with the guard's reasons.
    try {
        TextFile::checkReadable(path);
    } catch (const RuntimeError &error) {
        problem = error.description();
        return std::nullopt;
    }
    if (path.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive)) {
        TrackTags tags;
        switch (Mp3Tags::read(path, tags)) {
        case Mp3Tags::Outcome::Read:
            return tags;
        case Mp3Tags::Outcome::NotAudio:
            problem = kNotAudio;
            return std::nullopt;
        case Mp3Tags::Outcome::Undecided:
            break;
        }
    }
    return readTrackTagsWithTagLib(path, problem);
}

std::optional<TrackTags> readTrackTagsWithTagLib(const QString &path, QString &problem)
{
    const QByteArray name = QFile::encodeName(path);
    const bool mp3 = path.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive);
    // The audio properties are read (quickly: the headers only) to tell audio from a file
    // that only has the right extension. For an MP3 the first frame's header tells it: the
    // properties would also search the file backwards for its last frame, a quarter of the
    // time vldmake spends on a file, for a length that is never used.
    TagLib::FileRef ref = mp3 ? TagLib::FileRef(new TagLib::MPEG::File(name.constData(), false))
                              : TagLib::FileRef(name.constData(), true,
                                                TagLib::AudioProperties::Fast);
    // TagLib takes an empty or random file with an .mp3 or .wav name for one without audio;
    // real audio has a sample rate.
    if (ref.isNull() || !ref.file()->isValid() ||
        (mp3 ? !hasMpegAudio(static_cast<TagLib::MPEG::File *>(ref.file()))
             : !ref.audioProperties() || ref.audioProperties()->sampleRate() <= 0)) {
        problem = kNotAudio;
        return std::nullopt;
    }
    TrackTags tags;
    const TagLib::PropertyMap map = ref.file()->properties();
    const TagLib::Tag *tag = ref.tag();
    tags.artist = property(map, "ARTIST");
    tags.title = property(map, "TITLE");
    QString genre = property(map, "GENRE");
    if (tag) {
        // The merged view also sees a tag the property map left out (an ID3v1 tag behind
        // an ID3v2 one).
        if (tags.artist.isEmpty())
            tags.artist = toQString(tag->artist());
        if (tags.title.isEmpty())
            tags.title = toQString(tag->title());
        if (genre.isEmpty())
            genre = toQString(tag->genre());
        tags.year = int(tag->year());
    }
    tags.genre = genreFromText(genre);
    // An MP3 whose genre is only in its ID3v1 tag: the number itself, as the id3 command
    // shows it, since TagLib names 148..150 differently from the program's table.
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(ref.file())) {
        const bool v2Genre = mpeg->hasID3v2Tag() && !mpeg->ID3v2Tag()->frameList("TCON").isEmpty();
        if (!v2Genre && mpeg->hasID3v1Tag() &&
            mpeg->ID3v1Tag()->genreNumber() < unsigned(kGenreCount))
            tags.genre = int(mpeg->ID3v1Tag()->genreNumber());
    }
    tags.lyrics = property(map, "LYRICS");
    tags.notes = property(map, "COMMENT");
    return tags;
}
