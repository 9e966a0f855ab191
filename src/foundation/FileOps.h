#pragma once
// File operations that fail with the program's run-time errors.

#include <QString>

namespace FileOps {

// Deletes a file: "File not found (53)" when there is none, "Permission denied (70)"
// when it cannot be removed.
void Kill(const QString &path);

} // namespace FileOps
