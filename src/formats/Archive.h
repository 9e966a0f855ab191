#pragma once
// Reader of the "ITVL" database archives and of whole files, by path. Nothing is held open
// between calls. A damaged or truncated archive raises a run-time error; nothing is ever
// read outside the file. The layout is described in docs/formats.md.

#include <QString>
#include <functional>

// Errors common to the readers are the file guard's (TextFile::checkReadable): a missing
// file "File not found (53)", a folder "Path/File access error (75)", a pipe or device
// "Device unavailable (68)", which is never opened.
class Archive
{
public:
    // The longest entry read as text (a catalogue of some million tracks): a damaged length
    // in a large or sparse file must not take the memory.
    static constexpr qint64 kMaxEntrySize = 256 * 1024 * 1024;
    // The most directory entries an archive may have. A database holds the catalogue and at
    // most a track, lyrics and notes per track; a damaged count in a large sparse file would
    // otherwise have the reader scan gigabytes of zeros at every start.
    static constexpr quint32 kMaxEntries = 1 << 20;

    // True for an existing regular file (or a link to one); false for folders.
    bool FileExists(const QString &path) const;
    // True for a regular file (or a link to one) that starts with the archive magic. Only
    // those 4 bytes are read; a pipe or device is never opened.
    bool IsArchive(const QString &path) const;
    // The content of the occurrence-th entry (1 = first) named entryName (compared without
    // regard to case), decoded as text. Only the header, the directory and that entry are
    // read. occurrence < 1 raises "Invalid procedure call (5)"; a wrong magic, version or
    // size, more than kMaxEntries entries, or a missing entry, raises "Invalid file format
    // (321)"; an entry longer than
    // kMaxEntrySize "File too large (7)".
    QString ReadEntry(const QString &archivePath, const QString &entryName,
                      qint16 occurrence = 1) const;
    // The same entry as bytes, handed to sink in pieces of at most 1 MiB with the entry's
    // whole size, so that a reader can keep what it needs of a large entry rather than the
    // whole of it.
    void ReadEntryPieces(
        const QString &archivePath, const QString &entryName, qint16 occurrence,
        const std::function<void(const QByteArray &piece, qint64 entrySize)> &sink) const;
    // length bytes from the 0-based byte offset of the file, decoded as text; only that range
    // is read. A negative argument raises "Invalid procedure call (5)" (checked before the
    // file), a range past the end "Input past end of file (62)".
    QString ReadRange(const QString &path, qint32 offset, qint32 length) const;
    // The same range as bytes, handed to sink in pieces of at most 1 MiB (an embedded track
    // may be large), with ReadRange's checks.
    void CopyRange(const QString &path, qint32 offset, qint32 length,
                   const std::function<void(const QByteArray &)> &sink) const;
    // The whole file as text, at most TextFile::kMaxReadSize bytes.
    QString ReadAll(const QString &path) const;
};
