// libFuzzer target: the ID3v1 reader on arbitrary file contents. A tag is read exactly when
// the last 128 bytes start with "TAG"; the fields hold no NULs and fit their widths; the genre
// is the last byte; the file is left as it was.

#include "library/ID3Reader.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "ID3 reader: %s\n", what);
        std::abort();
    }
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("input.Mp3"));
    if (!dir.isValid())
        std::abort();

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        // A plain write: a synced save per run would slow the fuzzer a hundredfold.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            std::abort();
    }
    ID3Reader reader;
    reader.setFilename(path);
    const bool tagged = bytes.size() >= ID3Reader::kTagSize &&
                        bytes.mid(bytes.size() - ID3Reader::kTagSize, 3) == "TAG";
    check(reader.filename() == (tagged ? path : QString()), "read when it should not, or not");
    const struct
    {
        QString text;
        qsizetype width;
    } fields[] = {{reader.title(), 30},
                  {reader.artist(), 30},
                  {reader.album(), 30},
                  {reader.year(), 4},
                  {reader.comment(), 29}};
    for (const auto &f : fields) {
        check(tagged || f.text.isEmpty(), "a field without a tag");
        check(!f.text.contains(QChar(0)), "a NUL in a field");
        check(f.text.size() <= f.width, "a field wider than its bytes");
    }
    check(reader.genre() == (tagged ? static_cast<unsigned char>(bytes.back()) : 0),
          "the genre is not the last byte");
    check(contents(path) == bytes, "the file changed");
    return 0;
}
