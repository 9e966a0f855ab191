#include "console/Console.h"

#include "console/NowPlaying.h"
#include "foundation/Colours.h"
#include "foundation/RuntimeError.h"
#include "settings/Options.h"

#include <QPainter>
#include <cstring>

namespace {

const QRect kSurfaceRect(0, 0, Cell::kSurfaceWidth, Cell::kSurfaceHeight);
const QString kPrompt = QStringLiteral("COMMAND: ");

inline quint32 blendChannel(quint32 under, quint32 over, quint32 alpha)
{
    return (under * (255 - alpha) + over * alpha + 127) / 255;
}

} // namespace

Console::Console(const Options &options, const NowPlaying &nowPlaying)
    : m_options(options), m_nowPlaying(nowPlaying)
{
    for (QImage &surface : m_surfaces) {
        surface = QImage(Cell::kSurfaceWidth, Cell::kSurfaceHeight, QImage::Format_RGB32);
        surface.fill(Colours::toRgb(Colours::kBlack));
    }
}

void Console::markDirty(const QRect &rect)
{
    const bool wasClean = m_dirty.isEmpty();
    m_dirty |= rect & kSurfaceRect;
    if (wasClean && !m_dirty.isEmpty() && m_onDirty)
        m_onDirty();
}

void Console::setBackground(qint32 colour, const QImage &picture)
{
    QImage &background = m_surfaces[1];
    background.fill(Colours::toRgb(colour));
    if (!picture.isNull()) {
        QPainter painter(&background);
        painter.drawImage(0, 0, picture);
    }
    m_backgroundColour = colour;
}

QRect Console::takeDirty()
{
    return std::exchange(m_dirty, QRect());
}

void Console::copyFromBackground(const QRect &rect)
{
    const QRect r = rect & kSurfaceRect;
    if (r.isEmpty())
        return;
    const QImage &from = m_surfaces[1];
    QImage &to = m_surfaces[0];
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::memcpy(reinterpret_cast<QRgb *>(to.scanLine(y)) + r.left(),
                    reinterpret_cast<const QRgb *>(from.constScanLine(y)) + r.left(),
                    r.width() * sizeof(QRgb));
    }
    markDirty(r);
}

void Console::fill(const QRect &rect, qint32 colour)
{
    const QRect r = rect & kSurfaceRect;
    if (r.isEmpty())
        return;
    const QRgb pixel = Colours::toRgb(colour);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(m_surfaces[0].scanLine(y)) + r.left();
        std::fill(line, line + r.width(), pixel);
    }
    markDirty(r);
}

void Console::paintCell(const QRect &cell, const GlyphCache::Mask *mask, qint32 colour)
{
    const QRect r = cell & kSurfaceRect;
    if (r.isEmpty())
        return;
    // One pass per pixel row: background, optional text background, then the glyph.
    const bool filled = m_options.hasTextBackground();
    const QRgb fillPixel = filled ? Colours::toRgb(m_options.textBackground()) : 0;
    const QRgb pen = Colours::toRgb(colour);
    const qsizetype stride = m_surfaces[0].bytesPerLine() / sizeof(QRgb);
    QRgb *to = reinterpret_cast<QRgb *>(m_surfaces[0].bits());
    const QRgb *from = reinterpret_cast<const QRgb *>(m_surfaces[1].constBits());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb *line = to + y * stride + r.left();
        if (filled)
            std::fill(line, line + r.width(), fillPixel);
        else
            std::memcpy(line, from + y * stride + r.left(), r.width() * sizeof(QRgb));
        if (!mask)
            continue;
        const uchar *coverage =
            mask->data() + (y - cell.top()) * Cell::kWidth + (r.left() - cell.left());
        for (int x = 0; x < r.width(); ++x) {
            const quint32 a = coverage[x];
            if (a == 0)
                continue;
            if (a == 255) {
                line[x] = pen;
                continue;
            }
            const QRgb under = line[x];
            line[x] = qRgb(blendChannel(qRed(under), qRed(pen), a),
                           blendChannel(qGreen(under), qGreen(pen), a),
                           blendChannel(qBlue(under), qBlue(pen), a));
        }
    }
    markDirty(r);
}

