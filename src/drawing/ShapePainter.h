#pragma once
// Shapes painted onto the console surface the way classic raster drawing primitives paint
// them: no smoothing, round pen ends and joins. Geometry far outside the surface is cut down
// first, so any numbers a command is given draw the visible part quickly.

#include <QImage>
#include <QPointF>

namespace ShapePainter {

struct Pen
{
    QRgb colour;
    int width; // pixels, 1 or more
};

// The outline of the rectangle with corners a and b; filled also paints its inside.
void box(QImage &surface, QPointF a, QPointF b, Pen pen, bool filled);
// The circle around centre; filled also paints its inside.
void circle(QImage &surface, QPointF centre, double radius, Pen pen, bool filled);
void line(QImage &surface, QPointF a, QPointF b, Pen pen);
// One pixel; outside the surface nothing.
void pixel(QImage &surface, QPointF at, QRgb colour);

} // namespace ShapePainter
