#include "Id3v2Tag.h"

#include <QStringList>

#include <taglib/id3v1genres.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwchar>
#include <utility>

namespace Id3 {

namespace {

using Bytes = QByteArrayView;

unsigned char byteAt(Bytes b, qsizetype i)
{
    return static_cast<unsigned char>(b[i]);
}

// Like a byte vector's mid(): empty past the end, short at it.
Bytes mid(Bytes b, quint32 from, quint32 count = UINT32_MAX)
{
    if (from > quint32(b.size()))
        return {};
    return b.sliced(from, std::min<qint64>(count, b.size() - qint64(from)));
}

// The first bytes as a big-endian number; fewer than wanted count as the whole number.
quint32 bigEndian(Bytes b, int width)
{
    quint32 n = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(width, b.size()); ++i)
        n = n << 8 | byteAt(b, i);
    return n;
}

// A synchsafe number (seven bits a byte), or, when a byte has its top bit set, the plain
// big-endian number that buggy taggers write instead.
quint32 synchsafe(Bytes b)
{
    const int last = b.size() > 4 ? 3 : int(b.size()) - 1;
    quint32 sum = 0;
    for (int i = 0; i <= last; ++i) {
        if (byteAt(b, i) & 0x80) {
            quint32 plain = 0;
            for (int j = 0; j < 4; ++j)
                plain = plain << 8 | (j < b.size() ? byteAt(b, j) : 0);
            return plain;
        }
        sum |= quint32(byteAt(b, i) & 0x7f) << ((last - i) * 7);
    }
    return sum;
}

// The unsynchronisation scheme undone: a zero byte after each 0xFF dropped.
QByteArray resynchronised(Bytes b)
{
    QByteArray out;
    out.reserve(b.size());
    qsizetype i = 0;
    while (i + 1 < b.size()) {
        out.append(b[i]);
        ++i;
        if (byteAt(b, i - 1) == 0xff && b[i] == 0)
            ++i;
    }
    if (i < b.size())
        out.append(b[i]);
    return out;
}

// The parts between the NULs (two-byte NULs at even offsets in UTF-16); at most max parts
// when max is given, the last holding the rest.
std::vector<Bytes> split(Bytes b, int align, int max = 0)
{
    const auto find = [&](qsizetype from) -> qsizetype {
        for (qsizetype i = from; i + align <= b.size(); i += align)
            if (b[i] == 0 && (align == 1 || b[i + 1] == 0))
                return i;
        return -1;
    };
    std::vector<Bytes> parts;
    qsizetype previous = 0;
    for (qsizetype at = find(0); at != -1 && (max == 0 || max > qsizetype(parts.size()) + 1);
         at = find(at + align)) {
        parts.push_back(b.sliced(previous, at - previous));
        previous = at + align;
    }
    if (previous < b.size())
        parts.push_back(b.sliced(previous));
    return parts;
}

// UTF-8 to UTF-16 code units; nothing at all for bytes that are not strictly UTF-8.
Text fromUtf8(Bytes b)
{
    Text out;
    out.reserve(size_t(b.size()));
    for (qsizetype i = 0; i < b.size();) {
        const unsigned char lead = byteAt(b, i);
        int length = 0;
        char32_t c = 0;
        if (lead < 0x80)
            length = 1, c = lead;
        else if ((lead >> 5) == 0x6)
            length = 2, c = lead & 0x1f;
        else if ((lead >> 4) == 0xe)
            length = 3, c = lead & 0x0f;
        else if ((lead >> 3) == 0x1e)
            length = 4, c = lead & 0x07;
        else
            return {};
        if (i + length > b.size())
            return {};
        for (int k = 1; k < length; ++k) {
            const unsigned char next = byteAt(b, i + k);
            if ((next & 0xc0) != 0x80)
                return {};
            c = c << 6 | (next & 0x3f);
        }
        const bool overlong =
            (length == 2 && c < 0x80) || (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
        if (overlong || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
            return {};
        if (c >= 0x10000) {
            out.push_back(wchar_t(0xd800 + ((c - 0x10000) >> 10)));
            out.push_back(wchar_t(0xdc00 + ((c - 0x10000) & 0x3ff)));
        } else {
            out.push_back(wchar_t(c));
        }
        i += length;
    }
    return out;
}

Text fromUtf16(Bytes b, bool bigEndian)
{
    Text out(size_t(b.size() / 2), L'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        const unsigned a = byteAt(b, qsizetype(2 * i)), c = byteAt(b, qsizetype(2 * i + 1));
        out[i] = wchar_t(bigEndian ? a << 8 | c : c << 8 | a);
    }
    return out;
}

Text upper(Text text)
{
    for (wchar_t &c : text)
        if (c >= L'a' && c <= L'z')
            c = wchar_t(c - L'a' + L'A');
    return text;
}

bool startsWith(const Text &text, const wchar_t *prefix)
{
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// Frames of version 2.2 and frames of 2.3 that carry their 2.2 name, under their 2.4 names
// (only those the catalogue reads).
const wchar_t *renamed22(Bytes id)
{
    static const struct
    {
        const char *from;
        const wchar_t *to;
    } names[] = {{"TP1", L"TPE1"}, {"TT2", L"TIT2"}, {"TCO", L"TCON"}, {"TYE", L"TDRC"},
                 {"TRD", L"TDRC"}, {"COM", L"COMM"}, {"ULT", L"USLT"}, {"TXX", L"TXXX"}};
    for (const auto &name : names)
        if (id == name.from)
            return name.to;
    return nullptr;
}

bool validId(Bytes id)
{
    if (id.size() != 4)
        return false;
    for (char c : id)
        if ((c < 'A' || c > 'Z') && (c < '1' || c > '9'))
            return false;
    return true;
}

int alignOf(int encoding)
{
    return encoding == 0 || encoding == 3 ? 1 : 2;
}

// The text encoding a frame's body starts with; -1, and unsupported, for one TagLib reads
// in its own way.
int encodingOf(Bytes body, bool &unsupported)
{
    const int encoding = static_cast<signed char>(body[0]);
    if (encoding >= 0 && encoding <= 4)
        return encoding;
    unsupported = true;
    return -1;
}

// A text frame's fields: split at the NULs, empty ones dropped (but a TXXX's description),
// UTF-16 fields without a byte order mark read in the first field's order.
TextList textFields(Bytes body, bool userText, bool &unsupported)
{
    TextList fields;
    if (body.size() < 2)
        return fields;
    const int encoding = encodingOf(body, unsupported);
    if (encoding < 0)
        return fields;
    const int align = alignOf(encoding);
    qsizetype length = body.size() - 1;
    while (length > 0 && body[length] == 0)
        --length;
    while (length % align != 0)
        ++length;
    const std::vector<Bytes> parts = split(mid(body, 1, quint32(length)), align);
    quint32 firstBom = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].isEmpty() && !(i == 0 && userText))
            continue;
        int type = encoding;
        if (encoding == 1) {
            const quint32 bom = bigEndian(parts[i], 2);
            if (i == 0)
                firstBom = bom;
            else if (bom != 0xfeff && bom != 0xfffe)
                type = firstBom == 0xfeff ? 2 : firstBom == 0xfffe ? 4 : 1;
        }
        fields.push_back(decode(parts[i], type));
    }
    return fields;
}

// The description and text of a comment or lyrics frame.
bool describedText(Bytes body, Text &description, Text &text, bool &unsupported)
{
    if (body.size() < 5)
        return true;
    const int encoding = encodingOf(body, unsupported);
    if (encoding < 0)
        return false;
    const std::vector<Bytes> parts = split(mid(body, 4), alignOf(encoding), 2);
    if (parts.size() == 2) {
        description = decode(parts[0], encoding);
        text = decode(parts[1], encoding);
    }
    return true;
}

// "(17)Rock" and "(17)" forms of version 2.3 as separate fields; a number whose name follows
// it is dropped.
TextList splitGenres(const TextList &fields)
{
    TextList out;
    for (Text s : fields) {
        size_t end = 0;
        while (!s.empty() && s[0] == L'(' && (end = s.find(L')', 1)) != Text::npos) {
            const Text code = s.substr(1, end - 1);
            s = s.substr(end + 1);
            bool ok = false;
            const int number = toInt(code, &ok);
            if ((ok && number >= 0 && number <= 255 && genreName(number) != s) || code == L"RX" ||
                code == L"CR")
                out.push_back(code);
        }
        if (!s.empty())
            out.push_back(s);
    }
    return out;
}

void addProperty(Property &property, const Text &key, const Text &base, const TextList &values)
{
    if (key == base)
        property.values.insert(property.values.end(), values.begin(), values.end());
    else if (key.size() > base.size() && startsWith(key, base.c_str()) && key[base.size()] == L':')
        property.described[key].insert(property.described[key].end(), values.begin(), values.end());
}

const wchar_t *const kKeyNames[kKeys] = {L"ARTIST", L"TITLE", L"GENRE", L"LYRICS", L"COMMENT"};

// One frame of those the catalogue reads, its body as its parser sees it.
void readFrame(Tag &tag, const Text &id, Bytes body)
{
    if (id == L"COMM" || id == L"USLT") {
        Text description, text;
        if (!describedText(body, description, text, tag.unsupported))
            return;
        const Key key = id == L"COMM" ? Comment : Lyrics;
        const Text name = upper(description);
        Property &property = tag.properties[key];
        if (name.empty() || name == kKeyNames[key])
            property.values.push_back(text);
        else
            property.described[kKeyNames[key] + (L':' + name)].push_back(text);
        return;
    }
    TextList fields = textFields(body, id == L"TXXX", tag.unsupported);
    if (id == L"TXXX") {
        // A user text under a catalogue key counts as that key.
        const Text description = fields.empty() ? Text() : fields.front();
        TextList values(fields.size() > 1 ? fields.begin() + 1 : fields.end(), fields.end());
        if (values.empty())
            values.emplace_back();
        const Text key = upper(description);
        for (int k = 0; k < kKeys; ++k)
            addProperty(tag.properties[k], key, kKeyNames[k], values);
        return;
    }
    if (id == L"TCON") {
        fields = splitGenres(fields);
        if (!std::exchange(tag.hasGenre, true))
            tag.genre = fields;
        for (Text &field : fields) {
            bool ok = false;
            const int n = toInt(field, &ok);
            if (ok)
                field = genreName(n);
        }
        addProperty(tag.properties[Genre], L"GENRE", L"GENRE", fields);
    } else if (id == L"TPE1") {
        if (!std::exchange(tag.hasArtist, true))
            tag.artist = fields;
        addProperty(tag.properties[Artist], L"ARTIST", L"ARTIST", fields);
    } else if (id == L"TIT2") {
        if (!std::exchange(tag.hasTitle, true))
            tag.title = fields;
        addProperty(tag.properties[Title], L"TITLE", L"TITLE", fields);
    } else if (id == L"TDRC" && !std::exchange(tag.hasDate, true)) {
        tag.date = fields;
    }
}

bool readByCatalogue(const Text &id)
{
    return id == L"TPE1" || id == L"TIT2" || id == L"TCON" || id == L"TDRC" || id == L"TXXX" ||
           id == L"COMM" || id == L"USLT";
}

// The frame at the start of data (the rest of the tag); its size, or 0 where the frames end.
quint32 parseFrame(Tag &tag, const Header &header, Bytes data)
{
    const int version = header.version;
    const quint32 headerSize = version < 3 ? 6 : 10;
    if (quint32(data.size()) < headerSize)
        return 0;
    Bytes id = data.first(version < 3 ? 3 : 4);
    quint32 size = 0;
    bool compressed = false, encrypted = false, unsynchronised = false, lengthGiven = false;
    if (version < 3) {
        size = bigEndian(data.sliced(3), 3);
    } else if (version == 3) {
        size = bigEndian(data.sliced(4), 4);
        compressed = byteAt(data, 9) & 0x80;
        encrypted = byteAt(data, 9) & 0x40;
    } else {
        size = synchsafe(data.sliced(4, 4));
        // Version 2.4 tags with 2.3 sizes (iTunes): the plain size, where only it leads to
        // another frame.
        if (size > 127 && !validId(mid(data, size + 10, 4))) {
            const quint32 plain = bigEndian(data.sliced(4), 4);
            if (validId(mid(data, plain + 10, 4)))
                size = plain;
        }
        compressed = byteAt(data, 9) & 0x08;
        encrypted = byteAt(data, 9) & 0x04;
        unsynchronised = byteAt(data, 9) & 0x02;
        lengthGiven = byteAt(data, 9) & 0x01;
    }
    if (size <= (lengthGiven ? 4u : 0u) || size > quint32(data.size()))
        return 0;
    Text name;
    const wchar_t *renamed = nullptr;
    if (version == 3 && id[3] == '\0') {
        id = id.first(3);
        renamed = renamed22(id);
    } else if (version == 2) {
        renamed = renamed22(id);
    }
    for (char c : id)
        if ((c < 'A' || c > 'Z') && (c < '0' || c > '9'))
            return 0;
    if (renamed) {
        name = renamed;
    } else {
        for (char c : id)
            name.push_back(wchar_t(c));
        if (version == 3 && name == L"TYER")
            name = L"TDRC";
        else if (version == 4 && name == L"TRDC")
            name = L"TDRC";
    }
    ++tag.frames;
    if (!readByCatalogue(name))
        return size;
    if (compressed || encrypted) {
        tag.unsupported = true;
        return size;
    }
    QByteArray rebuilt;
    Bytes frame = data;
    if (version == 4 && (header.unsynchronised || unsynchronised)) {
        rebuilt =
            data.first(headerSize).toByteArray() + resynchronised(mid(data, headerSize, size));
        frame = rebuilt;
    }
    quint32 offset = headerSize, length = size;
    if (lengthGiven) {
        length = synchsafe(mid(frame, headerSize, 4));
        offset += 4;
    }
    readFrame(tag, name, mid(frame, offset, length));
    return size;
}

} // namespace

