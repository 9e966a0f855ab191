#include "console/Console.h"

#include "console/NowPlaying.h"
#include "foundation/Colours.h"
#include "foundation/RuntimeError.h"
#include "settings/Options.h"

#include <QPainter>
#include <cstring>
#include <utility>
#include <unicode/ubidi.h>
#include <vector>

namespace {

bool sharesThePromptScreen(Console::Mode mode)
{
    return mode == Console::Mode::Prompt || mode == Console::Mode::AliasExpansion;
}

const QRect kSurfaceRect(0, 0, Cell::kSurfaceWidth, Cell::kSurfaceHeight);
const QString kPrompt = QStringLiteral("COMMAND: ");
// Marks a gap in a row for the bidi algorithm: text on either side is never reordered across
// a cell not written.
constexpr char16_t kLeftToRightMark = 0x200E;

} // namespace

Console::Console(const Options &options, const NowPlaying &nowPlaying)
    : m_options(options), m_nowPlaying(nowPlaying),
      m_plainBackground(Colours::toRgb(Colours::kBlack))
{
    m_surfaces[0] = QImage(Cell::kSurfaceWidth, Cell::kSurfaceHeight, QImage::Format_RGB32);
    m_surfaces[0].fill(m_plainBackground);
}

void Console::markDirty(const QRect &rect)
{
    const QRect r = rect & kSurfaceRect;
    if (r.isEmpty())
        return;
    const bool wasClean = m_dirty.isEmpty();
    m_dirty.add(r);
    m_unlikeBackground.add(r);
    if (wasClean && m_onDirty)
        m_onDirty();
}

void Console::setBackground(qint32 colour, const QImage &picture)
{
    QImage &background = m_surfaces[1];
    const QRgb pixel = Colours::toRgb(colour);
    m_backgroundColour = colour;
    if (picture.isNull()) {
        if (background.isNull() && pixel == m_plainBackground)
            return;
        background = QImage();
        m_plainBackground = pixel;
    } else {
        background = QImage(Cell::kSurfaceWidth, Cell::kSurfaceHeight, QImage::Format_RGB32);
        background.fill(pixel);
        QPainter painter(&background);
        painter.drawImage(0, 0, picture);
    }
    m_unlikeBackground.add(kSurfaceRect);
}

QRegion Console::takeDirty()
{
    QRegion dirty = m_dirty.region();
    m_dirty.clear();
    return dirty;
}

void Console::copyFromBackground(const QRect &rect)
{
    const QRect r = rect & kSurfaceRect;
    if (r.isEmpty())
        return;
    if (r != kSurfaceRect) {
        copyRowsFromBackground(r);
        markDirty(r);
        return;
    }
    // The rest of the surface shows the background already.
    for (const QRect &unlike : m_unlikeBackground.rects()) {
        copyRowsFromBackground(unlike);
        markDirty(unlike);
    }
    m_unlikeBackground.clear();
}

void Console::copyRowsFromBackground(const QRect &r)
{
    const QImage &from = m_surfaces[1];
    QImage &to = m_surfaces[0];
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(to.scanLine(y)) + r.left();
        if (from.isNull())
            std::fill(line, line + r.width(), m_plainBackground);
        else
            std::memcpy(line, reinterpret_cast<const QRgb *>(from.constScanLine(y)) + r.left(),
                        r.width() * sizeof(QRgb));
    }
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

