#pragma once
// Picture files, in every format the installed Qt image plugins read.

#include <QImage>
#include <QString>

namespace PictureFile {

// "File not found (53)" when there is no such file, "Device unavailable (68)" for a FIFO
// or device, "Invalid picture (481)" when it is
// not a picture that can be read (or would be too large to hold).
QImage load(const QString &path);

} // namespace PictureFile
