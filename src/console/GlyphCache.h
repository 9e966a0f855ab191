#pragma once
// Pre-rendered coverage masks of the console's glyphs, one cell each, so a cell is drawn by
// blending a mask instead of laying out text (several times cheaper than drawText per cell).

#include "console/CellGeometry.h"

#include <QChar>
#include <QFont>
#include <QHash>
#include <array>
#include <memory>

class GlyphCache
{
public:
    // The console font ("Courier New" at 14 pt), or the small font of the pager's arrows,
    // where codes 233 and 234 stand for the up and down arrow.
    enum class Face { Console, Arrows };
    using Mask = std::array<uchar, Cell::kWidth * Cell::kHeight>;

    GlyphCache();
    const Mask &mask(Face face, QChar character);

    static QFont font(Face face);

private:
    struct FaceCache
    {
        QFont font;
        int baseline = 0;
        std::array<std::unique_ptr<Mask>, 256> latin1;
        QHash<char16_t, Mask> other;
    };
    static Mask render(const FaceCache &face, QChar character);
    std::array<FaceCache, 2> m_faces;
};
