#pragma once
// Temporary files. TEMP is shared with every other program of the user (or of everyone),
// so the program keeps its own files in a folder of its own, made new for each run and
// named after the run's process (i2kCmd-<pid>-XXXXXX), so that one left by a run that died
// can be told from one still in use.

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

// $TEMP when set, else the system's temporary folder.
QString tempFolder();

// Deletes the private folders in parent that runs of this user left when they died: only
// folders (never links) named as above, owned by this user, whose process is gone.
void removeAbandonedTempFolders(const QString &parent = tempFolder());

class PrivateTempFolder
{
public:
    PrivateTempFolder() = default;
    ~PrivateTempFolder() { remove(); }
    PrivateTempFolder(const PrivateTempFolder &) = delete;
    PrivateTempFolder &operator=(const PrivateTempFolder &) = delete;

    // The path of a file in the folder, which is made on first use: a new folder under
    // TEMP that only this user can enter (mode 0700, never an existing folder or link).
    // Raises "Path not found (76)" when TEMP does not exist, or "Permission denied (70)".
    QString file(const QString &name);
    // Deletes the folder with what the program put in it; nothing else is touched.
    void remove();
    bool exists() const { return !m_path.isEmpty(); }
    // Whether path names an entry directly inside the folder (after "." and ".." are
    // resolved); false while the folder has not been made.
    bool holds(const QString &path) const;

    // Raises "Disk full (61)" unless the folder's file system has room for bytes more.
    void checkRoom(qint64 bytes);
    // Free bytes on the file system of a folder; replaceable so tests can fill the disk.
    std::function<qint64(const QString &folder)> bytesFree;

    // Copies made for this run, by a key naming what was copied: the same thing asked for
    // again is the copy made before, while that is still there with its size.
    std::optional<QString> copyOf(const QString &key, qint64 size) const;
    void keepCopy(const QString &key, const QString &path) { m_copies.insert(key, path); }

private:
    QString m_path;
    QHash<QString, QString> m_copies;
};
