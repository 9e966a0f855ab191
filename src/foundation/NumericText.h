#pragma once
// Numeric text by the rules of classic BASIC-style consoles, and its conversions to whole numbers.
// Accepted: surrounding blanks, a sign, digits with a decimal point, an exponent (e or d),
// "&h" hexadecimal and "&o" octal. Group separators are not accepted.

#include <QString>
#include <QStringView>
#include <optional>

namespace Numeric {

std::optional<double> parse(QStringView text);
bool isNumeric(QStringView text);

// Rounds half to even; raises "Overflow (6)" outside the target range.
qint32 roundToLong(double value);
qint16 roundToInteger(double value);

// Conversions of text: "Type mismatch (13)" when it is not numeric, then as above.
double toDouble(QStringView text);
qint32 toLong(QStringView text);
qint16 toInteger(QStringView text);

} // namespace Numeric