void Console::paintCell(const QRect &cells, const uchar *coverage, int stride, qint32 colour)
{
    const QRect r = cells & kSurfaceRect;
    if (r.isEmpty())
        return;
    // One pass per pixel row: background, optional text background, then the glyph.
    const bool filled = m_options.hasTextBackground() || m_surfaces[1].isNull();
    const QRgb fillPixel = m_options.hasTextBackground()
                               ? Colours::toRgb(m_options.textBackground())
                               : m_plainBackground;
    const QRgb pen = Colours::toRgb(colour);
    const qsizetype surfaceStride = m_surfaces[0].bytesPerLine() / sizeof(QRgb);
    QRgb *to = reinterpret_cast<QRgb *>(m_surfaces[0].bits());
    const QRgb *from = reinterpret_cast<const QRgb *>(m_surfaces[1].constBits());
    const QRgb *blends = filled && coverage ? m_blends.from(fillPixel, pen) : nullptr;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb *line = to + y * surfaceStride + r.left();
        const uchar *alpha =
            coverage ? coverage + (y - cells.top()) * stride + (r.left() - cells.left()) : nullptr;
        if (blends) {
            for (int x = 0; x < r.width(); ++x)
                line[x] = blends[alpha[x]];
            continue;
        }
        if (filled)
            std::fill(line, line + r.width(), fillPixel);
        else
            std::memcpy(line, from + y * surfaceStride + r.left(), r.width() * sizeof(QRgb));
        if (!alpha)
            continue;
        for (int x = 0; x < r.width(); ++x)
            line[x] = BlendTable::blend(line[x], pen, alpha[x]);
    }
    markDirty(r);
}

void Console::blankCell(int column, int row)
{
    m_cells.set(column, row, u' ', m_cells.colour(column, row));
    paintCell(Cell::rect(column, row), nullptr, 0, 0);
}

void Console::unpair(int column, int row, int width)
{
    using Span = CellRecord::Span;
    if (m_cells.span(column, row) == Span::Continuation && column > 1 &&
        m_cells.written(column, row))
        blankCell(column - 1, row);
    const int last = column + width - 1;
    if (m_cells.span(last, row) == Span::Lead && last < Cell::kRecordColumns &&
        m_cells.written(last, row))
        blankCell(last + 1, row);
}

void Console::putChar(QChar character, int column, int row, qint32 colour)
{
    // Every cell that reaches the surface is in the record; the others (whose pixel
    // position need not even fit an int) are refused before any geometry.
    if (column < 1 || column > Cell::kRecordColumns || row < 1 || row > Cell::kRecordRows)
        throw RuntimeError::subscriptOutOfRange();
    unpair(column, row, 1);
    m_cells.set(column, row, character, colour, static_cast<quint8>(m_face));
    // A lone surrogate is a byte of a file name that is not UTF-8: the record keeps it, so a
    // name copied off the screen still opens the file, and the cell shows U+FFFD.
    const QChar glyph = character.isSurrogate() ? QChar(QChar::ReplacementCharacter) : character;
    paintCell(Cell::rect(column, row), m_glyphs.mask(m_face, glyph).data(), Cell::kWidth,
              colour);
}

void Console::putCluster(QStringView cluster, int width, bool rightToLeft, int column, int row,
                         qint32 colour)
{
    if (column < 1 || column + width - 1 > Cell::kRecordColumns || row < 1 ||
        row > Cell::kRecordRows)
        throw RuntimeError::subscriptOutOfRange();
    // A lone character of one cell needs no text of its own: the common case, even in text
    // that is not plain.
    if (width == 1 && cluster.size() == 1 && !rightToLeft) {
        putChar(QChar(TextCells::shown(cluster[0].unicode())), column, row, colour);
        return;
    }
    QString shown = cluster.left(TextCells::kMaxClusterUnits).toString();
    shown[0] = QChar(TextCells::shown(shown[0].unicode()));
    unpair(column, row, width);
    using Span = CellRecord::Span;
    m_cells.set(column, row, shown, colour, width == 2 ? Span::Lead : Span::Single, rightToLeft);
    if (width == 2)
        m_cells.set(column + 1, row, QStringView(), colour, Span::Continuation);
    const GlyphCache::Strip &strip = m_glyphs.cluster(shown, width);
    paintCell(QRect(Cell::origin(column, row), QSize(width * Cell::kWidth, Cell::kHeight)),
              strip.coverage.data(), width * Cell::kWidth, colour);
}

