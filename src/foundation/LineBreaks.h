#pragma once
// Text from outside the program (a shell's output, a web page) usually ends its lines with a
// lone LF; the program's texts, the pager included, break lines at CR LF.

#include <QString>

// Every LF not already after a CR becomes CR LF; everything else stays as it is.
QString toCrLf(const QString &text);
