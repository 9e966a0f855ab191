#pragma once
// How text takes the console's cells, as a terminal lays it out: a character with the
// zero-width marks that join it is one cluster; East Asian wide and fullwidth characters and
// emoji take two cells, everything else one. Widths come from the Unicode data ICU carries.

#include <QString>
#include <QStringView>

namespace TextCells {

// A cluster never holds more UTF-16 units than this: marks past it are dropped, so a name
// stacked with thousands of marks costs no more than any other.
constexpr qsizetype kMaxClusterUnits = 8;

// 0 for combining marks and zero-width characters, 2 for wide characters, else 1.
int width(char32_t code);
bool isRightToLeft(char32_t code);
// Whether a text needs no more than one cell per UTF-16 unit, each holding its unit: the
// console draws such text as it always has.
bool isPlain(QStringView text);

struct Cluster
{
    qsizetype start = 0;
    qsizetype length = 0; // UTF-16 units, marks past kMaxClusterUnits not counted
    qsizetype next = 0;   // where the following cluster starts
    int width = 1;
    bool rightToLeft = false;
};

// The cluster starting at index start of text (start < text.size()).
Cluster clusterAt(QStringView text, qsizetype start);
// The last cluster of a text that is not empty.
Cluster lastCluster(QStringView text);
// The cells a text takes.
qsizetype cells(QStringView text);
// The longest start of text that takes at most maxCells cells, never cutting a cluster.
QStringView left(QStringView text, qsizetype maxCells);
// The visible stand-in of a control character (U+2400 block), or the character itself.
char16_t shown(char16_t unit);

} // namespace TextCells
