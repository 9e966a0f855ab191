#include "foundation/LocaleFormat.h"

#include <QLocale>

namespace LocaleFormat {

QString generalDate(const QDateTime &moment)
{
    const QLocale locale = QLocale::system();
    const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() == QTime(0, 0))
        return date;
    return date + u' ' + locale.toString(moment.time(), QLocale::LongFormat);
}

QString groupedNumber(qint64 value)
{
    if (value == 0)
        return {};
    QLocale locale = QLocale::system();
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

} // namespace LocaleFormat
