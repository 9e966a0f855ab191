#include "system/RunTarget.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

RunTarget findRunTarget(const QString &word)
{
    if (word.isEmpty())
        return {};
    const QFileInfo file(word);
    if (word.contains(u'/')) {
        if (file.isFile() && file.isExecutable())
            return {RunTarget::Program, file.absoluteFilePath()};
    } else {
        const QString onPath = QStandardPaths::findExecutable(word);
        if (!onPath.isEmpty())
            return {RunTarget::Program, onPath};
    }
    if (file.exists())
        return {RunTarget::Document, file.absoluteFilePath()};
    // An address with a scheme (https:, mailto:, ...); one letter before ":" is no scheme.
    const QUrl url(word, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return {RunTarget::Document, word};
    return {};
}
