#pragma once
// Changes to a picture kept as one span of columns per pixel row. A line written at the top
// and the prompt at the bottom stay two small rectangles, where a single bounding rectangle
// would take in the whole picture between them.

#include <QList>
#include <QRect>
#include <QRegion>
#include <vector>

class RowSpans
{
public:
    explicit RowSpans(int height) : m_rows(height) {}

    // The rectangle is taken as lying within the picture.
    void add(const QRect &rect);
    void clear();
    bool isEmpty() const { return m_top > m_bottom; }
    // Rows next to each other with the same span make one rectangle, top to bottom.
    QList<QRect> rects() const;
    QRegion region() const;

private:
    struct Span
    {
        int left = 0;
        int right = -1; // inclusive; empty while below left
        bool operator==(const Span &) const = default;
    };
    std::vector<Span> m_rows;
    int m_top = 0;
    int m_bottom = -1;
};
