#include "library/CatalogueReader.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "formats/Catalogue.h"
#include "formats/KeyValueStore.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <vector>
#include <type_traits>

qint32 catalogueCount(const Catalogue &catalogue, const QString &key, qsizetype atMost)
{
    const QString value = catalogue.GetValue(key);
    const double count = Numeric::toDouble(value);
    if (count > double(atMost))
        throw RuntimeError::badFileFormat(
            QStringLiteral("damaged database (%1 = %2)").arg(key, value.left(40)));
    return Numeric::roundToLong(count);
}

QString shownValue(QAnyStringView value)
{
    if (value.isNull())
        return KeyValueStore::kNotFound;
    // No encoding takes fewer bytes than UTF-16 characters: a short value is shown whole.
    if (value.size() <= kLongestShownValue)
        return value.toString();
    // Characters are counted in UTF-16, as a name shown whole would count them; a long UTF-8
    // value is decoded only as far as it is shown.
    qsizetype characters = 0;
    QString shown;
    value.visit([&](auto text) {
        if constexpr (std::is_same_v<decltype(text), QUtf8StringView>) {
            for (const char c : text) {
                const auto b = static_cast<uchar>(c);
                characters += (b & 0xC0) != 0x80; // a sequence's lead or an ASCII character
                characters += b >= 0xF0;          // written as two in UTF-16
            }
            shown = QString::fromUtf8(text.first(qMin(text.size(), 4 * kLongestShownValue)));
        } else {
            characters = text.size();
            shown = text.first(qMin(text.size(), kLongestShownValue)).toString();
        }
    });
    if (characters <= kLongestShownValue)
        return value.toString();
    return shown.first(kLongestShownValue) +
           QStringLiteral(" [cut: %1 more characters]").arg(characters - kLongestShownValue);
}

Wildcard searchPattern(const QString &text)
{
    return Wildcard(u'*' + text.toLower() + u'*');
}

namespace {

// The tracks that match, looked up one by one: each key made case-folded and looked up a few
// keys after its slot was asked for, so that the lookups seldom wait for memory; a few
// buffers serve every key, and the values are read without a copy.
void lookUpEachTrack(const Catalogue &catalogue, const QString &folded, qint32 artists,
                     const std::function<bool(QAnyStringView value)> &matches,
                     const TrackVisit &visit)
{
    // Every track has a key of its own: all the artists' tracks together cannot outnumber
    // the catalogue's keys either.
    qsizetype keysLeft = catalogue.count();
    constexpr qint64 kAhead = 8;
    std::array<QString, kAhead> keys;
    std::array<Catalogue::Probe, kAhead> probes;
    QString decoded;
    for (qint32 a = 1; a <= artists; ++a) {
        const QString artist = QString::number(a);
        const qint32 tracks =
            catalogueCount(catalogue, QStringLiteral("Tracks") + artist, keysLeft);
        keysLeft -= qMax(tracks, 0);
        const qsizetype prefix = artist.size() + folded.size();
        for (qint64 t = 1; t <= tracks + kAhead; ++t) {
            // The buffer of the track whose turn it is serves next the track kAhead later.
            QString &key = keys[t % kAhead];
            if (t > kAhead) {
                QAnyStringView value = catalogue.valueView(probes[t % kAhead], decoded);
                if (value.isNull())
                    value = KeyValueStore::kNotFound;
                if (matches(value) && !visit(artist, QStringView(key).sliced(prefix), value))
                    return;
            }
            if (t <= tracks) {
                key.truncate(0);
                key += artist;
                key += folded;
                char digits[24];
                const char *end = std::to_chars(digits, digits + sizeof digits, t).ptr;
                key += QLatin1String(digits, end - digits);
                probes[t % kAhead] = catalogue.probe(key);
            }
        }
    }
}

} // namespace

void forEachMatchingTrack(const Catalogue &catalogue, QStringView field,
                          const std::function<bool(QAnyStringView value)> &matches,
                          const TrackVisit &visit)
{
    const qint32 artists = catalogueCount(catalogue, QStringLiteral("Artists"), catalogue.count());
    const QString folded = field.toString().toCaseFolded();
    // When a missing value cannot match, only the keys the text holds need reading: in one
    // pass over it, where it can be read that way, with no lookup each.
    // The values stay where they lie in the text, for visit.
    struct Found
    {
        qint32 artist;
        qint32 track;
        QUtf8StringView value;
    };
    std::vector<Found> found;
    const bool read =
        std::all_of(folded.cbegin(), folded.cend(), [](QChar c) { return c.unicode() < 0x80; }) &&
        !matches(KeyValueStore::kNotFound) &&
        catalogue.forEachNumberedPair(
            folded.toLatin1(), [&](qint64 a, qint64 t, QUtf8StringView value) {
                if (a <= artists && t <= std::numeric_limits<qint32>::max() && matches(value))
                    found.push_back({qint32(a), qint32(t), value});
            });
    if (!read) {
        lookUpEachTrack(catalogue, folded, artists, matches, visit);
        return;
    }
    std::sort(found.begin(), found.end(), [](const Found &x, const Found &y) {
        return std::pair(x.artist, x.track) < std::pair(y.artist, y.track);
    });
    qsizetype keysLeft = catalogue.count();
    auto next = found.cbegin();
    for (qint32 a = 1; a <= artists; ++a) {
        const QString artist = QString::number(a);
        const qint32 tracks =
            catalogueCount(catalogue, QStringLiteral("Tracks") + artist, keysLeft);
        keysLeft -= qMax(tracks, 0);
        for (; next != found.cend() && next->artist == a; ++next) {
            if (next->track <= tracks && !visit(artist, QString::number(next->track), next->value))
                return;
        }
    }
}

bool forEachBatchItem(QStringView contents,
                      const std::function<bool(QStringView artist, QStringView track)> &visit)
{
    if (contents.size() < 2)
        throw RuntimeError::invalidProcedureCall();
    const QStringView inner = contents.sliced(1, contents.size() - 2);
    if (inner.isEmpty())
        return true;
    for (qsizetype start = 0; start <= inner.size();) {
        qsizetype end = inner.indexOf(u"}{", start);
        if (end < 0)
            end = inner.size();
        const QStringView item = inner.sliced(start, end - start);
        const qsizetype split = item.indexOf(u'_');
        if (split < 0)
            throw RuntimeError::invalidProcedureCall();
        if (!visit(item.left(split), item.sliced(split + 1)))
            return false;
        start = end + 2;
    }
    return true;
}