void Console::paintRecorded(int column, int row)
{
    if (!m_cells.written(column, row) ||
        m_cells.span(column, row) == CellRecord::Span::Continuation)
        return;
    const QString text = m_cells.text(column, row);
    const qint32 colour = m_cells.colour(column, row);
    if (m_cells.span(column, row) == CellRecord::Span::Lead) {
        const GlyphCache::Strip &strip = m_glyphs.cluster(text, 2);
        paintCell(QRect(Cell::origin(column, row), QSize(2 * Cell::kWidth, Cell::kHeight)),
                  strip.coverage.data(), 2 * Cell::kWidth, colour);
    } else if (text.size() == 1) {
        const auto face = static_cast<GlyphCache::Face>(m_cells.style(column, row));
        paintCell(Cell::rect(column, row), m_glyphs.mask(face, text[0]).data(), Cell::kWidth,
                  colour);
    } else {
        paintCell(Cell::rect(column, row), m_glyphs.cluster(text, 1).coverage.data(), Cell::kWidth,
                  colour);
    }
}

void Console::layoutRow(int row)
{
    // The row as the bidi algorithm reads it, and the column of each of its units.
    QString line;
    std::vector<int> columns;
    bool rightToLeft = false;
    for (int column = 1; column <= Cell::kRecordColumns; ++column) {
        if (m_cells.span(column, row) == CellRecord::Span::Continuation &&
            m_cells.written(column, row))
            continue;
        const QString text = m_cells.text(column, row);
        if (text.isEmpty() || text[0].unicode() == 0) {
            line += QChar(kLeftToRightMark);
            columns.push_back(column);
            continue;
        }
        rightToLeft = rightToLeft || m_cells.rightToLeft(column, row);
        line += text;
        columns.insert(columns.end(), text.size(), column);
    }
    if (!rightToLeft && !m_cells.reordered(row))
        return;
    // Whatever an earlier visual order put where, each cell shows its own character first.
    if (m_cells.reordered(row)) {
        for (int column = 1; column <= Cell::kRecordColumns; ++column)
            paintRecorded(column, row);
    }
    m_cells.setReordered(row, rightToLeft);
    if (!rightToLeft)
        return;
    UErrorCode error = U_ZERO_ERROR;
    UBiDi *bidi = ubidi_openSized(static_cast<int32_t>(line.size()), 0, &error);
    ubidi_setPara(bidi, reinterpret_cast<const UChar *>(line.utf16()),
                  static_cast<int32_t>(line.size()), UBIDI_LTR, nullptr, &error);
    const UBiDiLevel *levels = U_SUCCESS(error) ? ubidi_getLevels(bidi, &error) : nullptr;
    if (!levels || U_FAILURE(error)) {
        ubidi_close(bidi);
        return;
    }
    // Each run above the row's own level is shown as a whole, in the colour of its first
    // character.
    for (qsizetype start = 0; start < line.size();) {
        if (levels[start] == 0) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < line.size() && levels[end] > 0)
            ++end;
        const int first = columns[start];
        int last = columns[end - 1];
        if (m_cells.span(last, row) == CellRecord::Span::Lead)
            ++last;
        const int cells = last - first + 1;
        const GlyphCache::Strip strip = m_glyphs.rightToLeft(line.mid(start, end - start), cells);
        paintCell(QRect(Cell::origin(first, row), QSize(cells * Cell::kWidth, Cell::kHeight)),
                  strip.coverage.data(), cells * Cell::kWidth, m_cells.colour(first, row));
        start = end;
    }
    ubidi_close(bidi);
}

void Console::DrawChar(QChar character, int column, int row, qint32 &colour)
{
    if (colour == -1)
        colour = m_options.textColour();
    putChar(character, column, row, colour);
    if (m_cells.reordered(row))
        layoutRow(row);
}

