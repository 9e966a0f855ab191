#pragma once
// A glyph's coverage blended from one colour to another. Over a plain colour every pixel is
// one of 256 blends of the two, made once per pair and then looked up: a batch draws its
// lines in the same two colours a thousand times a second.

#include <QRgb>
#include <array>

class BlendTable
{
public:
    // Coverage 0 leaves under as it is, 255 gives over.
    static QRgb blend(QRgb under, QRgb over, quint32 coverage);
    // The 256 blends from under to over, by coverage.
    const QRgb *from(QRgb under, QRgb over);

private:
    std::array<QRgb, 256> m_table{};
    QRgb m_under = 0;
    QRgb m_over = 0;
    bool m_made = false;
};
