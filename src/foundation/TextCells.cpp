#include "foundation/TextCells.h"

#include <unicode/uchar.h>

namespace TextCells {

namespace {

constexpr char32_t kZeroWidthJoiner = 0x200D;
// Below the combining diacritical marks every character takes one cell.
constexpr char32_t kFirstMark = 0x300;

bool isRegionalIndicator(char32_t code)
{
    return code >= 0x1F1E6 && code <= 0x1F1FF;
}

char32_t codeAt(QStringView text, qsizetype i, qsizetype *units)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    *units = 1;
    return c.unicode();
}

} // namespace

int width(char32_t code)
{
    if (code < kFirstMark)
        return 1;
    if (code >= 0xD800 && code <= 0xDFFF) // half of a pair without its other half
        return 1;
    switch (u_charType(static_cast<UChar32>(code))) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_FORMAT_CHAR:
        return 0;
    default:
        break;
    }
    // Hangul vowels and final consonants join the syllable's first letter.
    if (code >= 0x1160 && code <= 0x11FF)
        return 0;
    if (u_hasBinaryProperty(static_cast<UChar32>(code), UCHAR_EMOJI_MODIFIER))
        return 0;
    const int eastAsian = u_getIntPropertyValue(static_cast<UChar32>(code), UCHAR_EAST_ASIAN_WIDTH);
    if (eastAsian == U_EA_WIDE || eastAsian == U_EA_FULLWIDTH ||
        u_hasBinaryProperty(static_cast<UChar32>(code), UCHAR_EMOJI_PRESENTATION))
        return 2;
    return 1;
}

bool isRightToLeft(char32_t code)
{
    if (code < 0x590)
        return false;
    const UCharDirection d = u_charDirection(static_cast<UChar32>(code));
    return d == U_RIGHT_TO_LEFT || d == U_RIGHT_TO_LEFT_ARABIC;
}

bool isPlain(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u >= kFirstMark)
            return false;
    }
    return true;
}

Cluster clusterAt(QStringView text, qsizetype start)
{
    qsizetype units = 0;
    const char32_t base = codeAt(text, start, &units);
    Cluster cluster;
    cluster.start = start;
    cluster.length = units;
    // A mark with nothing before it to join takes a cell of its own.
    cluster.width = std::max(width(base), 1);
    cluster.rightToLeft = isRightToLeft(base);
    char32_t previous = base;
    qsizetype i = start + units;
    while (i < text.size()) {
        const char32_t code = codeAt(text, i, &units);
        const bool joins =
            width(code) == 0 || previous == kZeroWidthJoiner ||
            (isRegionalIndicator(previous) && isRegionalIndicator(code) && i - start == 2);
        if (!joins)
            break;
        if (i + units - start <= kMaxClusterUnits && cluster.length == i - start)
            cluster.length += units;
        previous = code;
        i += units;
    }
    cluster.next = i;
    return cluster;
}

Cluster lastCluster(QStringView text)
{
    Cluster cluster = clusterAt(text, 0);
    while (cluster.next < text.size())
        cluster = clusterAt(text, cluster.next);
    return cluster;
}

qsizetype cells(QStringView text)
{
    if (isPlain(text))
        return text.size();
    qsizetype total = 0;
    for (qsizetype i = 0; i < text.size();) {
        const Cluster cluster = clusterAt(text, i);
        total += cluster.width;
        i = cluster.next;
    }
    return total;
}

QStringView left(QStringView text, qsizetype maxCells)
{
    if (isPlain(text))
        return text.left(std::max<qsizetype>(maxCells, 0));
    qsizetype taken = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const Cluster cluster = clusterAt(text, i);
        if (taken + cluster.width > maxCells)
            break;
        taken += cluster.width;
        i = cluster.next;
    }
    return text.left(i);
}

char16_t shown(char16_t unit)
{
    if (unit < 0x20)
        return static_cast<char16_t>(0x2400 + unit);
    if (unit == 0x7F)
        return 0x2421;
    return unit;
}

} // namespace TextCells
