#include "drawing/TextCommands.h"

#include "drawing/DrawingValues.h"
#include "drawing/PictureFile.h"
#include "foundation/Colours.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "session/Session.h"

#include <QPainter>
#include <cmath>

namespace {

// Fonts larger than this cannot be chosen: 2160 points, thirty inches of type.
constexpr double kMaxFontPoints = 2160;

// A whole-pixel position, far-off values held where they still cannot reach the surface.
int pixelPosition(double value)
{
    return static_cast<int>(std::nearbyint(std::clamp(value, -1e9, 1e9)));
}

// clang-format off
const HelpPage kTextHelp = {{
    {1, "text <x (column)>,<y (row)>,<colour>,<text>"},
    {3,
"Writes text on the screen in a colour, starting at the column and row given.  The text       "
"cannot contain commas."}}};
// clang-format on

void cmdText(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::atEveryComma(args.allArgs, 11);
    const qint32 colour = v.colour(3);
    const double column = std::floor(v.number(1));
    const double row = std::floor(v.number(2));
    if (std::abs(column) > 1e9 || std::abs(row) > 1e9)
        throw RuntimeError::subscriptOutOfRange();
    s.console.DrawText(v[4], static_cast<int>(row), colour, static_cast<int>(column) - 1);
}

// The text cut into pieces of width characters, each followed by a line break; a width
// below 1 cannot cut anything, so the text stays whole.
QString wrapped(const QString &text, const QString &widthText)
{
    if (!Numeric::isNumeric(widthText))
        return text;
    const qint32 width = Numeric::toLong(widthText);
    if (width < 1)
        return text;
    QString result;
    for (qsizetype i = 0; i < text.size(); i += width)
        result += text.mid(i, width) + QStringLiteral("\r\n");
    return result;
}

// clang-format off
const HelpPage kText2Help = {{
    {1,
"text2 <x>,<y>,<colour>,<font name>,<font size>,<bold>,<italic>,<underline>,<strikethrough>,  "
"<characters per line>,<text>"},
    {4,
"Displayed text on the screen at the specified coordinates.  The font name, size, bold,       "
"italic, underline, strikethrough attributes can be activated by setting the argument to '1'. "
"To wrap the text, set the charactersper line argument."}}};
// clang-format on

void cmdText2(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::upTo(args.allArgs, 11);
    const qint32 colour = v.colour(3);
    QFont font(v[4]);
    const double points = v.number(5);
    if (points <= 0 || points > kMaxFontPoints)
        throw RuntimeError::invalidPropertyValue();
    font.setPointSizeF(points);
    font.setBold(v[6] == u"1");
    font.setItalic(v[7] == u"1");
    font.setUnderline(v[8] == u"1");
    font.setStrikeOut(v[9] == u"1");
    const int x = pixelPosition(v.number(1));
    const int y = pixelPosition(v.number(2));
    const QStringList lines = wrapped(v[11], v[10]).split(QStringLiteral("\r\n"));

    QImage &surface = s.console.surface();
    QPainter painter(&surface);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(Colours::toRgb(colour)));
    const QFontMetrics metrics(font, &surface);
    // Lines after a line break start at the left edge of the console.
    int lineX = x;
    int top = y;
    for (const QString &line : lines) {
        if (top > surface.height())
            break;
        painter.drawText(QPoint(lineX, top + metrics.ascent()), line);
        lineX = 0;
        top += metrics.height();
    }
    painter.end();
    s.console.markDirty(surface.rect());
}

// clang-format off
const HelpPage kPictureHelp = {{
    {1, "picture <x>,<y>,<repetitions right>,<repetitions down>,<filename>"},
    {3,
"Draws a picture file on the screen with its top left corner at the pixel coordinates x,y.    "
"The repetitions draw more copies of it to the right and downwards."}}};
// clang-format on

void cmdPicture(Session &s, const CommandArgs &args)
{
    const DrawingValues v = DrawingValues::upTo(args.allArgs, 5);
    // The picture over black, as the working surface it is loaded into: an opaque copy.
    const QImage loaded = PictureFile::load(v[5]);
    QImage &tile = s.console.drawingSurface();
    tile = QImage(loaded.size(), QImage::Format_RGB32);
    tile.fill(Qt::black);
    {
        QPainter painter(&tile);
        painter.drawImage(0, 0, loaded);
    }
    const double left = v.number(1);
    const double top = v.number(2);
    const qint32 across = v.isEmpty(3) ? 1 : v.whole(3);
    const qint32 down = v.isEmpty(4) ? 1 : v.whole(4);
    const int w = tile.width();
    const int h = tile.height();
    QImage &surface = s.console.surface();
    {
        QPainter painter(&surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // Only the copies that can reach the surface are made.
        const double firstCol = std::max(1.0, std::floor(-left / w));
        const double lastCol =
            std::min<double>(across, std::ceil((surface.width() - left) / w) + 1);
        const double firstRow = std::max(1.0, std::floor(-top / h));
        const double lastRow = std::min<double>(down, std::ceil((surface.height() - top) / h) + 1);
        for (double col = firstCol; col <= lastCol; ++col) {
            for (double row = firstRow; row <= lastRow; ++row)
                painter.drawImage(pixelPosition(left + (col - 1) * w),
                                  pixelPosition(top + (row - 1) * h), tile);
        }
    }
    tile = QImage(Cell::kSurfaceWidth, Cell::kSurfaceHeight, QImage::Format_RGB32);
    tile.fill(Qt::black);
    s.console.markDirty(surface.rect());
}

} // namespace

void registerTextCommands(CommandTable &table)
{
    table.add(QStringLiteral("text"), cmdText, kTextHelp, {.keepsScreen = true});
    table.add(QStringLiteral("text2"), cmdText2, kText2Help, {.keepsScreen = true});
    table.add(QStringLiteral("picture"), cmdPicture, kPictureHelp, {.keepsScreen = true});
}
