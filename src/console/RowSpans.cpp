#include "console/RowSpans.h"

#include <algorithm>

void RowSpans::add(const QRect &rect)
{
    if (rect.isEmpty())
        return;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        Span &span = m_rows[y];
        if (span.right < span.left) {
            span = {rect.left(), rect.right()};
        } else {
            span.left = std::min(span.left, rect.left());
            span.right = std::max(span.right, rect.right());
        }
    }
    if (isEmpty()) {
        m_top = rect.top();
        m_bottom = rect.bottom();
    } else {
        m_top = std::min(m_top, rect.top());
        m_bottom = std::max(m_bottom, rect.bottom());
    }
}

void RowSpans::clear()
{
    for (int y = m_top; y <= m_bottom; ++y)
        m_rows[y] = Span();
    m_top = 0;
    m_bottom = -1;
}

QList<QRect> RowSpans::rects() const
{
    QList<QRect> rects;
    for (int y = m_top; y <= m_bottom;) {
        const Span span = m_rows[y];
        int last = y;
        while (last < m_bottom && m_rows[last + 1] == span)
            ++last;
        if (span.left <= span.right)
            rects.append(QRect(QPoint(span.left, y), QPoint(span.right, last)));
        y = last + 1;
    }
    return rects;
}

QRegion RowSpans::region() const
{
    // One rectangle to a band of rows, bands in order: the form QRegion keeps.
    const QList<QRect> bands = rects();
    QRegion region;
    region.setRects(bands.constData(), static_cast<int>(bands.size()));
    return region;
}
