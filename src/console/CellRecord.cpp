#include "console/CellRecord.h"

#include "foundation/RuntimeError.h"

#include <algorithm>

void CellRecord::clear()
{
    m_cells.fill(Entry{});
    m_reordered.fill(false);
}

void CellRecord::check(int column, int row)
{
    if (column < 1 || column > Cell::kRecordColumns || row < 1 || row > Cell::kRecordRows)
        throw RuntimeError::subscriptOutOfRange();
}

void CellRecord::set(int column, int row, QChar character, qint32 colour, quint8 style)
{
    check(column, row);
    Entry &e = m_cells[index(column, row)];
    e.units[0] = character.unicode();
    e.length = 1;
    e.written = true;
    e.span = Span::Single;
    e.rightToLeft = false;
    e.style = style;
    e.colour = colour;
}

void CellRecord::set(int column, int row, QStringView cluster, qint32 colour, Span span,
                     bool rightToLeft)
{
    check(column, row);
    Entry &e = m_cells[index(column, row)];
    const qsizetype length = std::min(cluster.size(), TextCells::kMaxClusterUnits);
    std::copy_n(cluster.utf16(), length, e.units.begin());
    e.length = static_cast<quint8>(length);
    e.written = true;
    e.span = span;
    e.rightToLeft = rightToLeft;
    e.style = 0;
    e.colour = colour;
}

QString CellRecord::entry(int column, int row) const
{
    check(column, row);
    const Entry &e = at(column, row);
    if (!e.written || e.span == Span::Continuation)
        return QString(9, QChar(0));
    // A fixed-length text of 9: longer colours (negative ones) are cut, shorter ones padded.
    return (text(column, row) + QString::number(e.colour)).leftJustified(8 + e.length, u' ', true);
}

QChar CellRecord::character(int column, int row) const
{
    const Entry &e = at(column, row);
    return e.written && e.span != Span::Continuation ? QChar(e.units[0]) : QChar(0);
}

QString CellRecord::text(int column, int row) const
{
    const Entry &e = at(column, row);
    if (!e.written || e.span == Span::Continuation)
        return {};
    return QString(reinterpret_cast<const QChar *>(e.units.data()), e.length);
}

QString CellRecord::rowText(int row, int columns) const
{
    QString text;
    text.reserve(columns);
    for (int column = 1; column <= columns; ++column) {
        const Entry &e = at(column, row);
        if (e.span == Span::Continuation && e.written)
            continue;
        if (!e.written || (e.length == 1 && e.units[0] == 0)) {
            text += u' ';
            continue;
        }
        // A wide character whose continuation falls past the columns asked for is left out.
        if (e.span == Span::Lead && column == columns) {
            text += u' ';
            continue;
        }
        text.append(reinterpret_cast<const QChar *>(e.units.data()), e.length);
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
        m_reordered[toRow + k - 1] = m_reordered[fromRow + k - 1];
    }
}
