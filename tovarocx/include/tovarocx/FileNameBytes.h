#pragma once
// File names as text and back, without loss. A Linux file name is bytes, most often UTF-8 but
// not always (a name copied from an old disk or archive). Qt turns every byte it cannot decode
// into U+FFFD, so a name that is not UTF-8 could be listed but never opened again. Here each
// such byte becomes a lone surrogate U+DC80..U+DCFF and goes back to the same byte, as Python
// does. The program and its plugin pass names to each other as text: both use these two
// functions, so both turn the same text into the same bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace FileNameBytes {

namespace Detail {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the well-formed UTF-8 sequence at bytes[i], or 0 where there is none
// (a stray byte, an overlong form, an encoded surrogate, a code past U+10FFFF).
inline qsizetype sequenceAt(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    const qsizetype left = bytes.size() - i;
    const auto tail = [&](qsizetype k) { return k < left && (at(i + k) & 0xC0) == 0x80; };
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return tail(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!tail(1) || !tail(2))
            return 0;
        const unsigned char second = at(i + 1);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!tail(1) || !tail(2) || !tail(3))
            return 0;
        const unsigned char second = at(i + 1);
        if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

} // namespace Detail

inline QString decode(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype i = 0;
    const auto flushRun = [&] {
        if (i > runStart)
            text += QString::fromUtf8(bytes.sliced(runStart, i - runStart));
    };
    while (i < bytes.size()) {
        const qsizetype length = Detail::sequenceAt(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        flushRun();
        text += QChar(static_cast<char16_t>(Detail::kEscapeBase +
                                            static_cast<unsigned char>(bytes[i])));
        runStart = ++i;
    }
    flushRun();
    return text;
}

inline QByteArray encode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool escaped = unit >= Detail::kEscapeBase + 0x80 &&
                             unit <= Detail::kEscapeBase + 0xFF &&
                             (i == 0 || !text[i - 1].isHighSurrogate());
        if (!escaped)
            continue;
        bytes += text.sliced(runStart, i - runStart).toUtf8();
        bytes += static_cast<char>(unit - Detail::kEscapeBase);
        runStart = i + 1;
    }
    bytes += text.sliced(runStart).toUtf8();
    return bytes;
}

} // namespace FileNameBytes
