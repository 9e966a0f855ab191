// The keyed store of texts: its case-insensitive index, the listing, and the line-per-pair
// file layout it reads and writes (described in docs/formats.md).

#include "formats/KeyValueStore.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QVarLengthArray>

#include <algorithm>
#include <vector>

namespace {

constexpr QStringView kHeaderTag = u"#i2kCmd-store ";
constexpr int kLayoutVersion = 1;

// The case-folded form of a key. Folding ASCII is lowering A-Z, done here without Unicode
// tables or an allocation; a key already folded is its own folded form.
class FoldedKey
{
public:
    explicit FoldedKey(QStringView key) : m_view(key)
    {
        bool upper = false;
        for (const QChar c : key) {
            const char16_t u = c.unicode();
            if (u >= 0x80) {
                m_unicode = key.toString().toCaseFolded();
                m_view = m_unicode;
                m_same = m_view == key;
                return;
            }
            upper = upper || (u >= u'A' && u <= u'Z');
        }
        if (!upper)
            return;
        m_ascii.resize(key.size());
        char16_t *out = m_ascii.data();
        for (const QChar c : key) {
            const char16_t u = c.unicode();
            *out++ = (u >= u'A' && u <= u'Z') ? char16_t(u + (u'a' - u'A')) : u;
        }
        m_view = QStringView(m_ascii.constData(), m_ascii.size());
        m_same = false;
    }
    FoldedKey(const FoldedKey &) = delete;
    FoldedKey &operator=(const FoldedKey &) = delete;

    QStringView view() const { return m_view; }
    // Whether folding changed nothing.
    bool same() const { return m_same; }

private:
    QVarLengthArray<char16_t, 64> m_ascii;
    QString m_unicode;
    QStringView m_view;
    bool m_same = true;
};

// The pairs in key order: by the case-folded key, which is unique within the store.
std::vector<const StoreIndex::Entry *> sortedByKey(const StoreIndex &index)
{
    std::vector<const StoreIndex::Entry *> sorted;
    sorted.reserve(std::size_t(index.size()));
    index.forEach([&](const StoreIndex::Entry &entry) { sorted.push_back(&entry); });
    std::sort(sorted.begin(), sorted.end(),
              [](const auto *a, const auto *b) { return a->folded < b->folded; });
    return sorted;
}

[[noreturn]] void failAt(qsizetype line, const QString &what)
{
    throw RuntimeError::badFileFormat(QStringLiteral("line %1: %2").arg(line).arg(what));
}

bool isBlankLine(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

// The index is sized for the lines to come, but never more than a real catalogue has: a text
// of empty lines must not reserve gigabytes.
constexpr qsizetype kMostReserved = 1 << 20;
// Fewer bytes than a catalogue's lines have on average ("1Genre1=17" and a line end is 12;
// names and paths are far longer), for sizing the index from a text's size.
constexpr qint64 kShortLine = 16;

// Where the run of empty lines (LF or CR LF alone) at the start of text ends; lines counts
// them. A padded text has millions: they are passed over without being split off one by one.
qsizetype skipEmptyLines(QStringView text, qsizetype &lines)
{
    qsizetype at = 0;
    const qsizetype n = text.size();
    for (;;) {
        if (at < n && text[at] == u'\n')
            at += 1;
        else if (at + 1 < n && text[at] == u'\r' && text[at + 1] == u'\n')
            at += 2;
        else
            return at;
        ++lines;
    }
}

// How many characters of the text are blank lines, line ends included.
qsizetype blankCharacters(QStringView text)
{
    qsizetype blank = 0;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype lines = 0;
        const qsizetype empty = skipEmptyLines(text.sliced(at), lines);
        blank += empty;
        at += empty;
        if (at == text.size())
            break;
        qsizetype end = text.indexOf(u'\n', at);
        end = end < 0 ? text.size() : end;
        QStringView line = text.sliced(at, end - at);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (isBlankLine(line))
            blank += end - at + 1;
        at = end + 1;
    }
    return blank;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Appends text with the layout's escapes. "=" is escaped only where it would end the key.
// An unpaired surrogate has no UTF-8 form, so it is written as \uXXXX to survive the file.
void appendEscaped(QString &out, QStringView text, bool isKey)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\\':
            out += u"\\\\";
            continue;
        case u'\r':
            out += u"\\r";
            continue;
        case u'\n':
            out += u"\\n";
            continue;
        case u'=':
            if (isKey) {
                out += u"\\=";
                continue;
            }
            break;
        default:
            break;
        }
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            static constexpr char16_t kHex[] = u"0123456789ABCDEF";
            const char16_t u = c.unicode();
            out += u"\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += QChar(kHex[(u >> shift) & 0xF]);
        } else {
            out += c;
        }
    }
}

