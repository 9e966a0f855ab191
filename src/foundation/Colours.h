#pragma once
// Colour values and the one lookup that turns any colour argument into one.
// A colour value is red + 256 x green + 65536 x blue, as the program stores it.

#include <QList>
#include <QRgb>
#include <QString>
#include <optional>

namespace Colours {

constexpr qint32 kBlack = 0;
constexpr qint32 kRed = 255;
constexpr qint32 kGrey = 8421504;
constexpr qint32 kSilver = 12632256;
constexpr qint32 kWhite = 16777215;

// One of the sixteen built-in names or their aliases, compared without regard to case.
std::optional<qint32> byName(const QString &name);

// A number by the numeric-text rules, a built-in name, or "#RRGGBB"; otherwise def.
// A "#" form with bad or missing hexadecimal digits raises "Type mismatch (13)",
// a number outside 32 bits "Overflow (6)".
qint32 GetColour(const QString &col, qint32 def);

// The pixel a colour value paints (only the low 24 bits count).
constexpr QRgb toRgb(qint32 colour)
{
    const auto c = static_cast<quint32>(colour);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// The chart of built-in colours: two columns of eight, each a name and its label.
struct ChartEntry
{
    QString name;
    QString label;
};
const QList<ChartEntry> &chartLeft();
const QList<ChartEntry> &chartRight();

} // namespace Colours
