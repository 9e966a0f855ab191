#include "FileQueries.h"

#include "Errors.h"
#include "tovarocx/FileNameBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace Tovar {

namespace {

// The status of what a path names (links followed), the birth time where the file system
// keeps one.
std::optional<struct statx> statusOf(const QString &path)
{
    struct statx status
    {
    };
    if (path.isEmpty() || ::statx(AT_FDCWD, FileNameBytes::encode(path).constData(), 0,
                                  STATX_BASIC_STATS | STATX_BTIME, &status) != 0)
        return std::nullopt;
    return status;
}

QDateTime dateOf(const struct statx_timestamp &time)
{
    return QDateTime::fromMSecsSinceEpoch(time.tv_sec * 1000 + time.tv_nsec / 1000000);
}

QDateTime created(const struct statx &status)
{
    return dateOf((status.stx_mask & STATX_BTIME) != 0 ? status.stx_btime : status.stx_ctime);
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
        points.append(FileNameBytes::decode(point));
    }
    return points;
}

// Whether a file system is mounted on the folder: its device differs from its parent's (the
// root is its own parent), or the kernel lists it (a bind mount keeps the device).
bool isMountPoint(const QString &canonical)
{
    const QByteArray name = FileNameBytes::encode(canonical);
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
    const std::optional<struct statx> status = statusOf(path);
    return status && S_ISREG(status->stx_mode);
}

bool folderExists(const QString &path)
{
    const std::optional<struct statx> status = statusOf(path);
    return status && S_ISDIR(status->stx_mode);
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
    const std::optional<struct statx> status = statusOf(path);
    if (!status || !S_ISREG(status->stx_mode))
        throw Errors::fileNotFound();
    switch (which) {
    case FileDate::Created:
        return created(*status);
    case FileDate::Accessed:
        return dateOf(status->stx_atime);
    case FileDate::Modified:
        break;
    }
    return dateOf(status->stx_mtime);
}

QDateTime folderCreated(const QString &path)
{
    const std::optional<struct statx> status = statusOf(path);
    if (!status || !S_ISDIR(status->stx_mode))
        throw Errors::pathNotFound();
    return created(*status);
}

} // namespace Tovar
