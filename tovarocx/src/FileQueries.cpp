#include "FileQueries.h"

#include "Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace Tovar {

namespace {

QDateTime created(const QFileInfo &info)
{
    const QDateTime birth = info.birthTime();
    return birth.isValid() ? birth : info.metadataChangeTime();
}

// Where the kernel has mounted something, from /proc/self/mountinfo: the fifth field, with
// blanks, tabs, new lines and backslashes written as octal escapes.
QStringList mountPoints()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    QStringList points;
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5)
            continue;
        QByteArray point;
        const QByteArray &field = fields[4];
        for (qsizetype i = 0; i < field.size(); ++i) {
            if (field[i] == '\\' && i + 3 < field.size()) {
                point += char(field.mid(i + 1, 3).toInt(nullptr, 8));
                i += 3;
            } else {
                point += field[i];
            }
        }
        points.append(QFile::decodeName(point));
    }
    return points;
}

// Whether a file system is mounted on the folder: its device differs from its parent's (the
// root is its own parent), or the kernel lists it (a bind mount keeps the device).
bool isMountPoint(const QString &canonical)
{
    const QByteArray name = QFile::encodeName(canonical);
    struct stat self
    {
    };
    struct stat parent
    {
    };
    if (::stat(name.constData(), &self) != 0 || ::stat((name + "/..").constData(), &parent) != 0)
        return false;
    if (self.st_dev != parent.st_dev || self.st_ino == parent.st_ino)
        return true;
    return mountPoints().contains(canonical);
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
    // A mounted file system is ready even when it holds nothing; an empty folder with nothing
    // mounted on it is a drive bay with no disk in it.
    if (isMountPoint(info.canonicalFilePath()))
        return 2;
    return QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
               ? 1
               : 2;
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
