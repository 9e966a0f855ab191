#pragma once
// The sort of listings: ordinal, case-sensitive, by Unicode code point.

#include <QStringList>

// Sorts texts in place, ascending or descending, comparing them by code point.
void SortArray(QStringList &texts, bool ascending);
// Negative, zero or positive as a sorts before, with or after b by code point.
int compareCodePoints(QStringView a, QStringView b);