int Console::DrawText(const QString &text, int row, qint32 colour, int xpos)
{
    if (colour == -1)
        colour = m_options.textColour();
    // A row holding right-to-left text is laid out again once its part has been drawn.
    bool rightToLeft = false;
    const auto endRow = [&] {
        if (row >= 1 && row <= Cell::kRecordRows && (rightToLeft || m_cells.reordered(row)))
            layoutRow(row);
        rightToLeft = false;
    };
    int k = 0;
    // Past column 93 the text goes on from column xpos + 1 of the next row.
    const auto advance = [&](int width) {
        k += width;
        if (xpos + k == Cell::kTextColumns) {
            endRow();
            ++row;
            k = 0;
        }
    };
    if (TextCells::isPlain(text)) {
        for (const QChar c : text) {
            putChar(c, xpos + k + 1, row, colour);
            advance(1);
        }
    } else {
        for (qsizetype i = 0; i < text.size();) {
            const TextCells::Cluster cluster = TextCells::clusterAt(text, i);
            i = cluster.next;
            if (cluster.width == 2 && xpos + k + 1 == Cell::kTextColumns && k > 0)
                advance(1);
            putCluster(QStringView(text).mid(cluster.start, cluster.length), cluster.width,
                       cluster.rightToLeft, xpos + k + 1, row, colour);
            rightToLeft = rightToLeft || cluster.rightToLeft;
            advance(cluster.width);
        }
    }
    if (k > 0)
        endRow();
    return row;
}

void Console::TypeText(const QString &text)
{
    // With the cursor inside the line, what is typed goes in at the cursor.
    if (cmdTail > 0 && cmdTail <= cmdText.size()) {
        const qsizetype at = cmdText.size() - cmdTail;
        showCommandLine(cmdText.left(at) + text + cmdText.mid(at), at + text.size());
        return;
    }
    for (qsizetype i = 0; i < text.size();) {
        // A high surrogate at the end waits on the line for its low half.
        if (text[i].isHighSurrogate() && i + 1 == text.size()) {
            if (curRow < Cell::kRecordRows)
                cmdText += text[i];
            ++i;
            continue;
        }
        const qsizetype units = text[i].isHighSurrogate() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const bool completesPair =
            text[i].isLowSurrogate() && !cmdText.isEmpty() && cmdText.back().isHighSurrogate();
        const QStringView typed = QStringView(text).mid(i, units);
        i += units;
        // A half pair whose other half never came is never shown: it leaves the line.
        if (!completesPair && !cmdText.isEmpty() && cmdText.back().isHighSurrogate())
            cmdText.chop(1);
        if (curRow >= Cell::kRecordRows)
            continue;
        // Only the end of the line can join what is typed: a character on the line holds
        // at most kMaxClusterUnits units, so a tail of three of them is enough to read.
        qsizetype tailStart =
            std::max<qsizetype>(0, cmdText.size() - 3 * TextCells::kMaxClusterUnits);
        if (tailStart > 0 && cmdText[tailStart].isLowSurrogate())
            --tailStart;
        const QString tail = QStringView(cmdText).mid(tailStart).toString() + typed.toString();
        const qsizetype before = tail.size() - typed.size() - (completesPair ? 1 : 0);
        const TextCells::Cluster last = TextCells::lastCluster(tail);
        if (tailStart + before > 0 && last.start < before) {
            if (last.start + last.length < tail.size())
                continue; // the character already holds as many marks as a cell keeps
            cmdText += typed;
            const qsizetype start = tailStart + last.start;
            const QPoint cell = typedCell(cmdText, start);
            putCluster(QStringView(cmdText).mid(start, last.length), last.width, last.rightToLeft,
                       cell.x(), cell.y(), m_options.textColour());
            if (last.rightToLeft || m_cells.reordered(cell.y()))
                layoutRow(cell.y());
            continue;
        }
        const TextCells::Cluster cluster = TextCells::clusterAt(tail, before);
        if (cluster.width == 2 && curCol == Cell::kTextColumns) {
            curCol = 1;
            ++curRow;
        }
        if (curRow < Cell::kRecordRows && curCol < Cell::kRecordColumns) {
            cmdText += typed;
            putCluster(QStringView(tail).mid(cluster.start, cluster.length), cluster.width,
                       cluster.rightToLeft, curCol, curRow, m_options.textColour());
            if (cluster.rightToLeft || m_cells.reordered(curRow))
                layoutRow(curRow);
            curCol += cluster.width;
        }
        if (curCol >= Cell::kRecordColumns) {
            curCol = 1;
            ++curRow;
        }
    }
}

