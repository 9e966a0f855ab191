// libFuzzer target: the ID3v1 reader on arbitrary file contents. A tag is read exactly when
// the last 128 bytes start with "TAG"; the fields hold no NULs and fit their widths; the genre
// is the last byte; the file is left as it was.

#include "FuzzInputFile.h"
#include "library/ID3Reader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto check = [](bool ok, const char *what) {
        FuzzInputFile::check(ok, "ID3 reader", what);
    };
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = FuzzInputFile::write(QStringLiteral("input.Mp3"), bytes);
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
    check(FuzzInputFile::contents(path) == bytes, "the file changed");
    return 0;
}
