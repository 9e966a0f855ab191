#pragma once
// Small picture files written for tests, in the formats a desktop user meets.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

namespace PictureFiles {

// A w x h picture whose pixel (x, y) has red x, green y and blue 77, saved as format.
inline QImage gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 77));
    return image;
}

// 1 x 1 red GIF (Qt reads GIF but does not write it).
inline QByteArray redGif()
{
    return QByteArray::fromHex("47494638396101000100800000ff00000000002c00000000010001000002024401003b");
}

// 4 x 2 BMP compressed with 8-bit run lengths: the top row blue, the bottom row red.
inline QByteArray rle8Bmp()
{
    const QByteArray pixels = QByteArray::fromHex("0401" "0000" "0400" "0001");
    QByteArray info = QByteArray::fromHex("28000000" "04000000" "02000000" "0100" "0800" "01000000") +
                      QByteArray::fromHex("08000000" "130b0000" "130b0000" "02000000" "00000000");
    const QByteArray palette = QByteArray::fromHex("ff000000" "0000ff00");
    const int offset = 14 + info.size() + palette.size();
    const int size = offset + pixels.size();
    QByteArray header("BM");
    for (int v : {size, 0, offset})
        for (int i = 0; i < 4; ++i)
            header.append(static_cast<char>((v >> (8 * i)) & 0xff));
    return header + info + palette + pixels;
}

} // namespace PictureFiles
