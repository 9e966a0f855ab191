#include "library/TrackDetails.h"

#include "session/Session.h"

QString TDetails(const Session &s, const QString &a, const QString &t)
{
    constexpr qsizetype kWidth = 92;
    const QString artist = s.vld.GetValue(QStringLiteral("Artist") + a);
    const QString title = s.vld.GetValue(a + QStringLiteral("Track") + t);
    QString line = (a + QStringLiteral(", ") + t + QStringLiteral(": ") + artist + QStringLiteral(" - ") + title)
                       .left(kWidth);
    // A full line would leave no room to show that it was cut.
    if (line.size() == kWidth)
        line = line.left(kWidth - 3) + QStringLiteral("...");
    return line + QStringLiteral("\r\n");
}
