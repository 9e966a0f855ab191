#pragma once
// The file, folder and drive queries: existence, readiness and the dates a file keeps.

#include <QDateTime>
#include <QString>

namespace Tovar {

bool fileExists(const QString &path);
bool folderExists(const QString &path);
// A folder standing for a drive: 0 missing, 1 there but not ready (unreadable, or empty with
// nothing mounted on it), 2 ready (a mounted file system, even an empty one, or a folder with
// something in it).
int driveState(const QString &path);

enum class FileDate { Created, Accessed, Modified };
// A file's date; "File not found (53)" when the path is no file. Where the file system keeps
// no creation time, the last status change stands for it.
QDateTime fileDate(const QString &path, FileDate which);
// A folder's creation date, with the same stand-in; "Path not found (76)" when it is none.
QDateTime folderCreated(const QString &path);

} // namespace Tovar
