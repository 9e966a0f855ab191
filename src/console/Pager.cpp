#include "console/Pager.h"

#include "console/Console.h"
#include "foundation/Colours.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextCells.h"

namespace {

const QString kBlankRow(Cell::kTextColumns, u' ');
constexpr int kUpArrow = 233;
constexpr int kDownArrow = 234;

} // namespace

Pager::Pager(Console &console) : m_console(console) {}

void Pager::mline(const QString &text)
{
    QStringList lines;
    QList<QStringView> pieces;
    for (const QStringView line : QStringView(text).split(u"\r\n")) {
        pieces.clear();
        cut(line, &pieces);
        for (const QStringView piece : pieces) {
            if (lines.size() == kCapacity)
                throw RuntimeError::subscriptOutOfRange();
            lines.append(piece.toString());
        }
    }
    m_lines = std::move(lines);
    pageTop = 0;
    m_console.setMode(Console::Mode::Pager);
    if (m_onShown)
        m_onShown();
    mLineDisp(0);
}

qsizetype Pager::cut(QStringView line, QList<QStringView> *pieces)
{
    if (TextCells::isPlain(line)) {
        const qsizetype count = line.size() <= kLineWidth ? 1 : line.size() / kLineWidth + 1;
        for (qsizetype k = 0; pieces && k < count; ++k)
            pieces->append(line.mid(k * kLineWidth, kLineWidth));
        return count;
    }
    if (TextCells::cells(line) <= kLineWidth) {
        if (pieces)
            pieces->append(line);
        return 1;
    }
    qsizetype count = 0;
    for (QStringView rest = line;;) {
        const QStringView piece = TextCells::left(rest, kLineWidth);
        if (pieces)
            pieces->append(piece);
        ++count;
        rest = rest.mid(piece.size());
        if (rest.isEmpty()) {
            if (TextCells::cells(piece) == kLineWidth) {
                if (pieces)
                    pieces->append(QStringView());
                ++count;
            }
            return count;
        }
    }
}

void Pager::drawLine(int index, int row, bool grey)
{
    m_console.DrawText(pageLine(index), row, grey ? Colours::kGrey : -1, 0);
}

void Pager::drawPage(int greyBelow)
{
    for (int i = pageTop; i < pageTop + kPageRows; ++i)
        drawLine(i, i + 1 - pageTop, plView && i < greyBelow);
}

void Pager::drawArrows()
{
    m_console.setFace(GlyphCache::Face::Arrows);
    qint32 silver = Colours::kSilver;
    qint32 text = -1;
    if (pageTop >= 1)
        m_console.DrawChar(QChar(kUpArrow), Cell::kTextColumns, 1, silver);
    else
        m_console.DrawChar(u' ', Cell::kTextColumns, 1, text);
    if (pageCount() > pageTop)
        m_console.DrawChar(QChar(kDownArrow), Cell::kTextColumns, Cell::kRecordRows, silver);
    else
        m_console.DrawChar(u' ', Cell::kTextColumns, Cell::kRecordRows, text);
    m_console.resetFont();
}

void Pager::mLineDisp(int operation)
{
    const int count = pageCount();
    switch (operation) {
    case 0:
        pageTop = 0;
        drawPage(kHeaderLines);
        break;
    case 1:
        if (pageTop < count) {
            ++pageTop;
            m_console.scrollPixels(QRect(0, Cell::kHeight, 1013, 756), QPoint(0, 0));
            m_console.moveRecordRows(2, kPageRows - 1, 1, kLineWidth);
            m_console.DrawText(kBlankRow, kPageRows);
            drawLine(pageTop + kPageRows - 1, kPageRows, false);
        }
        break;
    case 2:
        if (pageTop >= 1) {
            --pageTop;
            m_console.scrollPixels(QRect(0, 0, 1013, 738), QPoint(0, Cell::kHeight));
            m_console.moveRecordRows(1, kPageRows - 1, 2, kLineWidth);
            m_console.DrawText(kBlankRow, 1);
            drawLine(pageTop, 1, plView && pageTop < kHeaderLines);
        }
        break;
    case 3:
        if (count >= kPageRows) {
            m_console.ClScreen();
            pageTop = pageTop + 72 >= count ? count - kPageRows : pageTop + 35;
            drawPage(0);
        }
        break;
    case 4:
        if (pageTop >= 1) {
            m_console.ClScreen();
            pageTop = pageTop > 35 ? pageTop - 35 : 0;
            drawPage(pageTop < kHeaderLines ? kHeaderLines : 0);
        }
        break;
    case 5:
        if (count >= kPageRows) {
            pageTop = count - kPageRows;
            m_console.ClScreen();
            drawPage(0);
        }
        break;
    case 6: {
        // Only while the player in use has a file; otherwise not even the arrows move.
        const std::optional<int> top = m_currentTrackTop ? m_currentTrackTop() : std::nullopt;
        if (!top)
            return;
        pageTop = *top;
        m_console.ClScreen();
        drawPage(0);
        break;
    }
    case 7:
        m_console.ClScreen();
        // Only the second header line can stand on the first row here.
        drawPage(pageTop == 1 ? kHeaderLines : 0);
        break;
    default:
        return;
    }
    drawArrows();
}

bool PagerText::add(QStringView lines)
{
    if (m_full)
        return false;
    qsizetype pieces = 0;
    for (qsizetype start = 0; start < lines.size();) {
        qsizetype end = lines.indexOf(u"\r\n", start);
        if (end < 0)
            end = lines.size();
        pieces += Pager::cut(lines.mid(start, end - start));
        start = end + 2;
    }
    if (m_pieces + pieces > Pager::kCapacity) {
        m_full = true;
        return false;
    }
    m_pieces += pieces;
    m_text += lines;
    return true;
}