void Console::DrawChar(QChar character, int column, int row, qint32 &colour)
{
    if (colour == -1)
        colour = m_options.textColour();
    // Every cell that reaches the surface is in the record; the others (whose pixel
    // position need not even fit an int) are refused before any geometry.
    if (column < 1 || column > Cell::kRecordColumns || row < 1 || row > Cell::kRecordRows)
        throw RuntimeError::subscriptOutOfRange();
    m_cells.set(column, row, character, colour);
    paintCell(Cell::rect(column, row), &m_glyphs.mask(m_face, character), colour);
}

int Console::DrawText(const QString &text, int row, qint32 colour, int xpos)
{
    int k = 0;
    for (const QChar c : text) {
        ++k;
        DrawChar(c, xpos + k, row, colour);
        if (xpos + k == Cell::kTextColumns) {
            ++row;
            k = 0;
        }
    }
    return row;
}

void Console::TypeText(const QString &text)
{
    for (const QChar c : text) {
        if (curRow < Cell::kRecordRows && curCol < Cell::kRecordColumns) {
            cmdText += c;
            qint32 colour = -1;
            DrawChar(c, curCol, curRow, colour);
            ++curCol;
        }
        if (curCol == Cell::kRecordColumns) {
            curCol = 1;
            ++curRow;
        }
    }
}

void Console::redrawPrompt()
{
    DrawText(QString(cmdText.size() + kHomeColumn, u' '), kHomeRow, -1, 0);
    DrawText(kPrompt, kHomeRow, -1, 3);
    curCol = kHomeColumn;
    curRow = kHomeRow;
}

void Console::ClScreen()
{
    copyFromBackground(kSurfaceRect);
    m_cells.clear();
    if (dispMode != Prompt && dispMode != AliasExpansion)
        return;
    DrawText(kPrompt, kHomeRow, -1, 3);
    if (m_options[Options::ShowNowPlaying] == u"1" && m_nowPlaying.fileLoaded()) {
        DrawText(QStringLiteral("Playing track:"), 27, -1, 0);
        DrawText(QString(92, u' '), 28, -1, 0);
        DrawText(m_nowPlaying.detailsText(), 28, -1, 0);
    }
}

void Console::ColourBlock(int row, int column, qint32 colour)
{
    fill(Cell::rect(column, row), colour);
}

void Console::ColourText(double startline)
{
    const int r = static_cast<int>(startline);
    DrawText(QStringLiteral("Built-in Colours:"), r, -1, 0);
    const auto drawList = [&](const QList<Colours::ChartEntry> &entries, int swatchColumn,
                              int labelXpos) {
        for (int k = 1; k <= entries.size(); ++k) {
            const auto &entry = entries[k - 1];
            ColourBlock(r + 2 * k, swatchColumn, Colours::GetColour(entry.name, Colours::kWhite));
            DrawText(entry.label, r + 2 * k, -1, labelXpos);
        }
    };
    drawList(Colours::chartLeft(), 5, 7);
    drawList(Colours::chartRight(), 25, 27);
    DrawText(
        QStringLiteral("As well as using the colour names, you can   use the number code e.g. 255 "
                       "for red (from 0 - black to 16777215 - white).  HTML colours  are also "
                       "supported e.g.: #FF0000 for red."),
        r, -1, 48);
}

void Console::scrollPixels(const QRect &source, QPoint target)
{
    QImage &image = m_surfaces[0];
    const QRect from = source & kSurfaceRect;
    const QRect to =
        QRect(target + (from.topLeft() - source.topLeft()), from.size()) & kSurfaceRect;
    const int rows = to.height();
    const int width = std::min(from.width(), to.width()) * static_cast<int>(sizeof(QRgb));
    const int dy = to.top() - from.top();
    // Rows are moved in the order that never reads a row already overwritten.
    for (int i = 0; i < rows; ++i) {
        const int y = dy > 0 ? to.bottom() - i : to.top() + i;
        std::memmove(reinterpret_cast<QRgb *>(image.scanLine(y)) + to.left(),
                     reinterpret_cast<const QRgb *>(image.constScanLine(y - dy)) + from.left(),
                     width);
    }
    markDirty(to);
}
