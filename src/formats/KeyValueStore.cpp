// The keyed store of texts: its case-insensitive index, the listing, and the line-per-pair
// file layout it reads and writes (described in docs/formats.md).

#include "formats/KeyValueStore.h"

#include "formats/StoreLines.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <algorithm>
#include <vector>

using namespace StoreLines;

namespace {

// The index is sized for the lines to come, but never more than a real store has: a text
// of empty lines must not reserve gigabytes.
constexpr qsizetype kMostReserved = 1 << 20;

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

void KeyValueStore::readLine(QStringView line, qsizetype lineNo, QStringList *skipped, QString &key,
                             QString &value)
{
    if (isBlankLine(line))
        return;
    // Most lines hold no escape: their key and value are taken as they stand.
    const qsizetype equals = line.indexOf(u'=');
    if (equals >= 0 && !line.contains(u'\\') && !line.contains(u'\r')) {
        const QStringView plainKey = line.first(equals);
        const FoldedKey folded(plainKey);
        const QStringView foldedView = folded.same() ? QStringView() : folded.view();
        putKept(plainKey, foldedView, line.sliced(equals + 1));
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
    if (!takeHeader(header, skipped != nullptr))
        loaded.readLine(header, 1, skipped, key, value);
    for (qsizetype lineNo = 2; !rest.isEmpty(); ++lineNo)
        loaded.readLine(nextLine(), lineNo, skipped, key, value);
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
