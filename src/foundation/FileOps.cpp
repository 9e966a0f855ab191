#include "foundation/FileOps.h"

#include "foundation/RuntimeError.h"

#include <QFile>
#include <QFileInfo>

void FileOps::Kill(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        throw RuntimeError::fileNotFound();
    if (!QFile::remove(path))
        throw RuntimeError::permissionDenied();
}
