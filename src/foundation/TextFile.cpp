#include "foundation/TextFile.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFileTesting.h"
#include "tovarocx/FileNameBytes.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five undefined codes map to
// the C1 controls of the same value, as Windows' own conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct InjectedFailure
{
    int from = 0; // 0: none
    int err = 0;
    int count = 0;
} g_injected;

RuntimeError errorOf(int err)
{
    return RuntimeError::fromErrno(err);
}

// Every byte written, or the errno of the failure.
int writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        if (g_injected.from > 0 && ++g_injected.count >= g_injected.from)
            return g_injected.err;
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        left -= n;
    }
    return 0;
}

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    // Closing can report a write that failed late (NFS, quotas).
    int close()
    {
        const int result = ::close(std::exchange(m_fd, -1));
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// A FIFO with no reader would hold a plain open for ever: the open does not wait (ENXIO,
// "Device unavailable (68)"), the writes that follow do, as a reader is there to take them.
void writeInto(const QByteArray &name, const QByteArray &bytes)
{
    Fd fd(::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        throw errorOf(errno);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw errorOf(errno);
    if (const int err = writeAll(fd.get(), bytes))
        throw errorOf(err);
    if (const int err = fd.close())
        throw errorOf(err);
}

// Whether the regular file already holds exactly these bytes.
bool holds(const QByteArray &name, const QByteArray &bytes)
{
    Fd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    QByteArray present(bytes.size() + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (ssize_t n; got < present.size(); got += n) {
        n = ::read(fd.get(), present.data() + got, static_cast<size_t>(present.size() - got));
        if (n < 0 && errno == EINTR)
            n = 0;
        else if (n <= 0)
            break;
    }
    return got == bytes.size() && std::memcmp(present.constData(), bytes.constData(),
                                              static_cast<size_t>(got)) == 0;
}

} // namespace

namespace TextFile {

QString decodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(bytes);
}

QByteArray encode(const QString &text)
{
    return text.toUtf8();
}

void checkReadable(const QString &path)
{
    if (path.isEmpty())
        throw RuntimeError::badFileName();
    struct stat st
    {
    };
    if (::stat(FileNameBytes::encode(path).constData(), &st) != 0) {
        struct stat folder
        {
        };
        const QByteArray folderName = FileNameBytes::encode(QFileInfo(path).absolutePath());
        if (::stat(folderName.constData(), &folder) != 0 || !S_ISDIR(folder.st_mode))
            throw RuntimeError::pathNotFound();
        throw RuntimeError::fileNotFound();
    }
    if (S_ISDIR(st.st_mode))
        throw RuntimeError::pathFileAccessError();
    if (!S_ISREG(st.st_mode))
        throw RuntimeError::deviceUnavailable();
}

// Opens a checked path for reading and answers the descriptor with its status. Non-blocking,
// so that a FIFO swapped in after the checks cannot hold the open.
int openRegular(const QString &path, struct stat &st)
{
    checkReadable(path);
    const int fd = ::open(FileNameBytes::encode(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw errno == ENOENT ? RuntimeError::fileNotFound() : errorOf(errno);
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw statted ? RuntimeError::deviceUnavailable() : RuntimeError::deviceIoError();
    }
    return fd;
}

QByteArray readTail(const QString &path, qint64 count)
{
    struct stat st
    {
    };
    const Fd fd(openRegular(path, st));
    if (st.st_size < count)
        return {};
    QByteArray bytes(count, '\0');
    ssize_t got = -1;
    do
        got = ::pread(fd.get(), bytes.data(), static_cast<size_t>(count), st.st_size - count);
    while (got < 0 && errno == EINTR);
    // A file cut short while it was read has no tail to give.
    return got == count ? bytes : QByteArray();
}

RegularFile::RegularFile(const QString &path)
{
    struct stat st
    {
    };
    m_fd = openRegular(path, st);
    m_size = st.st_size;
}

RegularFile::~RegularFile()
{
    ::close(m_fd);
}

void RegularFile::read(qint64 offset, qint64 count, QByteArray &buffer) const
{
    count = offset < 0 || offset >= m_size ? 0 : std::clamp<qint64>(count, 0, m_size - offset);
    buffer.resize(count);
    qint64 done = 0;
    while (done < count) {
        const ssize_t got = ::pread(m_fd, buffer.data() + done, static_cast<size_t>(count - done),
                                    offset + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    buffer.resize(done);
}

QByteArray readBytes(const QString &path)
{
    struct stat st
    {
    };
    const Fd fd(openRegular(path, st));
    if (st.st_size > kMaxReadSize)
        throw RuntimeError::fileTooLarge();
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw RuntimeError::deviceIoError();
        }
        if (n == 0)
            break;
        // The file may grow while it is read: the limit holds all the same.
        if (bytes.size() + n > kMaxReadSize)
            throw RuntimeError::fileTooLarge();
        bytes.append(buffer, n);
    }
    return bytes;
}

QString read(const QString &path)
{
    return decode(readBytes(path));
}

AtomicFile::AtomicFile(const QString &path)
{
    if (path.isEmpty())
        throw RuntimeError::badFileName();
    m_target = FileNameBytes::encode(path);
    struct stat old
    {
    };
    const bool exists = ::stat(m_target.constData(), &old) == 0;
    // A link that leads nowhere (dangling, or a loop) is kept: renaming over it would put a
    // file where the user keeps a link.
    if (!exists) {
        const int err = errno;
        struct stat link
        {
        };
        if (::lstat(m_target.constData(), &link) == 0 && S_ISLNK(link.st_mode))
            throw errorOf(err);
    }
    if (exists && S_ISDIR(old.st_mode))
        throw RuntimeError::pathFileAccessError();
    // Replace the file a link points at, not the link.
    if (exists) {
        if (char *target = ::realpath(m_target.constData(), nullptr)) {
            m_target = target;
            ::free(target);
        }
    }
    m_temp = m_target + ".XXXXXX";
    m_fd = ::mkostemp(m_temp.data(), O_CLOEXEC);
    if (m_fd < 0)
        throw errorOf(errno);
    // A new file gets the usual permissions; a replaced one keeps its own.
    mode_t mode = 0;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(m_fd, mode) != 0)
        fail(errno);
}

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temp.constData());
    }
}

