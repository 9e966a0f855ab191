#include "foundation/TempFolder.h"

#include <QDir>

QString tempFolder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return temp.isEmpty() ? QDir::tempPath() : temp;
}