void Console::eraseTyped()
{
    if (cmdText.isEmpty())
        return;
    qint32 colour = -1;
    DrawChar(u' ', curCol, curRow, colour);
    const qsizetype start = TextCells::lastCluster(cmdText).start;
    const QPoint cell = typedCell(cmdText, start);
    curCol = cell.x();
    curRow = cell.y();
    cmdText.truncate(start);
}

QPoint Console::typedCell(QStringView line, qsizetype clusterStart)
{
    int column = kHomeColumn;
    int row = kHomeRow;
    for (qsizetype i = 0; i < line.size();) {
        const TextCells::Cluster cluster = TextCells::clusterAt(line, i);
        if (cluster.width == 2 && column == Cell::kTextColumns) {
            column = 1;
            ++row;
        }
        if (i >= clusterStart)
            break;
        column += cluster.width;
        if (column >= Cell::kRecordColumns) {
            column = 1;
            ++row;
        }
        i = cluster.next;
    }
    return {column, row};
}

void Console::blankTyped()
{
    // Counted in cells, so wide characters are blanked whole; at most to the last row.
    const QPoint end = typedCell(cmdText, cmdText.size());
    const int cells = std::min(end.y(), Cell::kRecordRows) * Cell::kTextColumns -
                      (kHomeRow * Cell::kTextColumns) + std::min(end.x(), Cell::kTextColumns);
    DrawText(QString(cells, u' '), kHomeRow, -1, 0);
}

void Console::redrawPrompt()
{
    blankTyped();
    DrawText(kPrompt, kHomeRow, -1, 3);
    curCol = kHomeColumn;
    curRow = kHomeRow;
    cmdTail = 0;
}

void Console::showCommandLine(QString text, qsizetype cursor)
{
    redrawPrompt();
    cmdText.clear();
    TypeText(text);
    const QPoint cell = typedCell(cmdText, std::min(cursor, cmdText.size()));
    cmdTail = std::max<qsizetype>(0, cmdText.size() - cursor);
    if (cmdTail > 0) {
        curCol = cell.x();
        curRow = cell.y();
    }
}

void Console::drawCursor(bool visible)
{
    qint32 colour = -1;
    if (visible || cmdTail <= 0 || cmdTail > cmdText.size()) {
        DrawChar(visible ? u'_' : u' ', curCol, curRow, colour);
        return;
    }
    const TextCells::Cluster cluster = TextCells::clusterAt(cmdText, cmdText.size() - cmdTail);
    putCluster(QStringView(cmdText).mid(cluster.start, cluster.length), cluster.width,
               cluster.rightToLeft, curCol, curRow, m_options.textColour());
}

void Console::setMode(Mode next)
{
    const Mode previous = std::exchange(m_mode, next);
    if (sharesThePromptScreen(previous) && sharesThePromptScreen(next))
        return;
    resetFont();
    ClScreen();
    if (sharesThePromptScreen(next) && !cmdText.isEmpty())
        showCommandLine(cmdText, cmdText.size() - cmdTail);
}

void Console::ClScreen()
{
    copyFromBackground(kSurfaceRect);
    m_cells.clear();
    if (!sharesThePromptScreen(m_mode))
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
