#include "formats/GenreNames.h"

#include <QHash>

#include <iterator>

namespace {

// clang-format off
constexpr const char *kNames[] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "Alternative Rock", "Bass", "Soul",
    "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle",
    "Native US", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi",
    "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock",
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival",
    "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock",
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour",
    "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
    "Power Ballad", "Rhytmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "Acapella",
    "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie",
    "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta", "Heavy Metal",
    "Black Metal", "Crossover", "Contemporary C", "Christian Rock", "Merengue", "Salsa",
    "Thrash Metal", "Anime", "JPop", "SynthPop", "Garage", "Nu Metal", "Big Beat"
};
// clang-format on
static_assert(std::size(kNames) == kGenreCount);

std::optional<int> tagNumber(const QString &digits)
{
    if (digits.isEmpty() || digits.size() > 3)
        return std::nullopt;
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const int n = digits.toInt();
    return n <= 255 ? std::optional<int>(n) : std::nullopt;
}

} // namespace

const QStringList &genreNames()
{
    static const QStringList names = [] {
        QStringList l;
        for (const char *n : kNames)
            l.append(QString::fromLatin1(n));
        return l;
    }();
    return names;
}

QString genreEntry(int n)
{
    if (n < 0 || n >= kGenreCount)
        return {};
    // The three latest additions show their numbers in square brackets.
    const char *format = n < 148 ? "%1 (%2)" : "%1 [%2]";
    return QString::fromLatin1(format).arg(genreNames().at(n)).arg(n);
}

std::optional<int> genreNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.startsWith(u'(')) {
        const qsizetype close = t.indexOf(u')');
        return close > 0 ? tagNumber(t.mid(1, close - 1)) : std::nullopt;
    }
    if (auto n = tagNumber(t))
        return n;
    static const QHash<QString, int> byName = [] {
        QHash<QString, int> h;
        for (int i = 0; i < kGenreCount; ++i)
            h.insert(genreNames().at(i).toCaseFolded(), i);
        return h;
    }();
    const auto it = byName.constFind(t.toCaseFolded());
    return it == byName.constEnd() ? std::nullopt : std::optional<int>(*it);
}
