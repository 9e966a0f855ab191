#pragma once
// Cells chosen with the mouse, as terminals choose them: from one cell to another in reading
// order, or the word under a double click; and their text for the X selection.

#include <QPoint>
#include <QString>

class CellRecord;

struct CellSelection
{
    // Cells (column, row), counted from 1; first is never after last in reading order.
    QPoint first;
    QPoint last;

    // The cells from one cell to another, in whichever order they were given.
    static CellSelection between(QPoint a, QPoint b);
    // The run of cells around a cell that are neither blank nor empty; just that cell when
    // it is blank.
    static CellSelection wordAt(const CellRecord &cells, QPoint cell);
    // The cell of a console pixel.
    static QPoint cellAt(QPoint pixel);

    bool contains(QPoint cell) const;
    // Each row's part without its trailing blanks, rows joined by line feeds; a wide
    // character once, whichever of its cells the selection starts or ends on.
    QString text(const CellRecord &cells) const;
};
