#pragma once
// The console's cell grid: the one place that turns a cell into pixels.

#include <QPoint>
#include <QRect>

namespace Cell {

constexpr int kWidth = 11;
constexpr int kHeight = 21;
constexpr int kTextColumns = 93; // columns used by text
constexpr int kTextRows = 36;    // rows wholly inside the surface
constexpr int kRecordColumns = 94;
constexpr int kRecordRows = 37;
constexpr int kSurfaceWidth = 1024;
constexpr int kSurfaceHeight = 768;

// Columns and rows count from 1.
constexpr QPoint origin(int column, int row)
{
    return {(column - 1) * kWidth, (row - 1) * kHeight};
}

constexpr QRect rect(int column, int row)
{
    return {origin(column, row), QSize(kWidth, kHeight)};
}

} // namespace Cell
