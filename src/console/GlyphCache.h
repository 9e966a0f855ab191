#pragma once
// Pre-rendered coverage masks of the console's glyphs, one cell each, so a cell is drawn by
// blending a mask instead of laying out text (several times cheaper than drawText per cell).
// Other characters (wide ones, clusters with marks, characters beyond the 16-bit range)
// have masks one or two cells wide; a glyph the console font lacks comes from an installed
// font that has it, at the same size, squeezed to fit its cells when wider.

#include "console/CellGeometry.h"

#include <QChar>
#include <QFont>
#include <QHash>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class GlyphCache
{
public:
    // The console font ("Courier New" at 14 pt), or the small font of the pager's arrows,
    // where codes 233 and 234 stand for the up and down arrow.
    enum class Face { Console, Arrows };
    using Mask = std::array<uchar, Cell::kWidth * Cell::kHeight>;
    // A mask as many cells wide as the text it shows: rows of cells x 11 coverage values.
    struct Strip
    {
        int cells = 1;
        std::vector<uchar> coverage;
    };

    GlyphCache();
    const Mask &mask(Face face, QChar character);
    // One cluster in the console font, one or two cells wide.
    const Strip &cluster(QStringView text, int cells);
    // Right-to-left text shaped (letters joined) in visual order over the cells given.
    Strip rightToLeft(const QString &text, int cells) const;

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
    static Strip render(const FaceCache &face, const QString &text, int cells, bool rightToLeft);
    std::array<FaceCache, 2> m_faces;
    QHash<QString, Strip> m_clusters;
};
