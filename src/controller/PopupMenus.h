#pragma once
// The two popup menus of the console: the screen menu (copy the screen, insert the click
// position, browse for a file) and the pager menu (copy all lines, search).

#include <QPoint>
#include <QStringList>

class Session;

namespace Menus {
inline const QStringList kScreen = {QStringLiteral("&Copy text"), QStringLiteral("&Insert these coordinates"),
                                    QStringLiteral("&Browse for file...")};
inline const QStringList kPager = {QStringLiteral("&Copy all text"), QStringLiteral("&Search...")};
} // namespace Menus

// at: where on the console the menu appears.
void openScreenMenu(Session &s, QPoint at);
void openPagerMenu(Session &s, QPoint at);

// The entries' actions.
void copyText(Session &s);
void insertCoordinates(Session &s);
void browseForFile(Session &s);
void copyAllText(Session &s);
void searchPager(Session &s);
