#include "drawing/PictureFile.h"

#include "foundation/RuntimeError.h"

#include <QFileInfo>
#include <QImageReader>

QImage PictureFile::load(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        throw RuntimeError::fileNotFound();
    // A FIFO or device would hold the reader for ever.
    if (!info.isFile())
        throw RuntimeError::deviceUnavailable();
    QImageReader reader(path);
    // Decide by the contents, not the name, so a picture with the wrong extension still loads.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        throw RuntimeError::invalidPicture();
    return picture;
}
