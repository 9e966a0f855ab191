#include "console/GlyphCache.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

namespace {

// Distinct clusters kept at most; a screen of names in every script needs far fewer, and a
// text of endless distinct clusters cannot grow the cache without bound.
constexpr qsizetype kMaxClusters = 4096;

// The pager's arrows are recorded with the codes 233 and 234, as scripts that read the screen
// expect.
QChar shownCharacter(GlyphCache::Face face, QChar character)
{
    if (face == GlyphCache::Face::Arrows) {
        if (character.unicode() == 233)
            return QChar(0x2191);
        if (character.unicode() == 234)
            return QChar(0x2193);
    }
    return character;
}

} // namespace

QFont GlyphCache::font(Face face)
{
    if (face == Face::Arrows) {
        // No common Linux font has the classic symbol-font arrows; these are drawn bold and crisp
        // so they stay solid silver at the size of the pager's marks.
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        return font;
    }
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    // 14 pt at 96 dpi, fixed in pixels so the grid does not depend on the screen.
    font.setPixelSize(19);
    return font;
}

GlyphCache::GlyphCache()
{
    for (const Face face : {Face::Console, Face::Arrows}) {
        FaceCache &cache = m_faces[static_cast<int>(face)];
        cache.font = font(face);
        cache.baseline = QFontMetrics(cache.font).ascent();
    }
}

const GlyphCache::Mask &GlyphCache::mask(Face face, QChar character)
{
    FaceCache &cache = m_faces[static_cast<int>(face)];
    const char16_t code = character.unicode();
    if (code < 256) {
        auto &slot = cache.latin1[code];
        if (!slot)
            slot = std::make_unique<Mask>(render(cache, shownCharacter(face, character)));
        return *slot;
    }
    auto it = cache.other.find(code);
    if (it == cache.other.end())
        it = cache.other.insert(code, render(cache, character));
    return *it;
}

GlyphCache::Mask GlyphCache::render(const FaceCache &face, QChar character)
{
    QImage image(Cell::kWidth, Cell::kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!character.isSpace() && character.unicode() != 0) {
        QPainter painter(&image);
        painter.setFont(face.font);
        painter.setPen(Qt::white);
        painter.drawText(QPointF(0, face.baseline), QString(character));
    }
    Mask mask{};
    for (int y = 0; y < Cell::kHeight; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < Cell::kWidth; ++x)
            mask[y * Cell::kWidth + x] = static_cast<uchar>(qAlpha(line[x]));
    }
    return mask;
}

const GlyphCache::Strip &GlyphCache::cluster(QStringView text, int cells)
{
    const QString key = text.toString() + QChar(u'0' + cells);
    auto it = m_clusters.constFind(key);
    if (it != m_clusters.constEnd())
        return *it;
    if (m_clusters.size() >= kMaxClusters)
        m_clusters.clear();
    return *m_clusters.insert(key, render(m_faces[0], text.toString(), cells, false));
}

GlyphCache::Strip GlyphCache::rightToLeft(const QString &text, int cells) const
{
    return render(m_faces[0], text, cells, true);
}

GlyphCache::Strip GlyphCache::render(const FaceCache &face, const QString &text, int cells,
                                     bool rightToLeft)
{
    const int width = cells * Cell::kWidth;
    QImage image(width, Cell::kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QTextLayout layout(text, face.font);
        QTextOption option;
        option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e6);
        layout.endLayout();
        const double advance = line.naturalTextWidth();
        QPainter painter(&image);
        painter.setPen(Qt::white);
        // The console font's advance (11.39 pixels) is a cell: only wider glyphs, from fonts
        // made for other scripts, are squeezed; narrower ones are centred in a wide cell.
        double x = 0;
        if (advance > width + 1) {
            painter.scale(width / advance, 1);
        } else if (cells > 1 || rightToLeft) {
            x = (width - advance) / 2;
        }
        layout.draw(&painter, QPointF(x, face.baseline - line.ascent()));
    }
    Strip strip;
    strip.cells = cells;
    strip.coverage.resize(static_cast<size_t>(width) * Cell::kHeight);
    for (int y = 0; y < Cell::kHeight; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            strip.coverage[y * width + x] = static_cast<uchar>(qAlpha(line[x]));
    }
    return strip;
}