// Line breaks shown as "\r" and "\n" so that a listed pair stays on one line.
void appendShown(QString &out, QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\r')
            out += u"\\r";
        else if (c == u'\n')
            out += u"\\n";
        else
            out += c;
    }
}

// Decodes the escape at line[at] (a backslash) into out; returns the index after it.
qsizetype decodeEscape(QStringView line, qsizetype at, qsizetype lineNo, QString &out)
{
    if (at + 1 == line.size())
        failAt(lineNo, QStringLiteral("backslash at the end of the line"));
    const QChar e = line[at + 1];
    switch (e.unicode()) {
    case u'\\':
        out.append(u'\\');
        return at + 2;
    case u'r':
        out.append(u'\r');
        return at + 2;
    case u'n':
        out.append(u'\n');
        return at + 2;
    case u'=':
        out.append(u'=');
        return at + 2;
    case u'u': {
        int code = 0;
        for (qsizetype k = at + 2; k < at + 6; ++k) {
            const int d = k < line.size() ? hexDigit(line[k]) : -1;
            if (d < 0)
                failAt(lineNo, QStringLiteral("\\u needs four hexadecimal digits"));
            code = code * 16 + d;
        }
        out.append(QChar(static_cast<char16_t>(code)));
        return at + 6;
    }
    default:
        failAt(lineNo, QStringLiteral("unknown escape \\%1").arg(e));
    }
}

// Unescapes line from `from` into out, up to the end of the line or, for a key, up to the
// first unescaped "="; returns where it stopped. Plain runs are copied whole, which keeps
// loading fast.
qsizetype unescape(QStringView line, qsizetype from, bool isKey, qsizetype lineNo, QString &out)
{
    out.clear();
    qsizetype i = from;
    for (;;) {
        const qsizetype backslash = line.indexOf(u'\\', i);
        const qsizetype runEnd = backslash < 0 ? line.size() : backslash;
        if (isKey) {
            const qsizetype equals = line.first(runEnd).indexOf(u'=', i);
            if (equals >= 0) {
                out.append(line.sliced(i, equals - i));
                return equals;
            }
        }
        out.append(line.sliced(i, runEnd - i));
        if (backslash < 0)
            return line.size();
        i = decodeEscape(line, backslash, lineNo, out);
    }
}

// Reads one "key=value" line (without its line end) into key and value.
void parsePair(QStringView line, qsizetype lineNo, QString &key, QString &value)
{
    // A CR that does not end a line is never written by SaveFile: the file was mangled.
    if (line.contains(u'\r'))
        failAt(lineNo, QStringLiteral("carriage return inside the line"));
    const qsizetype equals = unescape(line, 0, true, lineNo, key);
    if (equals == line.size())
        failAt(lineNo, QStringLiteral("no \"=\" between key and value"));
    unescape(line, equals + 1, false, lineNo, value);
}

} // namespace

void KeyValueStore::LoadFile(const QString &path)
{
    LoadText(TextFile::read(path));
}

void KeyValueStore::LoadText(QString text)
{
    parse(std::move(text), nullptr);
}

QStringList KeyValueStore::LoadFileSkippingBadLines(const QString &path)
{
    QStringList skipped;
    parse(TextFile::read(path), &skipped);
    return skipped;
}

