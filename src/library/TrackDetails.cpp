#include "library/TrackDetails.h"

#include "foundation/TextCells.h"
#include "formats/Catalogue.h"

QString TDetails(const Catalogue &catalogue, const QString &a, const QString &t)
{
    constexpr qsizetype kWidth = 92;
    const QString artist = catalogue.GetValue(QStringLiteral("Artist") + a);
    const QString title = catalogue.GetValue(a + QStringLiteral("Track") + t);
    const QString line = a + QStringLiteral(", ") + t + QStringLiteral(": ") + artist +
                         QStringLiteral(" - ") + title;
    // Cut by cells, so a line of wide characters never runs past the screen; a full line
    // would leave no room to show that it was cut.
    if (TextCells::cells(line) >= kWidth)
        return TextCells::left(line, kWidth - 3).toString() + QStringLiteral("...\r\n");
    return line + QStringLiteral("\r\n");
}