void AtomicFile::fail(int err)
{
    ::close(std::exchange(m_fd, -1));
    ::unlink(m_temp.constData());
    throw errorOf(err);
}

void AtomicFile::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        throw RuntimeError::deviceIoError();
    if (const int err = writeAll(m_fd, bytes))
        fail(err);
    m_size += bytes.size();
}

void AtomicFile::overwrite(qint64 offset, const QByteArray &bytes)
{
    if (m_fd < 0 || offset < 0 || offset + bytes.size() > m_size)
        throw RuntimeError::deviceIoError();
    if (::pwrite(m_fd, bytes.constData(), static_cast<size_t>(bytes.size()), offset) !=
        bytes.size())
        fail(errno ? errno : EIO);
}

void AtomicFile::commit()
{
    if (m_fd < 0)
        throw RuntimeError::deviceIoError();
    if (::fsync(m_fd) != 0)
        fail(errno);
    if (::close(std::exchange(m_fd, -1)) != 0) {
        ::unlink(m_temp.constData());
        throw errorOf(errno);
    }
    if (::rename(m_temp.constData(), m_target.constData()) != 0) {
        const int err = errno;
        ::unlink(m_temp.constData());
        throw errorOf(err);
    }
}

void save(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw RuntimeError::badFileName();
    const QByteArray name = FileNameBytes::encode(path);
    struct stat st
    {
    };
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        writeInto(name, bytes);
        return;
    }
    // Most saves at shut-down find the file as it was: rewriting and syncing it would cost
    // the disk's latency for nothing.
    if (S_ISREG(st.st_mode) && st.st_size == bytes.size() && holds(name, bytes))
        return;
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

NewFile::NewFile(const QString &path)
{
    if (path.isEmpty())
        throw RuntimeError::badFileName();
    m_name = FileNameBytes::encode(path);
    m_fd = ::open(m_name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fd < 0)
        throw errno == EEXIST ? RuntimeError::fileAlreadyExists() : errorOf(errno);
}

NewFile::~NewFile()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_name.constData());
    }
}

void NewFile::fail(int err)
{
    ::close(std::exchange(m_fd, -1));
    ::unlink(m_name.constData());
    throw errorOf(err);
}

void NewFile::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        throw RuntimeError::deviceIoError();
    if (const int err = writeAll(m_fd, bytes))
        fail(err);
}

void NewFile::close()
{
    if (m_fd < 0)
        throw RuntimeError::deviceIoError();
    if (::close(std::exchange(m_fd, -1)) != 0) {
        const int err = errno;
        ::unlink(m_name.constData());
        throw errorOf(err);
    }
}

} // namespace TextFile

namespace TextFile::Testing {

void failWritesFrom(int n, int err)
{
    g_injected = {n, err, 0};
}

} // namespace TextFile::Testing
