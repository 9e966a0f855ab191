#include "library/TrackDetails.h"

#include "formats/Catalogue.h"
#include "formats/KeyValueStore.h"
#include "foundation/TextCells.h"

#include <algorithm>
#include <type_traits>

namespace {

// Appended without a copy of its own where it is ASCII, as names nearly always are.
void appendValue(QString &line, QAnyStringView value)
{
    if (value.isNull()) {
        line += KeyValueStore::kNotFound;
        return;
    }
    value.visit([&](auto text) {
        if constexpr (std::is_same_v<decltype(text), QUtf8StringView>) {
            if (std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; }))
                line += QLatin1StringView(text.data(), text.size());
            else
                line += QString::fromUtf8(text);
        } else {
            line += text;
        }
    });
}

} // namespace

QString TDetails(const Catalogue &catalogue, const QString &a, const QString &t)
{
    return trackLine(a, t, catalogue.GetValue(QStringLiteral("Artist") + a),
                     catalogue.GetValue(a + QStringLiteral("Track") + t));
}

QString trackLine(QStringView a, QStringView t, QAnyStringView artist, QAnyStringView title)
{
    constexpr qsizetype kWidth = 92;
    QString line;
    // No encoding takes fewer bytes than UTF-16 units; 11 for the separators or "[NOT FOUND]".
    line.reserve(a.size() + t.size() + artist.size() + title.size() + 2 * 11 + 2);
    line += a;
    line += u", ";
    line += t;
    line += u": ";
    appendValue(line, artist);
    line += u" - ";
    appendValue(line, title);
    // Cut by cells, so a line of wide characters never runs past the screen; a full line
    // would leave no room to show that it was cut.
    if (TextCells::cells(line) >= kWidth)
        return TextCells::left(line, kWidth - 3).toString() + QStringLiteral("...\r\n");
    line += u"\r\n";
    return line;
}
