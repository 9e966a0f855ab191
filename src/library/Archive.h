#pragma once
// Reader of the "ITVL" database archives and of whole files, by path. Nothing is held open
// between calls. A damaged or truncated archive raises a run-time error; nothing is ever
// read outside the file. The layout is described in docs/formats.md.

#include <QString>

class Archive
{
public:
    bool FileExists(const QString &path) const;
    // The content of the occurrence-th entry (1 = first) named entryName (compared without
    // regard to case), decoded as text.
    QString ReadEntry(const QString &archivePath, const QString &entryName, qint16 occurrence = 1) const;
    // length bytes from the 0-based byte offset of the file, decoded as text.
    QString ReadRange(const QString &path, qint32 offset, qint32 length) const;
    // The whole file as text.
    QString ReadAll(const QString &path) const;
};
