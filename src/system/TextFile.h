#pragma once
// Reading and writing the text files the program keeps: UTF-8, with files from the
// original platform (Windows-1252) still readable, and writes that never leave half a file.

#include <QByteArray>
#include <QString>

namespace TextFile {

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
QString decode(const QByteArray &bytes);
QByteArray encode(const QString &text);

// Whole file as bytes or as text; a missing file raises "File not found (53)",
// an unreadable one "Path/File access error (75)".
QByteArray readBytes(const QString &path);
QString read(const QString &path);

// Writes through a temporary file in the same folder and a rename, so a crash mid-write
// leaves either the old file or the new one. Raises "Path/File access error (75)".
void writeAtomically(const QString &path, const QByteArray &bytes);

} // namespace TextFile
