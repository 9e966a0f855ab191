#include "formats/Catalogue.h"

#include "formats/KeyValueStore.h"
#include "formats/StoreLines.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace StoreLines;

namespace {

// Marks a kept line written with escapes; a plain line never holds a backslash.
constexpr char kEscaped = '\\';
// Places are 32 bits, one value kept for a free slot.
constexpr qint64 kMostText = qint64(CatalogueIndex::kNone) - 1;

// Raised while reading when the bytes prove not to be UTF-8.
struct NotUtf8
{
};

std::uint32_t hashOf(QStringView folded)
{
    return static_cast<std::uint32_t>(qHash(folded, QHashSeed::globalSeed()));
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// A line whose key and value are taken as they stand.
bool isPlain(QByteArrayView line)
{
    return line.contains('=') && !line.contains('\\') && !line.contains('\r');
}

// Line 1 must be the header; only a line that begins with its tag is read whole.
bool isHeader(QByteArrayView line)
{
    const QByteArray tag = kHeaderTag.toLatin1();
    const QByteArrayView looked = line.startsWith(tag) ? line : line.first(0);
    return takeHeader(QString::fromUtf8(looked), false);
}

struct Pair
{
    QString key;
    QString value;
};

// The key and value of a kept line.
Pair decodedPair(QByteArrayView kept)
{
    Pair pair;
    if (kept.startsWith(kEscaped)) {
        parsePair(QString::fromUtf8(kept.sliced(1)), 0, pair.key, pair.value);
        return pair;
    }
    const qsizetype equals = kept.indexOf('=');
    pair.key = QString::fromUtf8(kept.first(equals));
    pair.value = QString::fromUtf8(kept.sliced(equals + 1));
    return pair;
}

// The case-folded key of a kept line, as FoldedKey folds it; an ASCII key without an
// allocation.
class KeptKey
{
public:
    explicit KeptKey(QByteArrayView kept)
    {
        const qsizetype equals = kept.startsWith(kEscaped) ? -1 : kept.indexOf('=');
        if (equals >= 0 && isAscii(kept.first(equals))) {
            m_ascii.resize(equals);
            std::transform(kept.begin(), kept.begin() + equals, m_ascii.begin(), [](char c) {
                return (c >= 'A' && c <= 'Z') ? char16_t(c + ('a' - 'A')) : char16_t(c);
            });
            m_view = QStringView(m_ascii.constData(), m_ascii.size());
            return;
        }
        const QString key =
            equals >= 0 ? QString::fromUtf8(kept.first(equals)) : decodedPair(kept).key;
        m_unicode = FoldedKey(key).view().toString();
        m_view = m_unicode;
    }
    QStringView view() const { return m_view; }

private:
    QVarLengthArray<char16_t, 64> m_ascii;
    QString m_unicode;
    QStringView m_view;
};

// Calls onLine(line, lineNo) for each line of the text that holds a pair (neither the header
// nor blank): in UTF-8, without its line end, in order.
template <typename OnLine>
void readLines(const Catalogue::ByteSource &read, bool cp1252, OnLine onLine)
{
    qsizetype lineNo = 0;
    QByteArray converted;
    // Whole lines of bytes at a time: a line feed never stands inside a UTF-8 sequence, so
    // each block is valid UTF-8 exactly when the whole text is.
    const auto readBlock = [&](QByteArrayView bytes) {
        if (cp1252) {
            converted = TextFile::decodeCp1252(bytes).toUtf8();
            bytes = converted;
        } else if (!bytes.isValidUtf8()) {
            throw NotUtf8{};
        }
        // TextFile::decode drops a byte order mark, and the store's reader one more.
        for (int k = 0; !cp1252 && lineNo == 0 && k < 2 && bytes.startsWith("\xEF\xBB\xBF"); ++k)
            bytes = bytes.sliced(3);
        while (!bytes.isEmpty()) {
            // A padded text has millions of empty lines: they are passed over in one go.
            qsizetype at = 0;
            const qsizetype n = bytes.size();
            while (lineNo > 0) {
                if (at < n && bytes[at] == '\n')
                    at += 1;
                else if (at + 1 < n && bytes[at] == '\r' && bytes[at + 1] == '\n')
                    at += 2;
                else
                    break;
                ++lineNo;
            }
            bytes = bytes.sliced(at);
            if (bytes.isEmpty())
                break;
            const qsizetype lf = bytes.indexOf('\n');
            QByteArrayView line = lf < 0 ? bytes : bytes.first(lf);
            bytes = lf < 0 ? QByteArrayView() : bytes.sliced(lf + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            if (++lineNo == 1 && isHeader(line))
                continue;
            if (!isBlank(line))
                onLine(line, lineNo);
        }
    };

    QByteArray partial; // the line not yet ended
    read([&](const QByteArray &piece, qint64) {
        const qsizetype lastLf = piece.lastIndexOf('\n');
        if (lastLf < 0) {
            partial += piece;
            return;
        }
        partial += QByteArrayView(piece).first(lastLf + 1);
        readBlock(partial);
        partial = piece.sliced(lastLf + 1);
    });
    if (!partial.isEmpty())
        readBlock(partial);
    if (lineNo == 0)
        isHeader(QByteArrayView()); // an empty text lacks it
}

// What a checked text will take to keep.
struct Extent
{
    qint64 pairs = 0;
    qint64 bytes = 0;
};

Extent checked(const Catalogue::ByteSource &read, bool cp1252)
{
    Extent extent;
    QString key;
    QString value;
    readLines(read, cp1252, [&](QByteArrayView line, qsizetype lineNo) {
        if (!isPlain(line)) {
            parsePair(QString::fromUtf8(line), lineNo, key, value);
            extent.bytes += 1;
        }
        ++extent.pairs;
        extent.bytes += line.size() + 1;
        if (extent.bytes > kMostText)
            throw RuntimeError::outOfMemory();
    });
    return extent;
}

} // namespace

void Catalogue::LoadPieces(const ByteSource &read)
{
    bool cp1252 = false;
    Extent extent;
    try {
        extent = checked(read, false);
    } catch (const NotUtf8 &) {
        cp1252 = true;
        extent = checked(read, true);
    }
    // The text is sound: the old catalogue goes before the new one is kept.
    *this = Catalogue();
    try {
        m_text.reserve(extent.bytes);
        m_index.reserve(std::size_t(extent.pairs), std::uint32_t(extent.bytes),
                        [this](std::uint32_t p) { return hashAt(p); });
        load(read, cp1252);
    } catch (const NotUtf8 &) {
        *this = Catalogue();
        throw RuntimeError::badFileFormat(QStringLiteral("the file changed while it was read"));
    } catch (...) {
        *this = Catalogue();
        throw;
    }
}

void Catalogue::load(const ByteSource &read, bool cp1252)
{
    readLines(read, cp1252,
              [this](QByteArrayView line, qsizetype lineNo) { index(keep(line, lineNo)); });
}

std::uint32_t Catalogue::keep(QByteArrayView line, qsizetype lineNo)
{
    const qint64 place = m_text.size();
    if (place + line.size() + 2 > kMostText)
        throw RuntimeError::outOfMemory();
    if (!isPlain(line)) {
        QString key;
        QString value;
        parsePair(QString::fromUtf8(line), lineNo, key, value);
        m_text.append(kEscaped);
        m_plainKeysOnly = false;
    } else if (m_plainKeysOnly) {
        m_plainKeysOnly = isAscii(line.first(line.indexOf('=')));
    }
    // Copied in one go: QByteArray::append checks for overlap and growth each time.
    const qsizetype at = m_text.size();
    m_text.resize(at + line.size() + 1);
    std::memcpy(m_text.data() + at, line.data(), size_t(line.size()));
    m_text[at + line.size()] = '\n';
    return std::uint32_t(place);
}

void Catalogue::index(std::uint32_t place)
{
    // A later line of the same key replaces the earlier, spelling and value.
    const KeptKey key(lineAt(place));
    const std::uint32_t earlier = m_index.put(
        hashOf(key.view()), place, [&](std::uint32_t p) { return isKey(p, key.view()); },
        [this](std::uint32_t p) { return hashAt(p); });
    m_noneReplaced = m_noneReplaced && earlier == CatalogueIndex::kNone;
}

QByteArrayView Catalogue::lineAt(std::uint32_t place) const
{
    const char *begin = m_text.constData() + place;
    const auto *lf = static_cast<const char *>(std::memchr(begin, '\n', m_text.size() - place));
    return QByteArrayView(begin, lf - begin);
}

bool Catalogue::isKey(std::uint32_t place, QStringView folded) const
{
    const char *at = m_text.constData() + place;
    if (*at != kEscaped) {
        // An ASCII key folds character by character: compared where it stands.
        const qsizetype n = folded.size();
        for (qsizetype i = 0;; ++i, ++at) {
            const auto c = static_cast<uchar>(*at);
            if (c == '=')
                return i == n;
            if (c >= 0x80)
                break;
            if (i == n || char16_t((c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c) != folded[i])
                return false;
        }
    }
    return KeptKey(lineAt(place)).view() == folded;
}

std::uint32_t Catalogue::hashAt(std::uint32_t place) const
{
    return hashOf(KeptKey(lineAt(place)).view());
}

QAnyStringView Catalogue::valueAt(std::uint32_t place, QString &decoded) const
{
    const QByteArrayView line = lineAt(place);
    if (line.startsWith(kEscaped)) {
        decoded = decodedPair(line).value;
        return decoded.isEmpty() ? QAnyStringView(QStringView(u"")) : QAnyStringView(decoded);
    }
    const QByteArrayView value = line.sliced(line.indexOf('=') + 1);
    return QUtf8StringView(value.data(), value.size());
}

QString Catalogue::GetValue(QStringView key) const
{
    QString decoded;
    const QAnyStringView value = valueView(key, decoded);
    return value.isNull() ? KeyValueStore::kNotFound : value.toString();
}

QAnyStringView Catalogue::valueView(QStringView key, QString &decoded) const
{
    const FoldedKey folded(key);
    return valueView(Probe{folded.view(), hashOf(folded.view())}, decoded);
}

Catalogue::Probe Catalogue::probe(QStringView folded) const
{
    const Probe probe{folded, hashOf(folded)};
    if (const std::uint32_t *slot = m_index.homeOf(probe.hash))
        __builtin_prefetch(slot);
    return probe;
}

QAnyStringView Catalogue::valueView(const Probe &probe, QString &decoded) const
{
    const std::uint32_t place =
        m_index.find(probe.hash, [&](std::uint32_t p) { return isKey(p, probe.folded); });
    return place == CatalogueIndex::kNone ? QAnyStringView() : valueAt(place, decoded);
}

void Catalogue::SetValue(const QString &key, const QString &value)
{
    const FoldedKey folded(key);
    const std::uint32_t earlier = m_index.find(
        hashOf(folded.view()), [&](std::uint32_t p) { return isKey(p, folded.view()); });
    // The key keeps the spelling it was first written with.
    const QString spelled =
        earlier == CatalogueIndex::kNone ? key : decodedPair(lineAt(earlier)).key;
    QString line;
    appendEscaped(line, spelled, true);
    line += u'=';
    appendEscaped(line, value, false);
    index(keep(line.toUtf8(), 0));
}

bool Catalogue::forEachNumberedPair(
    QByteArrayView field,
    const std::function<void(qint64 first, qint64 second, QUtf8StringView value)> &visit) const
{
    if (!m_plainKeysOnly || !m_noneReplaced)
        return false;
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c; };
    // A number as QString::number writes one from 1 up: -1 for anything else.
    const auto number = [](const char *&at, const char *end) {
        const char *start = at;
        qint64 n = 0;
        while (at < end && *at >= '0' && *at <= '9' && at - start < 12)
            n = n * 10 + (*at++ - '0');
        return (at == start || *start == '0' || at - start > 10) ? -1 : n;
    };
    const char *line = m_text.constData();
    const char *const textEnd = line + m_text.size();
    while (line < textEnd) {
        const auto *lf = static_cast<const char *>(std::memchr(line, '\n', textEnd - line));
        const char *at = line;
        const qint64 first = number(at, lf);
        if (first > 0 && lf - at > field.size() &&
            std::equal(field.begin(), field.end(), at,
                       [&](char f, char c) {
            return lower(f) == lower(c); })) {
            at += field.size();
            const qint64 second = number(at, lf);
            if (second > 0 && at < lf && *at == '=')
                visit(first, second, QUtf8StringView(at + 1, lf - at - 1));
        }
        line = lf + 1;
    }
    return true;
}

QString Catalogue::ListAll() const
{
    // Sorted by the case-folded keys, gathered in one buffer.
    struct Listed
    {
        std::size_t at;
        qsizetype size;
        std::uint32_t place;
    };
    std::vector<char16_t> folded;
    std::vector<Listed> listed;
    listed.reserve(m_index.size());
    m_index.forEach([&](std::uint32_t place) {
        const KeptKey key(lineAt(place));
        listed.push_back({folded.size(), key.view().size(), place});
        folded.insert(folded.end(), key.view().utf16(), key.view().utf16() + key.view().size());
    });
    const auto foldedOf = [&](const Listed &l) {
        return QStringView(folded.data() + l.at, l.size);
    };
    std::sort(listed.begin(), listed.end(),
              [&](const Listed &a, const Listed &b) { return foldedOf(a) < foldedOf(b); });
    QString text;
    for (const Listed &l : listed) {
        const Pair pair = decodedPair(lineAt(l.place));
        appendShown(text, pair.key);
        text += u" = ";
        appendShown(text, pair.value);
        text += u"\r\n";
    }
    return text;
}
