// The two popup menus, opened by right clicks and the menu key, answered by the script.

#include "controller/PopupMenus.h"
#include "TestSession.h"
#include "console/VirtualKeys.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

TEST(PopupMenus, ScreenMenuCopiesTheScreenAndTypesCoordinatesAndPaths)
{
    TestSession t;
    t->console.ClScreen();
    // A fresh console: 37 lines of 94 blanks, except the prompt.
    t->scripted.pickMenuEntry(QStringLiteral("Copy text"));
    t->keyboard.mouseUp(Vk::RightButton, 0, 100, 200);
    EXPECT_EQ(t->scripted.lastMenu(), Menus::kScreen);
    const QStringList lines = t->scripted.clipboardText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 38);
    EXPECT_EQ(lines.last(), QString());
    for (int i = 0; i < 37; ++i) {
        ASSERT_EQ(lines[i].size(), 94) << i;
        const QString expected =
            i == 32 ? QStringLiteral("   COMMAND: ").leftJustified(94) : QString(94, u' ');
        EXPECT_EQ(lines[i], expected) << i;
    }

    t->scripted.pickMenuEntry(QStringLiteral("insert these coordinates"));
    t->keyboard.mouseUp(Vk::RightButton, 0, 100, 200);
    EXPECT_EQ(t->console.cmdText, QStringLiteral("100,200"));
    // From the keyboard the coordinates are 0, 0.
    t.keys(QStringLiteral("Menu:Insert these coordinates"));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("100,2000,0"));

    t.answer(QStringLiteral("/tmp/some file.txt"));
    t.keys(QStringLiteral("Escape,Menu:Browse for file..."));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("/tmp/some file.txt"));
    EXPECT_EQ(t->scripted.questions().last(), QStringLiteral("Browse for File: All files (*)"));
    // Cancelled: nothing typed. A left click opens no menu.
    t.keys(QStringLiteral("Escape,Menu:Browse for file..."));
    EXPECT_EQ(t->console.cmdText, QString());
    t->scripted.pickMenuEntry(QStringLiteral("Copy text"));
    t->scripted.setClipboardText(QStringLiteral("untouched"));
    t->keyboard.mouseUp(1, 0, 5, 5);
    EXPECT_EQ(t->scripted.clipboardText(), QStringLiteral("untouched"));
}

TEST(PopupMenus, PagerMenuCopiesAllLinesAndSearchesDownwards)
{
    TestSession t;
    QStringList lines;
    for (int i = 0; i < 80; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    lines[5] = QStringLiteral("Needle early");
    lines[50] = QStringLiteral("a NEEDLE here");
    lines[70] = QStringLiteral("needle again");
    t->pager.mline(lines.join(QStringLiteral("\r\n")));
    t->console.setMode(Console::Mode::Pager);

    t.keys(QStringLiteral("Menu:Copy all text"));
    EXPECT_EQ(t->scripted.lastMenu(), Menus::kPager);
    EXPECT_EQ(t->scripted.clipboardText(), lines.join(QStringLiteral("\r\n")));

    t->pager.pageTop = 10;
    t.answer(QStringLiteral("needle"));
    t.keys(QStringLiteral("Menu:Search..."));
    EXPECT_EQ(t->scripted.questions().last(), QStringLiteral("Search: Enter search text:"));
    EXPECT_EQ(t->pager.pageTop, 50);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("a NEEDLE here"));
    t.answer(QStringLiteral("needle"));
    t->scripted.pickMenuEntry(QStringLiteral("Search..."));
    t->keyboard.mouseUp(Vk::RightButton, 0, 10, 10);
    EXPECT_EQ(t->pager.pageTop, 70);
    // Only above the top line, empty answers and cancelling: nothing moves.
    t.answer(QStringLiteral("early"));
    t.answer(QString());
    t.keys(QStringLiteral("Menu:Search...,Menu:Search...,Menu:Search..."));
    EXPECT_EQ(t->pager.pageTop, 70);
}

TEST(PopupMenus, AnEmptyPagerCopiesAnEmptyText)
{
    TestSession t;
    t->scripted.setClipboardText(QStringLiteral("before"));
    copyAllText(*t);
    EXPECT_EQ(t->scripted.clipboardText(), QString());
}

} // namespace