Text decode(QByteArrayView bytes, int encoding)
{
    Text text;
    if (bytes.isEmpty())
        return text;
    switch (encoding) {
    case 0:
        text.resize(size_t(bytes.size()));
        for (qsizetype i = 0; i < bytes.size(); ++i)
            text[size_t(i)] = wchar_t(byteAt(bytes, i));
        break;
    case 3:
        text = fromUtf8(bytes);
        break;
    case 1: {
        if (bytes.size() < 2)
            return text;
        const quint32 bom = byteAt(bytes, 0) | byteAt(bytes, 1) << 8;
        if (bom != 0xfeff && bom != 0xfffe)
            return text;
        text = fromUtf16(bytes.sliced(2), bom == 0xfffe);
        break;
    }
    default:
        text = fromUtf16(bytes, encoding == 2);
    }
    text.resize(std::wcslen(text.c_str()));
    return text;
}

int toInt(const Text &text, bool *ok)
{
    const wchar_t *begin = text.c_str();
    wchar_t *end = nullptr;
    errno = 0;
    const long value = std::wcstol(begin, &end, 10);
    if (ok)
        *ok = errno == 0 && end > begin && *end == L'\0' && value > INT_MIN && value < INT_MAX;
    return static_cast<int>(value);
}

QString toQString(const Text &text)
{
    QString out(qsizetype(text.size()), Qt::Uninitialized);
    // The text went through UTF-8, and a byte order mark at its start was dropped there.
    const size_t start = !text.empty() && text[0] == 0xfeff ? 1 : 0;
    for (size_t i = start; i < text.size(); ++i) {
        const wchar_t c = text[i];
        // TagLib gives up on the whole text at a surrogate out of its pair.
        if (c >= 0xd800 && c <= 0xdbff) {
            if (i + 1 == text.size() || text[i + 1] < 0xdc00 || text[i + 1] > 0xdfff)
                return {};
            out[qsizetype(i - start)] = QChar(char16_t(c));
            out[qsizetype(i + 1 - start)] = QChar(char16_t(text[i + 1]));
            ++i;
            continue;
        }
        if (c >= 0xdc00 && c <= 0xdfff)
            return {};
        out[qsizetype(i - start)] = QChar(char16_t(c));
    }
    out.truncate(qsizetype(text.size() - start));
    return out.trimmed();
}

