#include "foundation/NumericText.h"

#include "foundation/RuntimeError.h"

#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// "&h..." or "&o..." (or "&..." octal); at most 32 bits, read as a signed 32-bit value.
std::optional<double> parseRadix(QStringView digits, int radix)
{
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : digits) {
        const int d = c.isDigit() ? c.unicode() - u'0'
                      : (c.toLower() >= u'a' && c.toLower() <= u'f')
                          ? c.toLower().unicode() - u'a' + 10
                          : 99;
        if (d >= radix)
            return std::nullopt;
        value = value * radix + d;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<double>(static_cast<qint32>(static_cast<quint32>(value)));
}

std::optional<double> parseDecimal(QStringView s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    QString plain;
    plain.reserve(n);
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        plain += s[i++];
    qsizetype mantissaDigits = 0;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        plain += s[i++];
        ++mantissaDigits;
    }
    if (i < n && s[i] == u'.') {
        plain += s[i++];
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            plain += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        plain += u'e';
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            plain += s[i++];
        qsizetype expDigits = 0;
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            plain += s[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode is to nearest, ties to even
}

} // namespace

namespace Numeric {

std::optional<double> parse(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const QStringView s = text.sliced(begin, end - begin);
    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toLower();
        if (kind == u'h')
            return parseRadix(s.sliced(2), 16);
        if (kind == u'o')
            return parseRadix(s.sliced(2), 8);
        return parseRadix(s.sliced(1), 8);
    }
    return parseDecimal(s);
}

bool isNumeric(QStringView text)
{
    return parse(text).has_value();
}

qint32 roundToLong(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        throw RuntimeError::overflow();
    return static_cast<qint32>(r);
}

qint16 roundToInteger(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<qint16>::min() && r <= std::numeric_limits<qint16>::max()))
        throw RuntimeError::overflow();
    return static_cast<qint16>(r);
}

double toDouble(QStringView text)
{
    const auto value = parse(text);
    if (!value)
        throw RuntimeError::typeMismatch();
    return *value;
}

qint32 toLong(QStringView text)
{
    return roundToLong(toDouble(text));
}

qint16 toInteger(QStringView text)
{
    return roundToInteger(toDouble(text));
}

} // namespace Numeric
