#include "settings/OptionsFile.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "settings/Options.h"
#include "tovarocx/FileNameBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

void saveOptionsFile(const Options &options, const QString &iniPath)
{
    const QString folder = QFileInfo(iniPath).absolutePath();
    QDir().mkpath(folder);
    // The scratch copy lives beside the file, on the disk that must hold the result: a full
    // TEMP elsewhere cannot stop the save. It is written plainly, never synced.
    QByteArray pattern = FileNameBytes::encode(folder + QStringLiteral("/.options.XXXXXX"));
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw RuntimeError::fromErrno(errno);
    const QString copy = FileNameBytes::decode(pattern);
    const auto removeCopy = qScopeGuard([&] { QFile::remove(copy); });
    {
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            throw RuntimeError::deviceIoError();
        }
        if (QFileInfo::exists(iniPath)) {
            const QByteArray present = TextFile::readBytes(iniPath);
            if (file.write(present) != present.size() || !file.flush())
                throw RuntimeError::deviceIoError();
        }
    }
    {
        QSettings settings(copy, QSettings::IniFormat);
        settings.setAtomicSyncRequired(false);
        options.save(settings);
        if (settings.status() != QSettings::NoError)
            throw RuntimeError::deviceIoError();
    }
    // Qt may not notice a write that failed late: read the copy back before trusting it.
    Options written;
    QSettings check(copy, QSettings::IniFormat);
    written.load(check);
    for (int i = 0; i < Options::kCount; ++i) {
        if (check.status() != QSettings::NoError || written[i] != options[i])
            throw RuntimeError::deviceIoError();
    }
    if (written.playerVolume() != options.playerVolume())
        throw RuntimeError::deviceIoError();
    TextFile::save(iniPath, TextFile::readBytes(copy));
}
