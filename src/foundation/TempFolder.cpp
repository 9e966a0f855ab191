#include "foundation/TempFolder.h"

#include "foundation/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>

QString tempFolder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}

QString PrivateTempFolder::file(const QString &name)
{
    if (m_path.isEmpty()) {
        // mkdtemp makes a new folder with mode 0700 and fails rather than reuse anything.
        QByteArray pattern = QFile::encodeName(tempFolder() + QStringLiteral("/i2kCmd-XXXXXX"));
        if (!::mkdtemp(pattern.data()))
            throw errno == ENOENT || errno == ENOTDIR ? RuntimeError::pathNotFound()
                                                      : RuntimeError::permissionDenied();
        m_path = QFile::decodeName(pattern);
    }
    return m_path + u'/' + name;
}

bool PrivateTempFolder::holds(const QString &path) const
{
    if (m_path.isEmpty() || path.isEmpty())
        return false;
    const QString clean = QDir::cleanPath(QDir(m_path).absoluteFilePath(path));
    const QString folder = QDir::cleanPath(QDir(m_path).absolutePath());
    return clean.startsWith(folder + u'/') && !clean.mid(folder.size() + 1).contains(u'/');
}

void PrivateTempFolder::remove()
{
    if (m_path.isEmpty())
        return;
    QDir(m_path).removeRecursively();
    m_path.clear();
}
