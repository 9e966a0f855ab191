// libFuzzer target: the archive reader on arbitrary bytes. Any outcome but a RuntimeError
// or a decoded entry (a crash, a sanitizer report, a hang) is a finding.

#include "foundation/RuntimeError.h"
#include "formats/Archive.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.db"));
    if (!dir.isValid())
        std::abort();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    const Archive archive;
    for (qint16 occurrence = 1; occurrence <= 2; ++occurrence) {
        try {
            archive.ReadEntry(path, QStringLiteral("VELMORAD"), occurrence);
        } catch (const RuntimeError &) {
        }
    }
    return 0;
}
