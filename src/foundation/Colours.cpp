#include "foundation/Colours.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"

#include <array>

namespace {

struct NamedColour
{
    const char16_t *name;
    qint32 value;
};

constexpr std::array<NamedColour, 19> kNames = {{
    {u"black", 0},       {u"red", 255},          {u"lime", 65280},       {u"yellow", 65535},
    {u"blue", 16711680}, {u"fuchsia", 16711935}, {u"magenta", 16711935}, {u"aqua", 16776960},
    {u"cyan", 16776960}, {u"white", 16777215},   {u"maroon", 128},       {u"green", 32768},
    {u"olive", 32896},   {u"navy", 8388608},     {u"purple", 8388736},   {u"teal", 8421376},
    {u"grey", 8421504},  {u"gray", 8421504},     {u"silver", 12632256},
}};

int hexDigit(QChar c)
{
    const char16_t u = c.toLower().unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    throw RuntimeError::typeMismatch();
}

// Two hexadecimal digits from a 0-based position; a missing digit is as bad as a wrong one.
int hexField(const QString &col, int position)
{
    if (col.size() < position + 2)
        throw RuntimeError::typeMismatch();
    return hexDigit(col[position]) * 16 + hexDigit(col[position + 1]);
}

} // namespace

namespace Colours {

std::optional<qint32> byName(const QString &name)
{
    const QString lower = name.toLower();
    for (const auto &entry : kNames) {
        if (lower == QStringView(entry.name))
            return entry.value;
    }
    return std::nullopt;
}

qint32 GetColour(const QString &col, qint32 def)
{
    if (const auto number = Numeric::parse(col))
        return Numeric::roundToLong(*number);
    if (const auto named = byName(col))
        return *named;
    if (col.startsWith(u'#')) {
        const int red = hexField(col, 1);
        const int green = hexField(col, 3);
        const int blue = hexField(col, 5);
        return red + 256 * green + 65536 * blue;
    }
    return def;
}

const QList<ChartEntry> &chartLeft()
{
    static const QList<ChartEntry> entries = {
        {"black", "black"}, {"maroon", "maroon"}, {"green", "green"}, {"olive", "olive"},
        {"navy", "navy"},   {"purple", "purple"}, {"teal", "teal"},   {"grey", "grey/gray"}};
    return entries;
}

const QList<ChartEntry> &chartRight()
{
    static const QList<ChartEntry> entries = {{"silver", "silver"},  {"red", "red"},
                                              {"lime", "lime"},      {"yellow", "yellow"},
                                              {"blue", "blue"},      {"fuchsia", "fuchsia/magenta"},
                                              {"aqua", "aqua/cyan"}, {"white", "white"}};
    return entries;
}

} // namespace Colours
