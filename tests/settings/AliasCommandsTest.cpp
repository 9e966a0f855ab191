// set, alt and f1..f12 through the interpreter.

#include "TestSession.h"

#include <gtest/gtest.h>

namespace {

const QString kNot = QStringLiteral("\u00ac");

TEST(AliasCommands, SetStoresLowerCaseKeysAndAliasesRunThem)
{
    TestSession t;
    t->exe(QStringLiteral("set E write bye"));
    EXPECT_EQ(t.row(1), QStringLiteral("Command 'E' set to 'write bye'"));
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("e")), QStringLiteral("write bye"));
    t->exe(QStringLiteral("e now"));
    EXPECT_EQ(t.row(1), QStringLiteral("bye now"));

    t->exe(QStringLiteral("set windir C:\\WINDOWS"));
    t->exe(QStringLiteral("write %windir%\\system"));
    EXPECT_EQ(t.row(1), QStringLiteral("C:\\WINDOWS\\system"));

    // Deleting uses the key as typed; the message shows whether or not it existed.
    t->exe(QStringLiteral("set E"));
    EXPECT_EQ(t.row(1), QStringLiteral("Command 'E' has been deleted"));
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("e")), KeyValueStore::kNotFound);
    t->exe(QStringLiteral("set nothing"));
    EXPECT_EQ(t.row(1), QStringLiteral("Command 'nothing' has been deleted"));

    // The not sign is refused anywhere in the arguments.
    t->exe(QStringLiteral("set x write ") + kNot);
    EXPECT_EQ(t.row(1), QStringLiteral("Invalid character: '\u00ac'"));
    EXPECT_EQ(t.rowColour(1), 255);
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("x")), KeyValueStore::kNotFound);
}

TEST(AliasCommands, FunctionKeysBindTheWholeArgumentText)
{
    TestSession t;
    t->exe(QStringLiteral("F5 help  colours"));
    EXPECT_EQ(t.row(1), QStringLiteral("The F5 key has been set to the command 'help  colours'"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("F5")), QStringLiteral("help  colours"));
    t->exe(QStringLiteral("f12 write x"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("F12")), QStringLiteral("write x"));
    t->exe(QStringLiteral("f5"));
    EXPECT_EQ(t.row(1), QStringLiteral("The F5 key has been unbound"));
    EXPECT_EQ(t.row(2), QStringLiteral("Type 'set' to see current assignments"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("F5")), KeyValueStore::kNotFound);
    t->exe(QStringLiteral("f13 x"));
    EXPECT_EQ(t.row(1), QStringLiteral("The command 'f13' has not been defined"));
}

TEST(AliasCommands, AltTakesTheLetterFromTheFirstArgumentAndBindsTheRest)
{
    TestSession t;
    t->exe(QStringLiteral("alt q vlplay now"));
    EXPECT_EQ(t.row(1), QStringLiteral("The Alt+Q key combination has been set to 'vlplay now'"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("Q")), QStringLiteral("vlplay now"));
    t->exe(QStringLiteral("alt q"));
    EXPECT_EQ(t.row(1), QStringLiteral("The Alt+Q key combination has been unbound"));
    EXPECT_EQ(t.row(2), QStringLiteral("Type 'set' to see current assignments"));
    t->exe(QStringLiteral("alt"));
    EXPECT_EQ(t.row(1), QStringLiteral("Usage: Alt <letter>"));
    EXPECT_EQ(t.rowColour(1), 255);
    // Not a letter: nothing bound, nothing shown.
    t->exe(QStringLiteral("alt 1 help"));
    EXPECT_EQ(t.row(1), QString());
    EXPECT_EQ(t->CF.count(), 0);
    // The whole first argument makes the key.
    t->exe(QStringLiteral("alt ab write x"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("AB")), QStringLiteral("write x"));
}

TEST(AliasCommands, SetAloneListsAssignmentsWithReadableKeyNames)
{
    TestSession t;
    t.exe({QStringLiteral("f3 help"), QStringLiteral("alt q vlplay"), QStringLiteral("set e exit")});
    t->exe(QStringLiteral("set"));
    EXPECT_EQ(t->console.dispMode, Console::Pager);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("Usage: set <word> <command/variable>"));
    EXPECT_EQ(t.pagerRow(4), QString());
    EXPECT_EQ(t.pagerRow(5), QStringLiteral("Current assignments:"));
    EXPECT_EQ(t.pagerRow(6), QString(20, u'-'));
    QStringList listed = {t.pagerRow(7), t.pagerRow(8), t.pagerRow(9)};
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Key combination: Alt+Q = vlplay"), QStringLiteral("Key: F3 = help"),
                                   QStringLiteral("e = exit")}));
}

} // namespace
