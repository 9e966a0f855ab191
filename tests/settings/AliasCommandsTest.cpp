// set, alt and f1..f12 through the interpreter: what they store. What they show is in
// tests/transcripts (aliases.txt, key-bindings.txt).

#include "TestSession.h"

#include <gtest/gtest.h>

namespace {

const QString kNot = QStringLiteral("\u00ac");

// Key bindings live in the store under the not sign and the key's name, as set.cf keeps them.
TEST(AliasCommands, KeyBindingsAreStoredUnderTheNotSignAndTheKeyName)
{
    TestSession t;
    t.exe({QStringLiteral("F5 help  colours"), QStringLiteral("f12 write x"),
           QStringLiteral("alt q vlplay now"), QStringLiteral("alt ab write x"),
           QStringLiteral("alt 1 help"), QStringLiteral("set E write bye")});
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("F5")), QStringLiteral("help  colours"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("F12")), QStringLiteral("write x"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("Q")), QStringLiteral("vlplay now"));
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("AB")), QStringLiteral("write x"));
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("e")), QStringLiteral("write bye"));
    EXPECT_EQ(t->CF.count(), 5);
    t.exe({QStringLiteral("f5"), QStringLiteral("alt q")});
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("F5")), KeyValueStore::kNotFound);
    EXPECT_EQ(t->CF.GetValue(kNot + QStringLiteral("Q")), KeyValueStore::kNotFound);
}

} // namespace
