#include "console/Pager.h"

#include "console/Console.h"
#include "foundation/Colours.h"
#include "foundation/RuntimeError.h"

namespace {

const QString kBlankRow(Cell::kTextColumns, u' ');
constexpr int kUpArrow = 233;
constexpr int kDownArrow = 234;

} // namespace

Pager::Pager(Console &console) : m_console(console) {}

void Pager::mline(const QString &text)
{
    QStringList lines;
    for (const QStringView line : QStringView(text).split(u"\r\n")) {
        qsizetype start = 0;
        do {
            if (lines.size() == kCapacity)
                throw RuntimeError::subscriptOutOfRange();
            lines.append(line.mid(start, kLineWidth).toString());
            start += kLineWidth;
            // A line of exactly n x 92 characters (n > 1) ends with an empty piece.
        } while (start < line.size() || (start == line.size() && line.size() > kLineWidth));
    }
    m_lines = std::move(lines);
    pageTop = 0;
    m_console.dispMode = Console::Pager;
    if (m_onShown)
        m_onShown();
    m_console.ClScreen();
    mLineDisp(0);
}

void Pager::drawLine(int index, int row)
{
    m_console.DrawText(pageLine(index), row, isHeader(index) ? Colours::kGrey : -1, 0);
}

void Pager::drawPage()
{
    for (int i = pageTop; i < pageTop + kPageRows; ++i)
        drawLine(i, i + 1 - pageTop);
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
        drawPage();
        break;
    case 1:
        if (pageTop < count) {
            ++pageTop;
            m_console.scrollPixels(QRect(0, Cell::kHeight, 1013, 756), QPoint(0, 0));
            m_console.moveRecordRows(2, kPageRows - 1, 1, kLineWidth);
            m_console.DrawText(kBlankRow, kPageRows);
            drawLine(pageTop + kPageRows - 1, kPageRows);
        }
        break;
    case 2:
        if (pageTop >= 1) {
            --pageTop;
            m_console.scrollPixels(QRect(0, 0, 1013, 738), QPoint(0, Cell::kHeight));
            m_console.moveRecordRows(1, kPageRows - 1, 2, kLineWidth);
            m_console.DrawText(kBlankRow, 1);
            drawLine(pageTop, 1);
        }
        break;
    case 3:
        if (count >= kPageRows) {
            m_console.ClScreen();
            pageTop = pageTop + 72 >= count ? count - kPageRows : pageTop + 35;
            drawPage();
        }
        break;
    case 4:
        if (pageTop >= 1) {
            m_console.ClScreen();
            pageTop = pageTop > 35 ? pageTop - 35 : 0;
            drawPage();
        }
        break;
    case 5:
        if (count >= kPageRows) {
            pageTop = count - kPageRows;
            m_console.ClScreen();
            drawPage();
        }
        break;
    case 6:
        // The current track's page needs the playlist players; with none loaded there is
        // no such page and nothing is redrawn.
        return;
    case 7:
        m_console.ClScreen();
        drawPage();
        break;
    default:
        return;
    }
    drawArrows();
}
