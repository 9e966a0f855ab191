#include "formats/ArchiveWriter.h"

#include "foundation/RuntimeError.h"
#include "formats/Archive.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr qsizetype kHeaderSize = 20;
constexpr qsizetype kSlotSize = 32;
constexpr qsizetype kNameSize = 16;
constexpr qint64 kCopyPiece = 1 << 20;

template <typename T> void put(QByteArray &bytes, qsizetype at, T value)
{
    qToLittleEndian<T>(value, bytes.data() + at);
}

} // namespace

ArchiveWriter::ArchiveWriter(const QString &path) : m_file(path)
{
    // Filled in by finish(), once the directory's place is known.
    m_file.write(QByteArray(kHeaderSize, '\0'));
}

QByteArray ArchiveWriter::checkedName(const QString &name) const
{
    const QByteArray ascii = name.toLatin1();
    const bool isAscii = std::all_of(name.begin(), name.end(),
                                     [](QChar c) { return c.unicode() > 0 && c.unicode() < 128; });
    if (!isAscii || ascii.isEmpty() || ascii.size() > kNameSize)
        throw RuntimeError::invalidProcedureCall();
    // The reader refuses a directory longer than this as damaged.
    if (m_slots.size() >= qsizetype(Archive::kMaxEntries))
        throw RuntimeError::badFileFormat(
            QStringLiteral("more than %1 archive entries").arg(Archive::kMaxEntries));
    return ascii;
}

quint64 ArchiveWriter::addBytes(const QString &name, const QByteArray &bytes)
{
    const auto offset = static_cast<quint64>(m_file.size());
    m_slots.append({checkedName(name), offset, static_cast<quint64>(bytes.size())});
    m_file.write(bytes);
    return offset;
}

quint64 ArchiveWriter::addFile(const QString &name, const QString &filePath)
{
    const QByteArray ascii = checkedName(name);
    TextFile::checkReadable(filePath);
    QFile source(filePath);
    if (!source.open(QIODevice::ReadOnly))
        throw RuntimeError::permissionDenied();
    const auto offset = static_cast<quint64>(m_file.size());
    quint64 length = 0;
    for (;;) {
        const QByteArray piece = source.read(kCopyPiece);
        if (piece.isEmpty()) {
            if (!source.atEnd())
                throw RuntimeError::deviceIoError();
            break;
        }
        m_file.write(piece);
        length += static_cast<quint64>(piece.size());
    }
    m_slots.append({ascii, offset, length});
    return offset;
}

void ArchiveWriter::finish()
{
    const auto directory = static_cast<quint64>(m_file.size());
    QByteArray table(m_slots.size() * kSlotSize, '\0');
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        const Slot &slot = m_slots[i];
        table.replace(i * kSlotSize, slot.name.size(), slot.name);
        put<quint64>(table, i * kSlotSize + 16, slot.offset);
        put<quint64>(table, i * kSlotSize + 24, slot.length);
    }
    m_file.write(table);
    QByteArray header(kHeaderSize, '\0');
    header.replace(0, 4, "ITVL");
    put<quint16>(header, 4, 1);
    put<quint32>(header, 8, static_cast<quint32>(m_slots.size()));
    put<quint64>(header, 12, directory);
    m_file.overwrite(0, header);
    m_file.commit();
}
