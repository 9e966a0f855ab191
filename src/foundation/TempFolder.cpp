#include "foundation/TempFolder.h"

#include "foundation/RuntimeError.h"
#include "tovarocx/FileNameBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral("i2kCmd-");

// kill(pid, 0) fails with ESRCH only when no such process exists; EPERM means it lives
// under another user.
bool processAlive(qint64 pid)
{
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() &&
           (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

} // namespace

QString tempFolder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}

void removeAbandonedTempFolders(const QString &parent)
{
    static const QRegularExpression name(QStringLiteral("^i2kCmd-([0-9]{1,10})-[A-Za-z0-9]{6}$"));
    const QStringList entries = QDir(parent).entryList(
        {kPrefix + u'*'}, QDir::Dirs | QDir::NoSymLinks | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        const QRegularExpressionMatch match = name.match(entry);
        if (!match.hasMatch() || processAlive(match.captured(1).toLongLong()))
            continue;
        const QString path = QDir(parent).filePath(entry);
        struct stat st {};
        if (::lstat(FileNameBytes::encode(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::getuid())
            continue;
        // Links inside are removed, never followed.
        QDir(path).removeRecursively();
    }
}

QString PrivateTempFolder::file(const QString &name)
{
    if (m_path.isEmpty()) {
        // mkdtemp makes a new folder with mode 0700 and fails rather than reuse anything.
        QByteArray pattern =
            FileNameBytes::encode(tempFolder() + u'/' + kPrefix + QString::number(::getpid()) +
                              QStringLiteral("-XXXXXX"));
        if (!::mkdtemp(pattern.data()))
            throw RuntimeError::fromErrno(errno);
        m_path = FileNameBytes::decode(pattern);
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

void PrivateTempFolder::checkRoom(qint64 bytes)
{
    file(QString()); // the folder is made first
    const qint64 free = bytesFree ? bytesFree(m_path) : QStorageInfo(m_path).bytesAvailable();
    if (free >= 0 && bytes > free)
        throw RuntimeError::diskFull();
}

std::optional<QString> PrivateTempFolder::copyOf(const QString &key, qint64 size) const
{
    const auto copy = m_copies.constFind(key);
    if (copy == m_copies.cend())
        return std::nullopt;
    const QFileInfo info(*copy);
    if (!info.isFile() || info.isSymLink() || info.size() != size)
        return std::nullopt;
    return *copy;
}

void PrivateTempFolder::remove()
{
    m_copies.clear();
    if (m_path.isEmpty())
        return;
    QDir(m_path).removeRecursively();
    m_path.clear();
}
