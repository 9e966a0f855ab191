#include "ToneFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ToneFile {

namespace {

template <typename T> void append(QByteArray &bytes, T value)
{
    char buffer[sizeof(T)];
    qToLittleEndian<T>(value, buffer);
    bytes.append(buffer, sizeof(T));
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

bool writeWav(const QString &path, const QList<Note> &notes, int sampleRate)
{
    QByteArray samples;
    for (const Note &note : notes) {
        const qint64 count = qint64(note.milliseconds) * sampleRate / 1000;
        // 10 ms ramps at both ends of a note.
        const double ramp = std::max(1.0, sampleRate / 100.0);
        for (qint64 i = 0; i < count; ++i) {
            const double envelope = std::min({1.0, i / ramp, (count - 1 - i) / ramp});
            const double value =
                note.hertz <= 0
                    ? 0.0
                    : std::sin(2 * std::numbers::pi * note.hertz * double(i) / sampleRate);
            append<qint16>(samples, qint16(std::lround(value * envelope * 9000.0)));
        }
    }
    QByteArray bytes("RIFF");
    append<quint32>(bytes, quint32(36 + samples.size()));
    bytes += "WAVEfmt ";
    append<quint32>(bytes, 16);
    append<quint16>(bytes, 1); // PCM
    append<quint16>(bytes, 1); // mono
    append<quint32>(bytes, quint32(sampleRate));
    append<quint32>(bytes, quint32(sampleRate * 2));
    append<quint16>(bytes, 2);
    append<quint16>(bytes, 16);
    bytes += "data";
    append<quint32>(bytes, quint32(samples.size()));
    bytes += samples;
    return writeAll(path, bytes);
}

QList<Note> parseNotes(const QString &text)
{
    QList<Note> notes;
    for (const QString &part : text.split(u',')) {
        const QStringList fields = part.split(u':');
        bool hertzOk = false;
        bool lengthOk = false;
        const Note note{fields.value(0).toDouble(&hertzOk), fields.value(1).toInt(&lengthOk)};
        if (fields.size() != 2 || !hertzOk || !lengthOk || note.hertz < 0 ||
            note.milliseconds <= 0 || note.milliseconds > 60000)
            return {};
        notes.append(note);
    }
    return notes;
}

bool writeSilentMp3(const QString &path, int frames)
{
    // Header FF FB 90 44: MPEG-1, Layer III, no CRC, 128 kbit/s, 44.1 kHz, no padding,
    // joint stereo. 144 * 128000 / 44100 = 417 bytes a frame; all-zero side information
    // and main data decode as silence.
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x44);
    return writeAll(path, frame.repeated(frames));
}

bool writeEmptyFlac(const QString &path)
{
    QByteArray bytes("fLaC");
    // The last metadata block (flag 0x80), type 0 (stream information), 34 bytes.
    bytes += char(0x80);
    bytes += QByteArray::fromHex("000022");
    bytes += QByteArray::fromHex("10001000");     // block sizes 4096..4096
    bytes += QByteArray::fromHex("000000000000"); // frame sizes unknown
    // 44100 Hz (20 bits), 1 channel (3 bits: 0), 16 bits (5 bits: 15), 0 samples (36 bits).
    bytes += QByteArray::fromHex("0AC440F000000000");
    bytes += QByteArray(16, '\0'); // no MD5 signature
    return writeAll(path, bytes);
}

} // namespace ToneFile