bool KeyValueStore::takeHeader(QStringView line, QStringList *skipped)
{
    const QStringView version =
        line.startsWith(kHeaderTag) ? line.sliced(kHeaderTag.size()) : QStringView();
    const bool isNumber =
        !version.isEmpty() &&
        std::all_of(version.begin(), version.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (isNumber) {
        bool ok = false;
        // A later layout may mean anything: never half-read it.
        if (version.toInt(&ok) != kLayoutVersion || !ok)
            throw RuntimeError::badFileFormat(
                QStringLiteral("unsupported store version %1").arg(version));
        return true;
    }
    if (!skipped)
        failAt(1, QStringLiteral("missing header \"%1%2\"").arg(kHeaderTag).arg(kLayoutVersion));
    // Pairs written by hand without the header still count.
    return false;
}

void KeyValueStore::readLine(QStringView line, qsizetype lineNo, bool kept, QStringList *skipped,
                             QString &key, QString &value)
{
    if (isBlankLine(line))
        return;
    // Most lines hold no escape: their key and value are taken as they stand.
    const qsizetype equals = line.indexOf(u'=');
    if (equals >= 0 && !line.contains(u'\\') && !line.contains(u'\r')) {
        const QStringView plainKey = line.first(equals);
        const FoldedKey folded(plainKey);
        const QStringView foldedView = folded.same() ? QStringView() : folded.view();
        if (kept)
            putKept(plainKey, foldedView, line.sliced(equals + 1));
        else
            put(plainKey, foldedView, line.sliced(equals + 1));
        return;
    }
    // A line that breaks the layout ends a strict load; otherwise it is noted and passed over.
    try {
        parsePair(line, lineNo, key, value);
    } catch (const RuntimeError &error) {
        if (!skipped)
            throw;
        skipped->append(error.description());
        return;
    }
    // A later duplicate replaces the earlier, spelling and value.
    const FoldedKey folded(key);
    put(key, folded.same() ? QStringView() : folded.view(), value);
}

void KeyValueStore::parse(QString text, QStringList *skipped)
{
    KeyValueStore loaded;
    // A catalogue's text is tens of megabytes: its plain pairs stay where they are.
    QStringView rest(loaded.m_pieces.adopt(std::move(text)));
    if (rest.startsWith(QChar(0xFEFF))) // a byte order mark some editors add
        rest = rest.sliced(1);

    // Splits off the next line, without its line end (CR LF or LF alone).
    auto nextLine = [&rest]() {
        const qsizetype lf = rest.indexOf(u'\n');
        QStringView line = lf < 0 ? rest : rest.first(lf);
        rest = lf < 0 ? QStringView() : rest.sliced(lf + 1);
        if (line.endsWith(u'\r'))
            line.chop(1);
        return line;
    };

    loaded.m_index.reserve(qMin(rest.count(u'\n'), kMostReserved));
    QString key;
    QString value;
    const QStringView header = nextLine();
    if (!takeHeader(header, skipped))
        loaded.readLine(header, 1, true, skipped, key, value);
    for (qsizetype lineNo = 2; !rest.isEmpty(); ++lineNo)
        loaded.readLine(nextLine(), lineNo, true, skipped, key, value);
    *this = std::move(loaded);
}

namespace {

// Raised inside a load in pieces when the bytes prove not to be UTF-8.
struct NotUtf8
{
};

} // namespace

void KeyValueStore::LoadPieces(const ByteSource &read)
{
    try {
        loadPieces(read, false);
    } catch (const NotUtf8 &) {
        loadPieces(read, true);
    }
}

void KeyValueStore::loadPieces(const ByteSource &read, bool cp1252)
{
    KeyValueStore loaded;
    QString key;
    QString value;
    qsizetype lineNo = 0;
    // Whole lines of bytes at a time: a line feed never stands inside a UTF-8 sequence, so
    // each block is valid UTF-8 exactly when the whole text is.
    const auto readBlock = [&](QByteArrayView bytes) {
        if (!cp1252 && !bytes.isValidUtf8())
            throw NotUtf8{};
        // The first block is decoded as TextFile::decode does it (which drops a byte order
        // mark); the others need no such care.
        QString decoded = cp1252        ? TextFile::decodeCp1252(bytes)
                          : lineNo == 0 ? TextFile::decode(bytes.toByteArray())
                                        : QString::fromUtf8(bytes);
        QStringView rest(decoded);
        if (lineNo == 0 && rest.startsWith(QChar(0xFEFF)))
            rest = rest.sliced(1);
        // A block mostly made of pairs is kept whole and its pairs used where they stand;
        // from one mostly of blank lines only the pairs are copied.
        const bool kept = blankCharacters(rest) * 2 < rest.size();
        if (kept)
            rest = QStringView(loaded.m_pieces.adopt(std::move(decoded))).last(rest.size());
        while (!rest.isEmpty()) {
            if (lineNo > 0) {
                rest = rest.sliced(skipEmptyLines(rest, lineNo));
                if (rest.isEmpty())
                    break;
            }
            const qsizetype lf = rest.indexOf(u'\n');
            QStringView line = lf < 0 ? rest : rest.first(lf);
            rest = lf < 0 ? QStringView() : rest.sliced(lf + 1);
            if (line.endsWith(u'\r'))
                line.chop(1);
            if (++lineNo == 1 && takeHeader(line, nullptr))
                continue;
            loaded.readLine(line, lineNo, kept, nullptr, key, value);
        }
    };

    QByteArray partial; // the line not yet ended
    read([&](const QByteArray &piece, qint64 totalSize) {
        if (lineNo == 0 && partial.isEmpty())
            loaded.m_index.reserve(qMin(totalSize / kShortLine, qint64(kMostReserved)));
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
        takeHeader(QStringView(), nullptr);
    *this = std::move(loaded);
}

template <typename Flush> void KeyValueStore::writeText(qsizetype chunk, Flush flush) const
{
    // Pairs in key order, so that the same content always gives the same file.
    const auto sorted = sortedByKey(m_index);
    QString out;
    out.reserve(chunk + 64);
    out += kHeaderTag;
    out += QString::number(kLayoutVersion);
    out += u"\r\n";
    for (const auto &it : sorted) {
        appendEscaped(out, it->key, true);
        out += u'=';
        appendEscaped(out, it->value, false);
        out += u"\r\n";
        // Whole lines only: a pair of surrogates is never cut in two.
        if (out.size() >= chunk) {
            flush(out);
            out.clear();
        }
    }
    flush(out);
}

qsizetype KeyValueStore::plainSize() const
{
    qsizetype size = 32;
    m_index.forEach([&](const StoreIndex::Entry &e) { size += e.key.size() + e.value.size() + 3; });
    return size;
}

QString KeyValueStore::text() const
{
    QString text;
    text.reserve(plainSize());
    writeText(1 << 16, [&](const QString &lines) { text += lines; });
    return text;
}

QByteArray KeyValueStore::utf8Text() const
{
    QByteArray bytes;
    bytes.reserve(plainSize());
    writeText(1 << 16, [&](const QString &lines) { bytes += lines.toUtf8(); });
    return bytes;
}

void KeyValueStore::SaveFile(const QString &path) const
{
    TextFile::save(path, utf8Text());
}

QString KeyValueStore::GetValue(const QString &key) const
{
    const StoreIndex::Entry *entry = m_index.find(FoldedKey(key).view());
    return entry ? entry->value.toString() : kNotFound;
}

QStringView KeyValueStore::valueView(QStringView key) const
{
    const StoreIndex::Entry *entry = m_index.find(FoldedKey(key).view());
    return entry ? entry->value : QStringView();
}

void KeyValueStore::put(QStringView key, QStringView folded, QStringView value)
{
    const QStringView keptKey = m_pieces.keep(key);
    putKept(keptKey, folded, m_pieces.keep(value));
}

void KeyValueStore::putKept(QStringView key, QStringView folded, QStringView value)
{
    // One lookup that inserts: a key met again leaves the new copy of its folded form unused.
    const QStringView keptFolded = folded.isNull() ? key : m_pieces.keep(folded);
    StoreIndex::Entry &entry = m_index.insert(keptFolded);
    if (!entry.key.isNull())
        m_unused += entry.key.size() + entry.value.size();
    entry.key = key;
    entry.value = value;
}

void KeyValueStore::SetValue(const QString &key, const QString &value)
{
    const FoldedKey folded(key);
    if (StoreIndex::Entry *entry = m_index.find(folded.view())) {
        // The key keeps the spelling it was first written with.
        m_unused += entry->value.size();
        entry->value = m_pieces.keep(value);
    } else {
        put(key, folded.same() ? QStringView() : folded.view(), value);
    }
    compactIfWasteful();
}

void KeyValueStore::DeleteKey(const QString &key)
{
    StoreIndex::Entry *entry = m_index.find(FoldedKey(key).view());
    if (!entry)
        return;
    m_unused += entry->folded.size() + entry->key.size() + entry->value.size();
    m_index.erase(*entry);
    compactIfWasteful();
}

void KeyValueStore::compactIfWasteful()
{
    constexpr qsizetype kSmall = 1 << 16;
    if (m_unused > kSmall && m_unused > m_pieces.size() / 2)
        *this = KeyValueStore(*this);
}

KeyValueStore::KeyValueStore(const KeyValueStore &other)
{
    m_index.reserve(other.m_index.size());
    other.m_index.forEach([this](const StoreIndex::Entry &entry) {
        const bool same = entry.folded.data() == entry.key.data();
        put(entry.key, same ? QStringView() : entry.folded, entry.value);
    });
}

KeyValueStore &KeyValueStore::operator=(const KeyValueStore &other)
{
    if (this != &other)
        *this = KeyValueStore(other);
    return *this;
}

const QString &KeyValueStore::Pieces::adopt(QString text)
{
    // The views must outlive the caller's copy: a text shared with the caller, or one over
    // data it does not own, is copied; a text handed over (the usual load) is kept as it is.
    text.detach();
    m_size += text.size();
    m_texts.push_back(std::move(text));
    return m_texts.back();
}

QStringView KeyValueStore::Pieces::keep(QStringView text)
{
    constexpr qsizetype kBlock = 1 << 16;
    const qsizetype n = text.size();
    if (n == 0)
        return QStringView(u"");
    char16_t *at = nullptr;
    if (n <= m_left) {
        at = m_free;
        m_free += n;
        m_left -= n;
    } else if (n >= kBlock / 4) {
        // A long text has a block of its own; the free room of the current one stays.
        m_blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(size_t(n)));
        at = m_blocks.back().get();
    } else {
        m_blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(size_t(kBlock)));
        at = m_blocks.back().get();
        m_free = at + n;
        m_left = kBlock - n;
    }
    std::copy(text.utf16(), text.utf16() + n, at);
    m_size += n;
    return QStringView(at, n);
}

QString KeyValueStore::ListAll() const
{
    QString text;
    for (const auto &it : sortedByKey(m_index)) {
        appendShown(text, it->key);
        text += u" = ";
        appendShown(text, it->value);
        text += u"\r\n";
    }
    return text;
}
