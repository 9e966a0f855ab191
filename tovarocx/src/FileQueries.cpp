#include "FileQueries.h"

#include "Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace Tovar {

namespace {

QDateTime created(const QFileInfo &info)
{
    const QDateTime birth = info.birthTime();
    return birth.isValid() ? birth : info.metadataChangeTime();
}

} // namespace

bool fileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool folderExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

int driveState(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return 0;
    if (!info.isReadable() || !info.isExecutable())
        return 1;
    const bool mountPoint = QStorageInfo(path).rootPath() == info.canonicalFilePath();
    if (mountPoint && QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                         QDir::NoDotAndDotDot))
        return 1;
    return 2;
}

QDateTime fileDate(const QString &path, FileDate which)
{
    const QFileInfo info(path);
    if (!fileExists(path))
        throw Errors::fileNotFound();
    switch (which) {
    case FileDate::Created:
        return created(info);
    case FileDate::Accessed:
        return info.lastRead();
    case FileDate::Modified:
        break;
    }
    return info.lastModified();
}

QDateTime folderCreated(const QString &path)
{
    if (!folderExists(path))
        throw Errors::pathNotFound();
    return created(QFileInfo(path));
}

} // namespace Tovar
