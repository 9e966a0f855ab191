#include "foundation/FileOps.h"

#include "foundation/RuntimeError.h"
#include "tovarocx/FileNameBytes.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void FileOps::Kill(const QString &path)
{
    const QByteArray name = FileNameBytes::encode(path);
    struct stat st
    {
    };
    // The entry itself, not what a link names: a link is removed, never its target. Devices,
    // FIFOs and sockets are no files to delete (as root, /dev/null would go).
    if (path.isEmpty() || ::lstat(name.constData(), &st) != 0 ||
        !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
        throw RuntimeError::fileNotFound();
    if (::unlink(name.constData()) != 0)
        throw errno == ENOENT ? RuntimeError::fileNotFound() : RuntimeError::fromErrno(errno);
}

void FileOps::Name(const QString &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty())
        throw RuntimeError::badFileName();
    const QByteArray source = FileNameBytes::encode(from);
    const QByteArray target = FileNameBytes::encode(to);
    struct stat st {};
    if (::lstat(source.constData(), &st) != 0)
        throw RuntimeError::fileNotFound();
    int result = ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                             RENAME_NOREPLACE);
    // File systems without the no-replace rename get a check first, which a name made in
    // between could still slip past.
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        if (::lstat(target.constData(), &st) == 0)
            throw RuntimeError::fileAlreadyExists();
        result = ::rename(source.constData(), target.constData());
    }
    if (result == 0)
        return;
    if (errno == EXDEV)
        throw RuntimeError::renameAcrossDrives();
    throw RuntimeError::fromErrno(errno);
}
