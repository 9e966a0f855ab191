#pragma once
// File operations that fail with the program's run-time errors.

#include <QString>

namespace FileOps {

// Deletes a regular file or a symbolic link (the link, never its target): "File not found
// (53)" when there is none, or the name is a folder, device, FIFO or socket, which are left
// alone; "Permission denied (70)" when it cannot be removed.
void Kill(const QString &path);

// Renames a file or folder, also into another folder of the same file system, and never
// over an existing name, not even one made at the same moment: "File not found (53)" when
// there is nothing to rename, "File already exists (58)" when the new name is taken, "Can't
// rename with different drive (74)" across file systems, "Bad file name or number (52)" for
// an empty name, the failure's own error otherwise.
void Name(const QString &from, const QString &to);

} // namespace FileOps
