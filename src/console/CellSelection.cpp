#include "console/CellSelection.h"

#include "console/CellRecord.h"

#include <algorithm>

namespace {

bool before(QPoint a, QPoint b)
{
    return a.y() < b.y() || (a.y() == b.y() && a.x() < b.x());
}

bool isWordCell(const CellRecord &cells, int column, int row)
{
    if (cells.span(column, row) == CellRecord::Span::Continuation && cells.written(column, row))
        return true;
    const QChar c = cells.character(column, row);
    return c.unicode() != 0 && !c.isSpace();
}

} // namespace

CellSelection CellSelection::between(QPoint a, QPoint b)
{
    return before(b, a) ? CellSelection{b, a} : CellSelection{a, b};
}

CellSelection CellSelection::wordAt(const CellRecord &cells, QPoint cell)
{
    const int row = cell.y();
    if (!isWordCell(cells, cell.x(), row))
        return {cell, cell};
    int first = cell.x();
    while (first > 1 && isWordCell(cells, first - 1, row))
        --first;
    int last = cell.x();
    while (last < Cell::kRecordColumns && isWordCell(cells, last + 1, row))
        ++last;
    return {QPoint(first, row), QPoint(last, row)};
}

QPoint CellSelection::cellAt(QPoint pixel)
{
    return {std::clamp(pixel.x() / Cell::kWidth + 1, 1, Cell::kRecordColumns),
            std::clamp(pixel.y() / Cell::kHeight + 1, 1, Cell::kRecordRows)};
}

bool CellSelection::contains(QPoint cell) const
{
    return !before(cell, first) && !before(last, cell);
}

QString CellSelection::text(const CellRecord &cells) const
{
    QString text;
    for (int row = first.y(); row <= last.y(); ++row) {
        int from = row == first.y() ? first.x() : 1;
        const int to = row == last.y() ? last.x() : Cell::kRecordColumns;
        // Starting on a continuation takes the wide character it continues.
        if (from > 1 && cells.span(from, row) == CellRecord::Span::Continuation &&
            cells.written(from, row))
            --from;
        QString line;
        for (int column = from; column <= to; ++column) {
            if (cells.span(column, row) == CellRecord::Span::Continuation &&
                cells.written(column, row))
                continue;
            const QString cell = cells.text(column, row);
            line += cell.isEmpty() || cell[0].unicode() == 0 ? QStringLiteral(" ") : cell;
        }
        while (line.endsWith(u' '))
            line.chop(1);
        if (row > first.y())
            text += u'\n';
        text += line;
    }
    return text;
}
