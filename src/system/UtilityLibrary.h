#pragma once
// The utility plugin, tovarocx, as the commands reach it: loaded once, on first use, from the
// first folder of the search list that holds it, and called by dispatch id. Its failures and
// its absence arrive as RuntimeError, so a command without it fails alone and clearly.

#include "tovarocx/TovarInterface.h"

#include <QStringList>
#include <QVariant>
#include <memory>

class QPluginLoader;

class UtilityLibrary
{
public:
    // The plugin's file name in every folder searched.
    static const QString kFileName;

    // Searches the folders in order; an empty list means defaultFolders().
    explicit UtilityLibrary(QStringList folders = {});
    ~UtilityLibrary();
    UtilityLibrary(const UtilityLibrary &) = delete;
    UtilityLibrary &operator=(const UtilityLibrary &) = delete;

    // $I2KCMD_PLUGIN_DIR when set, then the executable's folder (a build tree), then the
    // installed plugin folder (lib/.../i2kCmd/plugins beside the executable's bin folder).
    static QStringList defaultFolders();
    // Where to look instead; takes effect only before the first call.
    void setFolders(QStringList folders) { m_folders = std::move(folders); }

    // Calls a member; arguments by reference, as the plugin may write into them. A missing
    // plugin raises "Cannot load the utility plugin (429)" naming every file looked for.
    QVariant invoke(int dispid, QVariantList &args);
    // For callers with no use for what the plugin leaves in its arguments.
    QVariant call(int dispid, QVariantList args) { return invoke(dispid, args); }

private:
    Tovar::Interface &plugin();

    QStringList m_folders;
    std::unique_ptr<QPluginLoader> m_loader;
    Tovar::Interface *m_plugin = nullptr;
    // Why the one attempt to load failed; empty before it and after a success.
    QString m_failure;
};
