#include "Playlist.h"

#include "foundation/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace Playlist {

QStringList entries(const QString &playlistPath)
{
    const QDir folder = QFileInfo(playlistPath).absoluteDir();
    QString text = TextFile::read(playlistPath);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList paths;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
            line = QUrl(line).toLocalFile();
            if (line.isEmpty())
                continue;
        } else if (line.contains(QStringLiteral("://"))) {
            continue; // a stream address names no file
        }
        paths.append(QDir::cleanPath(folder.absoluteFilePath(line)));
    }
    return paths;
}

QString batchName(const QString &playlistPath)
{
    return QFileInfo(playlistPath).completeBaseName();
}

} // namespace Playlist
