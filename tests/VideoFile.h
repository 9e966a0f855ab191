#pragma once
// A short video made on the spot: uncompressed YUV4MPEG2 frames of one colour, which libmpv
// plays like any other video.

#include <QByteArray>
#include <QFile>
#include <QString>

// width x height pixels (even numbers), frames at 25 a second, all of the colour given in
// studio-range Y, Cb and Cr (81, 90, 240 is red).
inline bool writeY4m(const QString &path, int width, int height, int frames, quint8 y,
                     quint8 cb, quint8 cr)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray out = QByteArray("YUV4MPEG2 W") + QByteArray::number(width) + " H" +
                     QByteArray::number(height) + " F25:1 Ip A1:1 C420jpeg\n";
    const qsizetype luma = qsizetype(width) * height;
    QByteArray frame("FRAME\n");
    frame += QByteArray(luma, char(y));
    frame += QByteArray(luma / 4, char(cb));
    frame += QByteArray(luma / 4, char(cr));
    for (int i = 0; i < frames; ++i)
        out += frame;
    return file.write(out) == out.size();
}
