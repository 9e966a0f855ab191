#include "formats/StoreLines.h"

#include "foundation/RuntimeError.h"

#include <algorithm>

namespace StoreLines {

FoldedKey::FoldedKey(QStringView key) : m_view(key)
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

namespace {

[[noreturn]] void failAt(qsizetype line, const QString &what)
{
    throw RuntimeError::badFileFormat(QStringLiteral("line %1: %2").arg(line).arg(what));
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

} // namespace

bool isBlankLine(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
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

bool takeHeader(QStringView line, bool tolerant)
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
    if (!tolerant)
        failAt(1, QStringLiteral("missing header \"%1%2\"").arg(kHeaderTag).arg(kLayoutVersion));
    // Pairs written by hand without the header still count.
    return false;
}

} // namespace StoreLines
