#pragma once
// Writes "ITVL" archives (docs/formats.md): the header, each entry's data in the order
// added, then the directory. The archive is replaced atomically when finished; an archive
// abandoned or failed half way leaves nothing behind. Entries may be far larger than memory:
// files are copied in pieces.

#include "foundation/TextFile.h"

#include <QList>
#include <QString>

class ArchiveWriter
{
public:
    // Raises the file guard's errors when the archive cannot be started beside path.
    explicit ArchiveWriter(const QString &path);

    // Adds one entry (a name of 1 to 16 ASCII characters, else "Invalid procedure call (5)";
    // at most Archive::kMaxEntries, else "Invalid file format (321)") and answers where its
    // data starts in the archive, for references to it.
    quint64 addBytes(const QString &name, const QByteArray &bytes);
    quint64 addFile(const QString &name, const QString &filePath);
    // The bytes written so far: where the next entry will start.
    qint64 size() const { return m_file.size(); }
    // Writes the directory and the header, syncs and puts the archive in place.
    void finish();

private:
    struct Slot
    {
        QByteArray name;
        quint64 offset;
        quint64 length;
    };
    QByteArray checkedName(const QString &name) const;

    TextFile::AtomicFile m_file;
    QList<Slot> m_slots;
};
