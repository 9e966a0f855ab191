#include "system/UtilityLibrary.h"

#include "foundation/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

const QString UtilityLibrary::kFileName = QStringLiteral("libtovarocx.so");

UtilityLibrary::UtilityLibrary(QStringList folders)
    : m_folders(folders.isEmpty() ? defaultFolders() : std::move(folders))
{
}

UtilityLibrary::~UtilityLibrary() = default;

QStringList UtilityLibrary::defaultFolders()
{
    QStringList folders;
    const QString chosen = qEnvironmentVariable("I2KCMD_PLUGIN_DIR");
    if (!chosen.isEmpty())
        folders.append(chosen);
    const QString exeFolder = QCoreApplication::applicationDirPath();
    folders.append(exeFolder);
    folders.append(QDir::cleanPath(exeFolder + QStringLiteral("/../") +
                                   QStringLiteral(I2K_PLUGIN_DIR)));
    return folders;
}

Tovar::Interface &UtilityLibrary::plugin()
{
    if (m_plugin)
        return *m_plugin;
    if (m_failure.isEmpty()) {
        QStringList lookedFor;
        for (const QString &folder : std::as_const(m_folders)) {
            const QString path = QDir(folder).filePath(kFileName);
            if (!QFileInfo(path).isFile()) {
                lookedFor.append(path);
                continue;
            }
            auto loader = std::make_unique<QPluginLoader>(path);
            if (auto *tovar = qobject_cast<Tovar::Interface *>(loader->instance())) {
                m_loader = std::move(loader);
                m_plugin = tovar;
                return *m_plugin;
            }
            lookedFor.append(path + QStringLiteral(": ") + loader->errorString());
        }
        m_failure = lookedFor.join(QStringLiteral(", "));
    }
    throw RuntimeError::pluginMissing(m_failure);
}

QVariant UtilityLibrary::invoke(int dispid, QVariantList &args)
{
    Tovar::Interface &tovar = plugin();
    try {
        return tovar.invoke(dispid, args);
    } catch (const Tovar::Error &error) {
        throw RuntimeError(error.number, error.description);
    }
}
