#include "settings/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

ProgramFolder::ProgramFolder(QString folder) : m_folder(std::move(folder)) {}

ProgramFolder ProgramFolder::resolve(const QString &homeOption)
{
    // A chosen folder is made when it does not exist yet.
    const QString chosen = homeOption.isEmpty() ? qEnvironmentVariable("I2KCMD_HOME") : homeOption;
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        return ProgramFolder(QDir(chosen).absolutePath());
    }
    // A portable copy keeps everything beside itself.
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(executableFolder + QStringLiteral("/portable")))
        return ProgramFolder(executableFolder);
    // Otherwise the user's data folder, so a rebuild, `make clean` or an upgrade never
    // takes a user's aliases and log.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString folder =
        (dataHome.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : dataHome) +
        QStringLiteral("/i2kCmd");
    QDir().mkpath(folder);
    return ProgramFolder(folder);
}

QString ProgramFolder::programFolder(const QString &fileName) const
{
    QString name = fileName;
    while (name.startsWith(u'/'))
        name.remove(0, 1);
    return m_folder.endsWith(u'/') ? m_folder + name : m_folder + u'/' + name;
}

QString ProgramFolder::sampleDatabase(const QString &executableFolder)
{
    const QDir folder(executableFolder);
    for (const QString &candidate :
         {QStringLiteral("sample/sample.vld"), QStringLiteral("../share/i2kCmd/sample.vld")}) {
        const QString path = QDir::cleanPath(folder.absoluteFilePath(candidate));
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}
