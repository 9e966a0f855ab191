#pragma once
// The one guard for reading and saving the files the program keeps and the files users
// name: UTF-8 text (Windows-1252 still readable), whole-file reads of regular files only
// and of bounded size, and saves that either complete or leave the old file untouched.

#include <QByteArray>
#include <QString>

namespace TextFile {

// The largest file read whole (batch files, set.cf, playlist.dat, the event log).
constexpr qint64 kMaxReadSize = 64 * 1024 * 1024;

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
QString decode(const QByteArray &bytes);
// Windows-1252, byte for byte: decode's reading of text that is not UTF-8.
QString decodeCp1252(QByteArrayView bytes);
QByteArray encode(const QString &text);

// Raises the error for a path that cannot be read as a regular file, one number per
// condition: empty name "Bad file name or number (52)", missing "File not found (53)",
// missing folder "Path not found (76)", a folder "Path/File access error (75)", a FIFO,
// device or socket "Device unavailable (68)", no permission "Permission denied (70)".
void checkReadable(const QString &path);

// The whole file as bytes or as text, after the checks above; a file larger than
// kMaxReadSize raises "File too large (7)". A FIFO or device is never opened, so a read
// cannot hang or run out of memory.
QByteArray readBytes(const QString &path);
QString read(const QString &path);
// The last count bytes of a regular file, after the same checks; empty when the file is
// shorter (or was cut short while it was read).
QByteArray readTail(const QString &path, qint64 count);

// A regular file opened for reading pieces of it where they are (a tag at its start, another
// at its end), after the checks above; a FIFO or device is never opened. Raises checkReadable's
// errors, or the open's.
class RegularFile
{
public:
    explicit RegularFile(const QString &path);
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    // The size when it was opened.
    qint64 size() const { return m_size; }
    // Up to count bytes from offset into buffer, which is resized to what was read: fewer at
    // the end of the file, none past it or when the read fails.
    void read(qint64 offset, qint64 count, QByteArray &buffer) const;

private:
    int m_fd = -1;
    qint64 m_size = 0;
};

// Saves bytes to a path. A regular file (or a new one) is replaced atomically: the bytes go
// to a temporary file beside it, every write checked, synced, then renamed over it, so a
// full disk or a crash leaves the old file whole. A symbolic link keeps pointing at its
// saved target; a link that leads nowhere (dangling, a loop) is refused and kept. An existing
// FIFO or device is written into, never waited for: a FIFO with no reader is "Device
// unavailable (68)". "-" is a file name like any other. Failures raise RuntimeError::fromErrno's
// errors: "Disk full (61)", "Permission denied (70)", "Path not found (76)", "Path/File
// access error (75)", "Bad file name (64)" or "Device I/O error (57)".
void save(const QString &path, const QByteArray &bytes);

// A regular file replaced atomically, written in pieces (save() uses it; so do writers of
// files too large to hold whole). The bytes go to a new temporary file beside the target,
// every write checked; commit() syncs it and renames it over the target. Destroyed without
// commit, or after a failure, it leaves nothing behind. Failures raise save()'s errors.
class AtomicFile
{
public:
    explicit AtomicFile(const QString &path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(const QByteArray &bytes);
    // Replaces bytes already written (a header filled in at the end).
    void overwrite(qint64 offset, const QByteArray &bytes);
    qint64 size() const { return m_size; }
    void commit();

private:
    [[noreturn]] void fail(int err);

    QByteArray m_target;
    QByteArray m_temp;
    int m_fd = -1;
    qint64 m_size = 0;
};

// A file made new, never an existing file or link (O_EXCL, O_NOFOLLOW), written in pieces
// with every write checked. An existing name raises "File already exists (58)"; other
// failures raise save()'s errors. Destroyed before close(), or after a failure, it is
// deleted again, so a failed copy leaves nothing behind.
class NewFile
{
public:
    explicit NewFile(const QString &path);
    ~NewFile();
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    void write(const QByteArray &bytes);
    void close();

private:
    [[noreturn]] void fail(int err);

    QByteArray m_name;
    int m_fd = -1;
};

} // namespace TextFile
