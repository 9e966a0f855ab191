#pragma once
// What each cell of the console shows: its character and the colour it was drawn in,
// so the screen's text can be copied, exported and searched.

#include "console/CellGeometry.h"

#include <QString>
#include <array>

class CellRecord
{
public:
    CellRecord() { clear(); }

    void clear();
    // Columns 1..94, rows 1..37; anything else raises "Subscript out of range (9)".
    void set(int column, int row, QChar character, qint32 colour);
    // The fixed 9-character entry: the character, then the decimal colour, blank-padded;
    // nine characters of code 0 for a cell not written since the last clear.
    QString entry(int column, int row) const;
    // The character, or code 0 for a cell not written since the last clear.
    QChar character(int column, int row) const;
    // One row of 94 characters, blanks for cells not written.
    QString rowText(int row) const;
    // 37 rows of 94 characters, each followed by CR LF, as the screen export writes it.
    QString screenText() const;
    // Moves columns 1..columns of rows [fromRow, fromRow + count) to start at toRow, as the
    // pager scrolls its text (its arrow column stays where it is).
    void moveRows(int fromRow, int count, int toRow, int columns);

private:
    struct Entry
    {
        char16_t character = 0;
        bool written = false;
        qint32 colour = 0;
    };
    static int index(int column, int row)
    {
        return (row - 1) * Cell::kRecordColumns + (column - 1);
    }
    std::array<Entry, Cell::kRecordColumns * Cell::kRecordRows> m_cells;
};
