#include "system/SortArray.h"

#include <algorithm>

namespace {

// UTF-16 puts the surrogates (D800..DFFF) below E000..FFFF, though the code points they
// encode lie above every one of them: move them to the top of the range.
int codePointRank(char16_t unit)
{
    if (unit < 0xD800)
        return unit;
    return unit >= 0xE000 ? unit - 0x800 : unit + 0x2000;
}

} // namespace

int compareCodePoints(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x != y)
            return codePointRank(x) - codePointRank(y);
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

void SortArray(QStringList &texts, bool ascending)
{
    // Texts that compare equal are identical, so every correct sort leaves the same array; a
    // quicksort pivoting on the last element would turn quadratic on the already sorted
    // lists the platform often gives (the font list among them).
    std::sort(texts.begin(), texts.end(), [ascending](const QString &a, const QString &b) {
        const int order = compareCodePoints(a, b);
        return ascending ? order < 0 : order > 0;
    });
}
