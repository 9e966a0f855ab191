// Reads whole files, byte ranges and "ITVL" archive entries. Every offset and length taken
// from a file is checked against the file's size before anything is read or allocated.

#include "formats/Archive.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "tovarocx/FileNameBytes.h"

#include <QFile>
#include <QtEndian>
#include <sys/stat.h>

namespace {

constexpr char kMagic[4] = {'I', 'T', 'V', 'L'};
constexpr quint16 kArchiveVersion = 1;
constexpr qint64 kHeaderSize = 20;
constexpr qint64 kDirEntrySize = 32;
constexpr qsizetype kNameSize = 16;
// The directory is scanned in pieces so that a huge entry count costs no huge buffer.
constexpr qint64 kDirEntriesPerRead = 2048;
constexpr qint64 kCopyPiece = 1 << 20;

RuntimeError damagedArchive()
{
    return RuntimeError::badFileFormat(QStringLiteral("truncated or damaged archive"));
}

// Opens a regular file through the file guard; a folder, a pipe or a device is refused
// rather than read (a pipe could block forever).
void openRegularFile(QFile &file, const QString &path)
{
    TextFile::checkReadable(path);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError::pathFileAccessError();
}

// Exactly length bytes from offset; the caller has checked the range against the size, so a
// short read means the file changed under us.
QByteArray readExactly(QFile &file, qint64 offset, qint64 length, const RuntimeError &onShort)
{
    if (!file.seek(offset))
        throw onShort;
    QByteArray bytes = file.read(length);
    if (bytes.size() != length)
        throw onShort;
    return bytes;
}

// True when range [offset, offset + length) lies inside a file of fileSize bytes; written so
// that no sum can wrap around.
bool fitsInFile(quint64 offset, quint64 length, qint64 fileSize)
{
    const auto size = static_cast<quint64>(fileSize);
    return offset <= size && length <= size - offset;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The 16-byte directory name (NUL-padded) against the wanted name, already lower-case ASCII.
bool nameMatches(const char *stored, const QByteArray &wanted)
{
    qsizetype length = 0;
    while (length < kNameSize && stored[length] != '\0')
        ++length;
    if (length != wanted.size())
        return false;
    for (qsizetype i = 0; i < length; ++i) {
        if (asciiLower(stored[i]) != wanted[i])
            return false;
    }
    return true;
}

} // namespace

bool Archive::FileExists(const QString &path) const
{
    struct stat st
    {
    };
    return ::stat(FileNameBytes::encode(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Archive::IsArchive(const QString &path) const
{
    QFile file(path);
    return FileExists(path) && file.open(QIODevice::ReadOnly) &&
           file.read(sizeof kMagic) == QByteArrayView(kMagic, sizeof kMagic);
}

QString Archive::ReadAll(const QString &path) const
{
    return TextFile::read(path);
}

QString Archive::ReadRange(const QString &path, qint32 offset, qint32 length) const
{
    QByteArray bytes;
    CopyRange(path, offset, length, [&](const QByteArray &piece) { bytes += piece; });
    return TextFile::decode(bytes);
}

void Archive::CopyRange(const QString &path, qint32 offset, qint32 length,
                        const std::function<void(const QByteArray &)> &sink) const
{
    if (offset < 0 || length < 0)
        throw RuntimeError::invalidProcedureCall();
    QFile file;
    openRegularFile(file, path);
    if (qint64(offset) + qint64(length) > file.size())
        throw RuntimeError::inputPastEndOfFile();
    for (qint64 done = 0; done < length;) {
        const qint64 piece = qMin<qint64>(kCopyPiece, length - done);
        sink(readExactly(file, offset + done, piece, RuntimeError::inputPastEndOfFile()));
        done += piece;
    }
}

QString Archive::ReadEntry(const QString &archivePath, const QString &entryName,
                           qint16 occurrence) const
{
    QByteArray bytes;
    ReadEntryPieces(archivePath, entryName, occurrence,
                    [&bytes](const QByteArray &piece, qint64 entrySize) {
                        bytes.reserve(entrySize);
                        bytes += piece;
                    });
    return TextFile::decode(bytes);
}

void Archive::ReadEntryPieces(const QString &archivePath, const QString &entryName,
                              qint16 occurrence,
                              const std::function<void(const QByteArray &, qint64)> &sink) const
{
    if (occurrence < 1)
        throw RuntimeError::invalidProcedureCall();
    QFile file;
    openRegularFile(file, archivePath);
    const qint64 fileSize = file.size();

    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < qsizetype(sizeof kMagic) || !header.startsWith(QByteArrayView(kMagic, 4)))
        throw RuntimeError::badFileFormat(QStringLiteral("not an ITVL archive"));
    if (header.size() < kHeaderSize)
        throw damagedArchive();
    const char *h = header.constData();
    const auto version = qFromLittleEndian<quint16>(h + 4);
    if (version != kArchiveVersion)
        throw RuntimeError::badFileFormat(
            QStringLiteral("unsupported archive version %1").arg(version));
    // Bytes 6..7 are flags, reserved and ignored by this version.
    const auto count = qFromLittleEndian<quint32>(h + 8);
    const auto dirOffset = qFromLittleEndian<quint64>(h + 12);
    // count * 32 cannot wrap in 64 bits, since count has 32.
    if (count > kMaxEntries || !fitsInFile(dirOffset, quint64(count) * kDirEntrySize, fileSize))
        throw damagedArchive();

    // A name that is not ASCII or is longer than a directory slot matches nothing.
    QByteArray wanted;
    bool canMatch = entryName.size() <= kNameSize;
    for (const QChar c : entryName) {
        canMatch = canMatch && c.unicode() < 0x80;
        wanted.append(asciiLower(static_cast<char>(c.unicode() & 0x7F)));
    }

    int seen = 0;
    for (quint64 first = 0; canMatch && first < count; first += kDirEntriesPerRead) {
        const qint64 inThisRead = qMin<quint64>(kDirEntriesPerRead, count - first);
        const QByteArray dir = readExactly(file, qint64(dirOffset + first * kDirEntrySize),
                                           inThisRead * kDirEntrySize, damagedArchive());
        for (qint64 i = 0; i < inThisRead; ++i) {
            const char *entry = dir.constData() + i * kDirEntrySize;
            if (!nameMatches(entry, wanted) || ++seen < occurrence)
                continue;
            const auto dataOffset = qFromLittleEndian<quint64>(entry + kNameSize);
            const auto dataLength = qFromLittleEndian<quint64>(entry + kNameSize + 8);
            if (!fitsInFile(dataOffset, dataLength, fileSize))
                throw damagedArchive();
            if (dataLength > quint64(Archive::kMaxEntrySize))
                throw RuntimeError::fileTooLarge();
            for (qint64 done = 0; done < qint64(dataLength);) {
                const qint64 piece = qMin<qint64>(kCopyPiece, qint64(dataLength) - done);
                sink(readExactly(file, qint64(dataOffset) + done, piece, damagedArchive()),
                     qint64(dataLength));
                done += piece;
            }
            return;
        }
    }
    throw RuntimeError::badFileFormat(QStringLiteral("no entry %1").arg(entryName));
}
