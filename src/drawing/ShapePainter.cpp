#include "drawing/ShapePainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The surface grown by a pen's reach: anything beyond cannot show.
QRectF reach(const QImage &surface, int penWidth)
{
    const double margin = penWidth / 2.0 + 2;
    return QRectF(surface.rect()).adjusted(-margin, -margin, margin, margin);
}

void setUp(QPainter &painter, ShapePainter::Pen pen)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen qpen(QColor::fromRgb(pen.colour), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // A one-pixel pen marks exactly the pixels the coordinates name.
    if (pen.width == 1)
        qpen.setWidth(0);
    painter.setPen(qpen);
}

// The part of the segment a-b inside the rectangle (Liang-Barsky), or nothing.
std::optional<QLineF> clipped(QPointF a, QPointF b, const QRectF &area)
{
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - area.left(), area.right() - a.x(), a.y() - area.top(),
                         area.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return QLineF(a.x() + t0 * dx, a.y() + t0 * dy, a.x() + t1 * dx, a.y() + t1 * dy);
}

// Every pixel whose position lies within the radius of the centre, in the pixel grid the
// pen uses (coordinate x marks pixel x), so a disc sits exactly inside its outline.
void fillDisc(QImage &surface, QPointF centre, double radius, QRgb colour)
{
    const double top = std::max(std::ceil(centre.y() - radius), 0.0);
    const double bottom = std::min(std::floor(centre.y() + radius), surface.height() - 1.0);
    for (double y = top; y <= bottom; ++y) {
        const double dy = y - centre.y();
        const double dx = std::sqrt(std::max(radius * radius - dy * dy, 0.0));
        const double left = std::max(std::ceil(centre.x() - dx), 0.0);
        const double right = std::min(std::floor(centre.x() + dx), surface.width() - 1.0);
        if (left > right)
            continue;
        QRgb *line = reinterpret_cast<QRgb *>(surface.scanLine(static_cast<int>(y)));
        std::fill(line + static_cast<int>(left), line + static_cast<int>(right) + 1, colour);
    }
}

} // namespace

void ShapePainter::box(QImage &surface, QPointF a, QPointF b, Pen pen, bool filled)
{
    // Edges beyond the pen's reach stay invisible when moved to its border.
    const QRectF area = reach(surface, pen.width);
    const QPointF from(std::clamp(std::min(a.x(), b.x()), area.left(), area.right()),
                       std::clamp(std::min(a.y(), b.y()), area.top(), area.bottom()));
    const QPointF to(std::clamp(std::max(a.x(), b.x()), area.left(), area.right()),
                     std::clamp(std::max(a.y(), b.y()), area.top(), area.bottom()));
    QPainter painter(&surface);
    setUp(painter, pen);
    if (filled) // both corners are inside the filled area
        painter.fillRect(QRectF(from, to + QPointF(1, 1)), QColor::fromRgb(pen.colour));
    painter.drawRect(QRectF(from, to));
}

void ShapePainter::circle(QImage &surface, QPointF centre, double radius, Pen pen, bool filled)
{
    const double outer = radius + pen.width / 2.0;
    const double inner = radius - pen.width / 2.0;
    const QRectF area = surface.rect();
    // The distances from the centre to the nearest and farthest points of the surface.
    const double nearX = std::clamp(centre.x(), area.left(), area.right()) - centre.x();
    const double nearY = std::clamp(centre.y(), area.top(), area.bottom()) - centre.y();
    const double farX =
        std::max(std::abs(centre.x() - area.left()), std::abs(centre.x() - area.right()));
    const double farY =
        std::max(std::abs(centre.y() - area.top()), std::abs(centre.y() - area.bottom()));
    const double nearest = std::hypot(nearX, nearY);
    const double farthest = std::hypot(farX, farY);
    if (nearest > outer + 1)
        return; // wholly outside the circle
    // A pen wider than the circle paints a disc out to the pen's outer edge.
    const bool disc = filled || inner <= 0;
    const QColor colour = QColor::fromRgb(pen.colour);
    if (disc && farthest < outer - 1) {
        surface.fill(colour); // the surface lies inside the disc
        return;
    }
    if (!disc && farthest < inner - 1)
        return; // the surface lies inside the ring's hole
    if (inner <= 0) {
        fillDisc(surface, centre, outer, colour.rgb());
        return;
    }
    // Filled: the inside, then the same outline an unfilled circle has.
    if (filled)
        fillDisc(surface, centre, radius, colour.rgb());
    QPainter painter(&surface);
    setUp(painter, pen);
    painter.drawEllipse(centre, radius, radius);
}

void ShapePainter::line(QImage &surface, QPointF a, QPointF b, Pen pen)
{
    const std::optional<QLineF> visible = clipped(a, b, reach(surface, pen.width));
    if (!visible)
        return;
    QPainter painter(&surface);
    setUp(painter, pen);
    painter.drawLine(*visible);
}

void ShapePainter::pixel(QImage &surface, QPointF at, QRgb colour)
{
    const double x = std::nearbyint(at.x());
    const double y = std::nearbyint(at.y());
    if (x >= 0 && y >= 0 && x < surface.width() && y < surface.height())
        surface.setPixel(static_cast<int>(x), static_cast<int>(y), colour);
}
