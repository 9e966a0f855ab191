// The session's own duties: the one error report and the desktop it reaches.

#include "TestSession.h"
#include "foundation/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

// The error report blanks the rest of the row it ends on, so after a command that keeps
// the screen a short message never reads on into a longer, older one.
TEST(Session, AnErrorReportBlanksTheRestOfItsRow)
{
    TestSession t;
    t.exe({QStringLiteral("batch ")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Bad file name or number (52)"));
    t.exe({QStringLiteral("box 1,2")});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Type mismatch (13)"));
    // Drawings are blanked too, up to the end of the text columns.
    t.exe({QStringLiteral("block 1,2,red,93,1"), QStringLiteral("box 1,2")});
    EXPECT_EQ(t.pixel(Cell::origin(60, 2).x(), Cell::origin(60, 2).y() + 5), QColor(Qt::black));
    // A message that fills its last row exactly leaves the next row alone.
    t.exe({QStringLiteral("block 1,3,red,93,1")});
    t->reportError(RuntimeError(1, QString(93 - 27, u'm')));
    EXPECT_EQ(t.row(2).size(), 93);
    EXPECT_EQ(t.pixel(Cell::origin(60, 3).x(), Cell::origin(60, 3).y() + 5), QColor(Qt::red));
}

// Far-off cells are refused before any pixel arithmetic (which would overflow).
TEST(Session, TextFarOffTheConsoleIsARangeError)
{
    TestSession t;
    for (const char *line : {"text 1e9,1e9,red,hi", "text -1e9,5,red,hi", "text 5,-1e9,red,hi"}) {
        t.exe({QStringLiteral("cls"), QString::fromUtf8(line)});
        EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Subscript out of range (9)"))
            << line;
    }
}

// Keys reach the clipboard and the window through the desktop the session was given.
TEST(Session, TheDesktopIsTheOnlyWayOut)
{
    TestSession t;
    t->console.ClScreen();
    t.keys(QStringLiteral("text:write x,Ctrl+C"));
    EXPECT_EQ(t->scripted.clipboardText(), QStringLiteral("write x"));

    ScriptedDesktop other;
    other.setClipboardText(QStringLiteral("pasted"));
    t->setDesktop(&other);
    t.keys(QStringLiteral("Escape,Ctrl+V"));
    EXPECT_EQ(t->console.cmdText, QStringLiteral("pasted"));
    t->setWindowTitle(QStringLiteral("a title"));
    EXPECT_EQ(other.title(), QStringLiteral("a title"));
    t.exe({QStringLiteral("exit")});
    EXPECT_TRUE(other.closeAsked());
    EXPECT_TRUE(t->closeRequested());
    t->setDesktop(nullptr);
}

} // namespace
