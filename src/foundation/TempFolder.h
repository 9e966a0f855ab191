#pragma once
// Temporary files. TEMP is shared with every other program of the user (or of everyone),
// so the program keeps its own files in a folder of its own, made new for each run.

#include <QString>

// $TEMP when set, else the system's temporary folder.
QString tempFolder();

class PrivateTempFolder
{
public:
    PrivateTempFolder() = default;
    ~PrivateTempFolder() { remove(); }
    PrivateTempFolder(const PrivateTempFolder &) = delete;
    PrivateTempFolder &operator=(const PrivateTempFolder &) = delete;

    // The path of a file in the folder, which is made on first use: a new folder under
    // TEMP that only this user can enter (mode 0700, never an existing folder or link).
    // Raises "Path not found (76)" when TEMP does not exist, or the failure's own error.
    QString file(const QString &name);
    // Deletes the folder with what the program put in it; nothing else is touched.
    void remove();
    bool exists() const { return !m_path.isEmpty(); }
    // The resolved name of the entry an absolute path names directly inside the folder (its
    // folder part resolved through ".." and links, the entry itself not followed); empty for
    // anything else, a relative name, or while the folder has not been made.
    QString ownEntry(const QString &path) const;

private:
    QString m_path;
};