Text join(const TextList &list)
{
    Text out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += L' ';
        out += list[i];
    }
    return out;
}

Text genreName(int n)
{
    return TagLib::ID3v1::genre(n).toWString();
}

QString Property::text() const
{
    if (!values.empty())
        return toQString(values.front());
    QStringList joined;
    for (const auto &[key, list] : described)
        for (const Text &value : list)
            joined.append(toQString(value));
    return joined.join(QStringLiteral("\n\n"));
}

Header Header::parse(QByteArrayView bytes)
{
    Header header;
    if (bytes.size() < 10)
        return header;
    for (int i = 6; i < 10; ++i)
        if (byteAt(bytes, i) >= 0x80)
            return header;
    header.version = byteAt(bytes, 3);
    header.unsynchronised = byteAt(bytes, 5) & 0x80;
    header.extended = byteAt(bytes, 5) & 0x40;
    header.footer = byteAt(bytes, 5) & 0x10;
    header.size = synchsafe(bytes.sliced(6, 4));
    return header;
}

Tag Tag::parse(const Header &header, QByteArrayView bytes)
{
    Tag tag;
    if (header.version < 2 || header.version > 4) {
        tag.unsupported = true;
        return tag;
    }
    QByteArray decoded;
    Bytes data = bytes;
    if (header.unsynchronised && header.version <= 3) {
        decoded = resynchronised(bytes);
        data = decoded;
    }
    quint32 position = 0;
    quint32 length = quint32(data.size());
    if (header.extended) {
        const quint32 extended = synchsafe(mid(data, 0, 4));
        if (extended <= quint32(data.size())) {
            position += extended;
            length -= extended;
        }
    }
    if (header.footer && length >= 10)
        length -= 10;
    const quint32 headerSize = header.version < 3 ? 6 : 10;
    // The sums wrap as TagLib's do: a tag shorter than a frame header still has its first
    // bytes looked at.
    while (position < quint32(length - headerSize)) {
        if (position >= quint32(data.size()) || data[position] == 0)
            break; // padding
        const quint32 size = parseFrame(tag, header, data.sliced(position));
        if (size == 0 || tag.unsupported)
            break;
        position += size + headerSize;
    }
    return tag;
}

Text Tag::genreText() const
{
    TextList genres;
    for (Text field : genre) {
        if (field.empty())
            continue;
        bool ok = false;
        const int number = toInt(field, &ok);
        if (ok && number >= 0 && number <= 255)
            field = genreName(number);
        if (std::find(genres.begin(), genres.end(), field) == genres.end())
            genres.push_back(field);
    }
    return join(genres);
}

} // namespace Id3
