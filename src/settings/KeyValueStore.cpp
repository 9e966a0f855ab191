// The keyed store of texts: its case-insensitive index, the listing, and the line-per-pair
// file layout it reads and writes (described in docs/formats.md).

#include "settings/KeyValueStore.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <algorithm>
#include <vector>

namespace {

constexpr QStringView kHeaderTag = u"#i2kCmd-store ";
constexpr int kLayoutVersion = 1;

QString foldKey(const QString &key)
{
    return key.toCaseFolded();
}

// The pairs in key order: by the case-folded key, which is unique within the store.
template <typename Hash> auto sortedByKey(const Hash &entries)
{
    std::vector<typename Hash::const_iterator> sorted;
    sorted.reserve(entries.size());
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        sorted.push_back(it);
    std::sort(sorted.begin(), sorted.end(),
              [](const auto &a, const auto &b) { return a.key() < b.key(); });
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

void KeyValueStore::LoadText(const QString &text)
{
    parse(text, nullptr);
}

QStringList KeyValueStore::LoadFileSkippingBadLines(const QString &path)
{
    QStringList skipped;
    parse(TextFile::read(path), &skipped);
    return skipped;
}

void KeyValueStore::parse(const QString &text, QStringList *skipped)
{
    QStringView rest(text);
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

    QHash<QString, Entry> loaded;
    loaded.reserve(rest.count(u'\n'));
    QString key;
    QString value;
    // A line that breaks the layout ends a strict load; otherwise it is noted and passed over.
    const auto readPair = [&](QStringView line, qsizetype lineNo) {
        if (isBlankLine(line))
            return;
        try {
            parsePair(line, lineNo, key, value);
        } catch (const RuntimeError &error) {
            if (!skipped)
                throw;
            skipped->append(error.description());
            return;
        }
        loaded.insert(foldKey(key), Entry{key, value}); // a later duplicate replaces the earlier
    };

    const QStringView header = nextLine();
    const QStringView version =
        header.startsWith(kHeaderTag) ? header.sliced(kHeaderTag.size()) : QStringView();
    const bool isNumber =
        !version.isEmpty() &&
        std::all_of(version.begin(), version.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (isNumber) {
        bool ok = false;
        // A later layout may mean anything: never half-read it.
        if (version.toInt(&ok) != kLayoutVersion || !ok)
            throw RuntimeError::badFileFormat(
                QStringLiteral("unsupported store version %1").arg(version));
    } else if (!skipped) {
        failAt(1, QStringLiteral("missing header \"%1%2\"").arg(kHeaderTag).arg(kLayoutVersion));
    } else {
        // Pairs written by hand without the header still count.
        readPair(header, 1);
    }

    for (qsizetype lineNo = 2; !rest.isEmpty(); ++lineNo)
        readPair(nextLine(), lineNo);
    m_entries.swap(loaded);
}

QString KeyValueStore::text() const
{
    // Pairs in key order, so that the same content always gives the same file.
    const auto sorted = sortedByKey(m_entries);
    qsizetype size = 32;
    for (const auto &it : sorted)
        size += it->key.size() + it->value.size() + 3;

    QString out;
    out.reserve(size);
    out += kHeaderTag;
    out += QString::number(kLayoutVersion);
    out += u"\r\n";
    for (const auto &it : sorted) {
        appendEscaped(out, it->key, true);
        out += u'=';
        appendEscaped(out, it->value, false);
        out += u"\r\n";
    }
    return out;
}

void KeyValueStore::SaveFile(const QString &path) const
{
    TextFile::save(path, TextFile::encode(text()));
}

QString KeyValueStore::GetValue(const QString &key) const
{
    const auto it = m_entries.constFind(foldKey(key));
    return it == m_entries.cend() ? kNotFound : it->value;
}

void KeyValueStore::SetValue(const QString &key, const QString &value)
{
    QString folded = foldKey(key);
    const auto it = m_entries.find(folded);
    if (it != m_entries.end())
        it->value = value; // the key keeps the spelling it was first written with
    else
        m_entries.insert(std::move(folded), Entry{key, value});
}

void KeyValueStore::DeleteKey(const QString &key)
{
    m_entries.remove(foldKey(key));
}

QString KeyValueStore::ListAll() const
{
    QString text;
    for (const auto &it : sortedByKey(m_entries)) {
        appendShown(text, it->key);
        text += u" = ";
        appendShown(text, it->value);
        text += u"\r\n";
    }
    return text;
}
