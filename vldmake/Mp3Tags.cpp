#include "Mp3Tags.h"

#include "Id3v2Tag.h"

#include "formats/GenreNames.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <algorithm>
#include <optional>

namespace Mp3Tags {

namespace {

using Id3::Text;

// Most files are read whole with this first read: the tag, the audio's first frames and, for
// short ones, the ID3v1 tag too.
constexpr qint64 kHeadSize = 64 * 1024;
// Below this TagLib decides: its end-of-file readings of a file shorter than a tag differ.
constexpr qint64 kSmallest = 256;
// Files that are ID3v2 headers one after another: TagLib takes them as one tag.
constexpr int kMaxRepeatedTags = 1000;

// The file's bytes: the first ones kept, the others read where asked.
class Bytes
{
public:
    explicit Bytes(const TextFile::RegularFile &file) : m_file(file)
    {
        m_file.read(0, kHeadSize, m_head);
    }
    qint64 size() const { return m_file.size(); }

    // Up to count bytes from offset; valid until the next call.
    QByteArrayView at(qint64 offset, qint64 count)
    {
        if (offset >= 0 && offset + count <= m_head.size())
            return QByteArrayView(m_head).sliced(offset, count);
        if (offset >= 0 && offset < m_head.size() && m_head.size() == size())
            return QByteArrayView(m_head).sliced(offset);
        m_file.read(offset, count, m_other);
        return m_other;
    }

private:
    const TextFile::RegularFile &m_file;
    QByteArray m_head;
    QByteArray m_other;
};

bool frameSync(unsigned char first, unsigned char second)
{
    return first == 0xff && second != 0xff && (second & 0xe0) == 0xe0;
}

// The length of the MPEG audio frame whose header this is, or 0 when it is none; TagLib's
// reading of the header, its frame length formula included.
int frameLength(QByteArrayView header)
{
    if (header.size() < 4)
        return 0;
    const auto b = [&](int i) { return static_cast<unsigned char>(header[i]); };
    if (!frameSync(b(0), b(1)))
        return 0;
    static const int versions[4] = {2, -1, 1, 0}; // 2.5, reserved, 2, 1
    static const int layers[4] = {0, 3, 2, 1};
    const int version = versions[(b(1) >> 3) & 3];
    const int layer = layers[(b(1) >> 1) & 3];
    if (version < 0 || layer == 0)
        return 0;
    static const int bitrates[2][3][16] = {
        {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
         {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
         {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
        {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
    static const int sampleRates[3][4] = {
        {44100, 48000, 32000, 0}, {22050, 24000, 16000, 0}, {11025, 12000, 8000, 0}};
    static const int samplesPerFrame[3][2] = {{384, 384}, {1152, 1152}, {1152, 576}};
    static const int padding[3] = {4, 1, 1};
    const int versionIndex = version == 0 ? 0 : 1;
    const int bitrate = bitrates[versionIndex][layer - 1][b(2) >> 4];
    const int sampleRate = sampleRates[version][(b(2) >> 2) & 3];
    if (bitrate == 0 || sampleRate == 0)
        return 0;
    return samplesPerFrame[layer - 1][versionIndex] * bitrate * 125 / sampleRate +
           ((b(2) & 0x02) ? padding[layer - 1] : 0);
}

quint32 bigEndian32(QByteArrayView b)
{
    quint32 n = 0;
    for (int i = 0; i < 4; ++i)
        n = n << 8 | static_cast<unsigned char>(b[i]);
    return n;
}

// A frame header at offset whose next frame starts where its length says, with the same
// version, layer and sample rate: what TagLib takes for audio.
bool audioFrameAt(Bytes &bytes, qint64 offset)
{
    const QByteArray header = bytes.at(offset, 4).toByteArray();
    const int length = frameLength(header);
    if (length == 0)
        return false;
    const QByteArrayView next = bytes.at(offset + length, 4);
    constexpr quint32 kSameStream = 0xfffe0c00;
    return next.size() == 4 &&
           (bigEndian32(header) & kSameStream) == (bigEndian32(next) & kSameStream);
}

enum class Found { Nothing, Audio, Tag };

// The first audio frame from start on, or (when tags are looked for too) an ID3v2 tag
// before it, as TagLib looks for them byte by byte; at within kMaxSearch bytes.
Found search(Bytes &bytes, qint64 start, bool tags, qint64 &at)
{
    const qint64 end = std::min(bytes.size(), start + kMaxSearch);
    unsigned char previous[2] = {0, 0};
    for (qint64 chunk = start; chunk < end; chunk += kHeadSize) {
        const QByteArray data = bytes.at(chunk, std::min(kHeadSize, end - chunk)).toByteArray();
        if (data.isEmpty())
            break;
        for (qsizetype i = 0; i < data.size(); ++i) {
            const auto c = static_cast<unsigned char>(data[i]);
            if (frameSync(previous[1], c) && audioFrameAt(bytes, chunk + i - 1)) {
                at = chunk + i - 1;
                return Found::Audio;
            }
            if (tags && previous[0] == 'I' && previous[1] == 'D' && c == '3') {
                at = chunk + i - 2;
                return Found::Tag;
            }
            previous[0] = previous[1];
            previous[1] = c;
        }
    }
    return Found::Nothing;
}

// ID3v1: fixed fields of ISO-8859-1 text, trimmed of blanks the way TagLib trims them.
struct Id3v1
{
    Text title, artist, album, year, comment;
    int track = 0;
    int genre = 255;

    static Text field(QByteArrayView bytes)
    {
        const Text text = Id3::decode(bytes, 0);
        const wchar_t *blanks = L"\t\n\f\r ";
        const size_t first = text.find_first_not_of(blanks);
        if (first == Text::npos)
            return {};
        return text.substr(first, text.find_last_not_of(blanks) - first + 1);
    }

    explicit Id3v1(QByteArrayView tag)
    {
        title = field(tag.sliced(3, 30));
        artist = field(tag.sliced(33, 30));
        album = field(tag.sliced(63, 30));
        year = field(tag.sliced(93, 4));
        // Version 1.1 keeps a track number in the comment's last two bytes.
        if (tag[125] == 0 && tag[126] != 0) {
            comment = field(tag.sliced(97, 28));
            track = static_cast<unsigned char>(tag[126]);
        } else {
            comment = Id3::decode(tag.sliced(97, 30), 0);
        }
        genre = static_cast<unsigned char>(tag[127]);
    }

    int yearNumber() const { return Id3::toInt(year); }
    bool isEmpty() const
    {
        return title.empty() && artist.empty() && album.empty() && comment.empty() &&
               Id3::genreName(genre).empty() && yearNumber() == 0 && track == 0;
    }
};

bool apeTagAt(QByteArrayView bytes)
{
    return bytes.startsWith("APETAGEX");
}

// The catalogue's fields from both tags, as TagLib's merged view gives them: the property
// map of the ID3v2 tag, or of the ID3v1 tag when the other has no frames; fields left empty
// there from whichever tag has them.
void combine(const Id3::Tag &v2, bool hasV2, const std::optional<Id3v1> &v1, TrackTags &tags)
{
    Id3::Property v1Properties[Id3::kKeys];
    const Id3::Property *properties = v2.properties;
    if (v2.frames == 0) {
        properties = v1Properties;
        if (v1 && !v1->isEmpty()) {
            const auto set = [&](Id3::Key key, const Text &value) {
                if (!value.empty())
                    v1Properties[key].values.push_back(value);
            };
            set(Id3::Artist, v1->artist);
            set(Id3::Title, v1->title);
            set(Id3::Genre, Id3::genreName(v1->genre));
            set(Id3::Comment, v1->comment);
        }
    }
    const auto either = [&](const Text &fromV2, const Text &fromV1) {
        return Id3::toQString(fromV2.empty() ? fromV1 : fromV2);
    };
    tags.artist = properties[Id3::Artist].text();
    if (tags.artist.isEmpty())
        tags.artist = either(Id3::join(v2.artist), v1 ? v1->artist : Text());
    tags.title = properties[Id3::Title].text();
    if (tags.title.isEmpty())
        tags.title = either(Id3::join(v2.title), v1 ? v1->title : Text());
    QString genre = properties[Id3::Genre].text();
    if (genre.isEmpty())
        genre = either(v2.genreText(), v1 ? Id3::genreName(v1->genre) : Text());
    const int year = v2.hasDate ? Id3::toInt(Id3::join(v2.date).substr(0, 4)) : 0;
    tags.year = year != 0 ? year : v1 ? v1->yearNumber() : 0;
    tags.genre = genreFromText(genre);
    // An ID3v1 genre number is kept as the number (see TrackTags.cpp).
    if (!(hasV2 && v2.hasGenre) && v1 && v1->genre < kGenreCount)
        tags.genre = v1->genre;
    tags.lyrics = properties[Id3::Lyrics].text();
    tags.notes = properties[Id3::Comment].text();
}

} // namespace

Outcome read(const QString &path, TrackTags &tags)
{
    std::optional<TextFile::RegularFile> file;
    try {
        file.emplace(path);
    } catch (const RuntimeError &) {
        return Outcome::Undecided;
    }
    Bytes bytes(*file);
    const qint64 size = bytes.size();
    if (size < kSmallest)
        return Outcome::Undecided;

    // The ID3v2 tag: at the start, or (TagLib looks that far) anywhere before the first
    // audio frame.
    qint64 tagAt = -1;
    if (bytes.at(0, 3) == "ID3") {
        tagAt = 0;
    } else if (!audioFrameAt(bytes, 0)) {
        qint64 found = 0;
        if (search(bytes, 0, true, found) == Found::Tag)
            tagAt = found;
    }
    Id3::Tag v2;
    qint64 audioStart = 0;
    if (tagAt >= 0) {
        Id3::Header header = Id3::Header::parse(bytes.at(tagAt, 10));
        if (header.size != 0) {
            const qint64 stored = std::min<qint64>(header.size, size - tagAt - 10);
            if (stored > TextFile::kMaxReadSize)
                return Outcome::NotAudio;
            v2 = Id3::Tag::parse(header, bytes.at(tagAt + 10, header.size));
            if (v2.unsupported)
                return Outcome::Undecided;
        }
        // Tags repeated right after it count as part of it.
        quint32 extra = 0;
        for (int repeats = 0;; ++repeats) {
            const QByteArrayView next = bytes.at(tagAt + header.completeSize() + extra, 10);
            if (next.size() < 10 || !next.startsWith("ID3"))
                break;
            if (repeats == kMaxRepeatedTags)
                return Outcome::NotAudio;
            extra += Id3::Header::parse(next).completeSize();
        }
        header.size += extra;
        audioStart = tagAt + header.completeSize();
    }

    // The ID3v1 tag in the last 128 bytes, unless those end an APE tag; an APE tag before it
    // is left to TagLib.
    const QByteArray tail = bytes.at(size - 160, 160).toByteArray();
    if (tail.size() != 160 || apeTagAt(QByteArrayView(tail).sliced(29)))
        return Outcome::Undecided;
    std::optional<Id3v1> v1;
    if (QByteArrayView(tail).sliced(32, 3) == "TAG")
        v1.emplace(QByteArrayView(tail).sliced(32));
    if (apeTagAt(QByteArrayView(tail).sliced(v1 ? 0 : 128)))
        return Outcome::Undecided;

    qint64 audio = 0;
    if (search(bytes, audioStart, false, audio) != Found::Audio)
        return Outcome::NotAudio;
    combine(v2, tagAt >= 0, v1, tags);
    return Outcome::Read;
}

} // namespace Mp3Tags
