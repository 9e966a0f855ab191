#pragma once
// What each cell of the console shows: its character and the colour it was drawn in,
// so the screen's text can be copied, exported and searched. A character is a cluster (a
// character with the marks that join it); a wide one fills its cell and the next, which is
// its continuation.

#include "console/CellGeometry.h"
#include "foundation/TextCells.h"

#include <QString>
#include <array>

class CellRecord
{
public:
    enum class Span : quint8 { Single, Lead, Continuation };

    CellRecord() { clear(); }

    void clear();
    // Columns 1..94, rows 1..37; anything else raises "Subscript out of range (9)".
    // style says how the window drew it (the console or the arrows' font), so a row shown
    // again from the record looks the same.
    void set(int column, int row, QChar character, qint32 colour, quint8 style = 0);
    // A cluster (at most TextCells::kMaxClusterUnits units), as a single cell or as the lead
    // of a wide character; the caller writes the continuation cell too.
    void set(int column, int row, QStringView cluster, qint32 colour, Span span,
             bool rightToLeft = false);
    // The fixed 9-character entry: the character, then the decimal colour, blank-padded
    // (a character of several units makes it longer by as many); nine characters of code 0
    // for a cell not written since the last clear and for a continuation cell.
    QString entry(int column, int row) const;
    // The first unit of the character, or code 0 for a cell not written since the last
    // clear and for a continuation cell.
    QChar character(int column, int row) const;
    // The whole cluster; empty as for character().
    QString text(int column, int row) const;
    qint32 colour(int column, int row) const { return at(column, row).colour; }
    bool written(int column, int row) const { return at(column, row).written; }
    Span span(int column, int row) const { return at(column, row).span; }
    bool rightToLeft(int column, int row) const { return at(column, row).rightToLeft; }
    quint8 style(int column, int row) const { return at(column, row).style; }
    // Columns 1..columns of one row, blanks for cells not written, a wide character once
    // and nothing for its continuation, so the text spans that many cells.
    QString rowText(int row, int columns = Cell::kRecordColumns) const;
    // 37 rows of 94 cells, each followed by CR LF, as the screen export writes it.
    QString screenText() const;
    // Moves columns 1..columns of rows [fromRow, fromRow + count) to start at toRow, as the
    // pager scrolls its text (its arrow column stays where it is).
    void moveRows(int fromRow, int count, int toRow, int columns);

    // Rows whose pixels show right-to-left text in visual order, unlike the record.
    bool reordered(int row) const { return m_reordered[row - 1]; }
    void setReordered(int row, bool reordered) { m_reordered[row - 1] = reordered; }

private:
    struct Entry
    {
        std::array<char16_t, TextCells::kMaxClusterUnits> units{};
        quint8 length = 0;
        bool written = false;
        Span span = Span::Single;
        bool rightToLeft = false;
        quint8 style = 0;
        qint32 colour = 0;
    };
    static int index(int column, int row)
    {
        return (row - 1) * Cell::kRecordColumns + (column - 1);
    }
    static void check(int column, int row);
    const Entry &at(int column, int row) const { return m_cells[index(column, row)]; }
    std::array<Entry, Cell::kRecordColumns * Cell::kRecordRows> m_cells;
    std::array<bool, Cell::kRecordRows> m_reordered{};
};
