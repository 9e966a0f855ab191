#pragma once
// Deleting one key from a private profile (INI) file, every other byte kept as it was.

#include <QByteArray>
#include <QString>

namespace Tovar {

// The file's text without the first "key=..." line of the first "[section]" (names compared
// without case, blanks around them ignored); the same bytes when there is none.
QByteArray withoutIniKey(const QByteArray &ini, const QString &section, const QString &key);

// The same on a file, replaced atomically; a missing file is left missing. A file that
// cannot be read or written raises "Path/File access error (75)" or "Permission denied (70)".
void removeIniKey(const QString &section, const QString &key, const QString &path);

} // namespace Tovar
