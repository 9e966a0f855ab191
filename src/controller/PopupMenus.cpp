#include "controller/PopupMenus.h"

#include "session/Session.h"

void openScreenMenu(Session &s, QPoint at)
{
    switch (s.popupMenu(Menus::kScreen, at)) {
    case 0:
        copyText(s);
        break;
    case 1:
        insertCoordinates(s);
        break;
    case 2:
        browseForFile(s);
        break;
    default:
        break;
    }
}

void openPagerMenu(Session &s, QPoint at)
{
    switch (s.popupMenu(Menus::kPager, at)) {
    case 0:
        copyAllText(s);
        break;
    case 1:
        searchPager(s);
        break;
    default:
        break;
    }
}

void copyText(Session &s)
{
    s.desktop().setClipboardText(s.console.scrCells().screenText());
}

void insertCoordinates(Session &s)
{
    s.console.TypeText(QStringLiteral("%1,%2").arg(s.keyboard.clickX).arg(s.keyboard.clickY));
}

void browseForFile(Session &s)
{
    const std::optional<QString> path =
        s.openFile(QStringLiteral("Browse for File"), QStringLiteral("All files (*)"));
    if (path && !path->isEmpty())
        s.console.TypeText(*path);
}

void copyAllText(Session &s)
{
    QStringList lines;
    for (int i = 0; i < s.pager.pageCount(); ++i)
        lines.append(s.pager.pageLine(i));
    s.desktop().setClipboardText(lines.join(QStringLiteral("\r\n")));
}

void searchPager(Session &s)
{
    const std::optional<QString> answer =
        s.inputBox(QStringLiteral("Search"), QStringLiteral("Enter search text:"));
    Pager &pager = s.pager;
    if (!answer || answer->isEmpty() || pager.pageTop == pager.pageCount())
        return;
    const QString wanted = answer->toLower();
    for (int i = pager.pageTop + 1; i <= pager.pageCount(); ++i) {
        if (pager.pageLine(i).toLower().contains(wanted)) {
            pager.pageTop = i;
            pager.mLineDisp(7);
            return;
        }
    }
}
