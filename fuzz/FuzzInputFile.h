#pragma once
// What the fuzz targets of the file readers share: the input written to a file of a private
// folder (a plain write: a synced save per run would slow the fuzzer a hundredfold), the
// file's contents read back, and a check that stops the run with its reason.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace FuzzInputFile {

inline void check(bool ok, const char *reader, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", reader, what);
        std::abort();
    }
}

// The file named name, holding bytes.
inline QString write(const QString &name, const QByteArray &bytes)
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace FuzzInputFile
