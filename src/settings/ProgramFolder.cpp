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
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(executableFolder).isWritable())
        return ProgramFolder(executableFolder);
    // An installed program: keep the user's files in the user's data folder.
    const QString dataHome = qEnvironmentVariable(
        "XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"));
    const QString folder = dataHome + QStringLiteral("/i2kCmd");
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
