#include "console/GlyphCache.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

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
