#include "settings/OptionsFile.h"

#include "foundation/RuntimeError.h"
#include "foundation/TempFolder.h"
#include "foundation/TextFile.h"
#include "settings/Options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

void saveOptionsFile(const Options &options, const QString &iniPath, PrivateTempFolder &scratch)
{
    const QString copy = scratch.file(QStringLiteral("options.ini"));
    QFile::remove(copy);
    // The copy is scratch: written plainly, never synced to the disk.
    if (QFileInfo::exists(iniPath)) {
        const QByteArray present = TextFile::readBytes(iniPath);
        QFile file(copy);
        if (!file.open(QIODevice::WriteOnly) || file.write(present) != present.size())
            throw RuntimeError::deviceIoError();
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
    const QByteArray bytes = TextFile::readBytes(copy);
    QFile::remove(copy);
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    TextFile::save(iniPath, bytes);
}
