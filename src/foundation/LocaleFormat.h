#pragma once
// Dates and numbers as the user's locale writes them.

#include <QDateTime>
#include <QString>

namespace LocaleFormat {

// The locale's short date, a blank and its long time; the date alone at exactly midnight.
QString generalDate(const QDateTime &moment);
// "#,###": grouped digits, no decimals, and nothing at all for 0.
QString groupedNumber(qint64 value);

} // namespace LocaleFormat
