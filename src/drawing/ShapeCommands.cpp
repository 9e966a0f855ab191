#include "drawing/ShapeCommands.h"

#include "drawing/DrawingValues.h"
#include "drawing/ShapePainter.h"
#include "foundation/Colours.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "session/Session.h"

#include <cmath>

namespace {

constexpr int kMaxValues = 11;

// The pen a command draws with: one pixel unless the value at widthIndex gives a width.
ShapePainter::Pen penOf(const DrawingValues &v, int colourIndex, int widthIndex)
{
    const int width = v.isEmpty(widthIndex) ? 1 : v.lineWidth(widthIndex);
    return {Colours::toRgb(v.colour(colourIndex)), width};
}

QPointF pointOf(const DrawingValues &v, int xIndex)
{
    return {v.number(xIndex), v.number(xIndex + 1)};
}

// The first and last loop index, from 1 to count, whose cell index floor(start + i - 1)
// falls within low..high: cells outside cannot reach the surface.
std::pair<qint64, qint64> visibleSpan(double start, qint32 count, int low, int high)
{
    const double first = std::max(1.0, std::ceil(low + 1 - start));
    const double last = std::min(static_cast<double>(count), std::ceil(high + 2 - start) - 1);
    return {static_cast<qint64>(std::min(first, 1e15)), static_cast<qint64>(std::max(last, 0.0))};
}

// clang-format off
const HelpPage kBlockHelp = {{
    {1,
"block <x (column)>,<y (row)>,[<colour>],[<repetitions right>],[<repetitions down>]"},
    {3,
"Fills the character cell at the column and row given with a colour.  The repetitions fill    "
"more cells to the right and downwards."}}};
// clang-format on

void cmdBlock(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::atEveryComma(args.allArgs, kMaxValues);
    const double column = v.number(1);
    const double row = v.number(2);
    const qint32 width = v.isEmpty(4) ? 1 : v.whole(4);
    const qint32 height = v.isEmpty(5) ? 1 : v.whole(5);
    if (width < 1 || height < 1)
        return;
    const qint32 colour = v.colour(3);
    const auto [firstRow, lastRow] = visibleSpan(row, height, 1, Cell::kRecordRows);
    const auto [firstColumn, lastColumn] = visibleSpan(column, width, 1, Cell::kRecordColumns);
    for (qint64 j = firstRow; j <= lastRow; ++j) {
        for (qint64 i = firstColumn; i <= lastColumn; ++i) {
            s.console.ColourBlock(static_cast<int>(std::floor(row + j - 1)),
                                  static_cast<int>(std::floor(column + i - 1)), colour);
        }
    }
}

// clang-format off
const HelpPage kBoxHelp = {{
    {1, "box <x1>,<y1>,<x2>,<y2>,[<colour>],[<width>],[<fill>]"},
    {3,
"Draws a box on the screen with its corners at the pixel coordinates x1,y1 and x2,y2.  The    "
"width is the thickness of its edge in pixels.  Set the fill argument to '1' to fill the box  "
"with the colour."}}};
// clang-format on

void cmdBox(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::atEveryComma(args.allArgs, kMaxValues);
    const ShapePainter::Pen pen = penOf(v, 5, 6);
    ShapePainter::box(s.console.surface(), pointOf(v, 1), pointOf(v, 3), pen, v[7] == u"1");
    s.console.markDirty(s.console.surface().rect());
}

// clang-format off
const HelpPage kCircleHelp = {{
    {1, "circle <x>,<y>,<radius>,[<colour>],[<width>],[<fill>]"},
    {3,
"Draws a circle on the screen centred at the pixel coordinates x,y.  The width is the         "
"thickness of its edge in pixels.  Any fill argument fills the circle with the colour."}}};
// clang-format on

void cmdCircle(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::atEveryComma(args.allArgs, kMaxValues);
    const ShapePainter::Pen pen = penOf(v, 4, 5);
    const QPointF centre = pointOf(v, 1);
    const double radius = v.number(3);
    if (radius < 0)
        throw RuntimeError::invalidProcedureCall();
    ShapePainter::circle(s.console.surface(), centre, radius, pen, !v.isEmpty(6));
    s.console.markDirty(s.console.surface().rect());
}

// clang-format off
const HelpPage kLineHelp = {{
    {1, "line <x1>,<y1>,<x2>,<y2>,[<colour>],[<width>]"},
    {3,
"Draws a line on the screen from the pixel coordinates x1,y1 to x2,y2.  The width is the      "
"thickness of the line in pixels."}}};
// clang-format on

void cmdLine(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::atEveryComma(args.allArgs, kMaxValues);
    const ShapePainter::Pen pen = penOf(v, 5, 6);
    ShapePainter::line(s.console.surface(), pointOf(v, 1), pointOf(v, 3), pen);
    s.console.markDirty(s.console.surface().rect());
}

const HelpPage kPixelHelp = {
    {{1, "pixel <x>,<y>,[<colour>]"}, {3, "Sets the pixel at the coordinates x,y to a colour."}}};

void cmdPixel(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::atEveryComma(args.allArgs, kMaxValues);
    const QPointF at = pointOf(v, 1);
    ShapePainter::pixel(s.console.surface(), at, Colours::toRgb(v.colour(3)));
    s.console.markDirty(s.console.surface().rect());
}

// clang-format off
const HelpPage kCrazyHelp = {{
    {1, "crazy [<mode>]"},
    {3, "Draws random blocks, boxes, circles, lines and pixels on the screen."},
    {5,
"Modes: 0 = off, 1 = blocks, 2 = boxes, 3 = circles, 4 = lines, 5 = pixels, 6 = all.  Omitting"
"the mode either turns 'crazy' off or on to mode 6."}}};
// clang-format on

// With a value, the random-drawing mode as given; without, off when on and all shapes when off.
void cmdCrazy(Session &s, const CommandArgs &args)
{
    QString &mode = s.opt[Options::RandomDrawing];
    if (!args.allArgs.isEmpty()) {
        mode = args.allArgs;
        return;
    }
    const std::optional<double> value = Numeric::parse(mode);
    mode = value && *value > 0 ? QStringLiteral("0") : QStringLiteral("6");
}

} // namespace

void registerShapeCommands(CommandTable &table)
{
    table.add(QStringLiteral("block"), cmdBlock, kBlockHelp, {.keepsScreen = true});
    table.add(QStringLiteral("box"), cmdBox, kBoxHelp, {.keepsScreen = true});
    table.add(QStringLiteral("circle"), cmdCircle, kCircleHelp, {.keepsScreen = true});
    table.add(QStringLiteral("line"), cmdLine, kLineHelp, {.keepsScreen = true});
    table.add(QStringLiteral("pixel"), cmdPixel, kPixelHelp, {.keepsScreen = true});
    table.add(QStringLiteral("crazy"), cmdCrazy, kCrazyHelp);
}
