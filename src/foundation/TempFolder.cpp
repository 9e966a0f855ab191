#include "foundation/TempFolder.h"

#include "foundation/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
            throw RuntimeError::fromErrno(errno);
        m_path = QFile::decodeName(pattern);
    }
    return m_path + u'/' + name;
}

QString PrivateTempFolder::ownEntry(const QString &path) const
{
    // A relative name would be resolved against the working folder by whoever uses it.
    if (m_path.isEmpty() || !QDir::isAbsolutePath(path))
        return {};
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty() || name == u"." || name == u"..")
        return {};
    // The folder part as the system resolves it, ".." after links: realpath.
    const QString folder = QFileInfo(info.path()).canonicalFilePath();
    if (folder.isEmpty() || folder != QFileInfo(m_path).canonicalFilePath())
        return {};
    return folder + u'/' + name;
}

void PrivateTempFolder::remove()
{
    if (m_path.isEmpty())
        return;
    QDir(m_path).removeRecursively();
    m_path.clear();
}
