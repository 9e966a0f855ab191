#include "foundation/FileOps.h"

#include "foundation/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

void FileOps::Kill(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        throw RuntimeError::fileNotFound();
    if (!QFile::remove(path))
        throw RuntimeError::permissionDenied();
}

void FileOps::Name(const QString &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty())
        throw RuntimeError::badFileName();
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
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
    switch (errno) {
    case EEXIST:
        throw RuntimeError::fileAlreadyExists();
    case EXDEV:
        throw RuntimeError(74, QStringLiteral("Can't rename with different drive"));
    default:
        throw RuntimeError::fromErrno(errno);
    }
}
