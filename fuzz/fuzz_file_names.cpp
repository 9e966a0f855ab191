// libFuzzer target: any bytes of a file name come back from their text as the same bytes, and
// a text made of valid UTF-8 is that text.

#include "tovarocx/FileNameBytes.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = FileNameBytes::decode(bytes);
    if (FileNameBytes::encode(text) != bytes)
        std::abort();
    if (QUtf8StringView(bytes).isValidUtf8() && text != QString::fromUtf8(bytes))
        std::abort();
    return 0;
}
