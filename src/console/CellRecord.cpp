#include "console/CellRecord.h"

#include "foundation/RuntimeError.h"

#include <algorithm>

void CellRecord::clear()
{
    m_cells.fill(Entry{});
}

void CellRecord::set(int column, int row, QChar character, qint32 colour)
{
    if (column < 1 || column > Cell::kRecordColumns || row < 1 || row > Cell::kRecordRows)
        throw RuntimeError::subscriptOutOfRange();
    m_cells[index(column, row)] = Entry{character.unicode(), true, colour};
}

QString CellRecord::entry(int column, int row) const
{
    if (column < 1 || column > Cell::kRecordColumns || row < 1 || row > Cell::kRecordRows)
        throw RuntimeError::subscriptOutOfRange();
    const Entry &e = m_cells[index(column, row)];
    if (!e.written)
        return QString(9, QChar(0));
    // A fixed-length text of 9: longer colours (negative ones) are cut, shorter ones padded.
    return (QChar(e.character) + QString::number(e.colour)).leftJustified(9, u' ', true);
}

QChar CellRecord::character(int column, int row) const
{
    const Entry &e = m_cells[index(column, row)];
    return e.written ? QChar(e.character) : QChar(0);
}

QString CellRecord::rowText(int row) const
{
    QString text(Cell::kRecordColumns, u' ');
    for (int column = 1; column <= Cell::kRecordColumns; ++column) {
        const QChar c = character(column, row);
        if (c.unicode() != 0)
            text[column - 1] = c;
    }
    return text;
}

QString CellRecord::screenText() const
{
    QString text;
    text.reserve(Cell::kRecordRows * (Cell::kRecordColumns + 2));
    for (int row = 1; row <= Cell::kRecordRows; ++row) {
        text += rowText(row);
        text += u"\r\n";
    }
    return text;
}

void CellRecord::moveRows(int fromRow, int count, int toRow, int columns)
{
    // Row by row in the order that never reads a row already overwritten.
    for (int i = 0; i < count; ++i) {
        const int k = toRow < fromRow ? i : count - 1 - i;
        const auto source = m_cells.begin() + index(1, fromRow + k);
        std::copy(source, source + columns, m_cells.begin() + index(1, toRow + k));
    }
}
