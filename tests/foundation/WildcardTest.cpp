// Wildcard patterns: each pattern character, lists and ranges, malformed patterns, and
// patterns whose stars would make a naive matcher take exponential time.

#include "foundation/Wildcard.h"
#include "foundation/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

bool like(const char *text, const char *pattern)
{
    return Wildcard(QString::fromUtf8(pattern)).matches(QString::fromUtf8(text));
}

TEST(Wildcard, PatternCharacters)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"abc", "abc", true},     {"abc", "ab", false},     {"ab", "abc", false},
        {"abc", "a?c", true},     {"a-c", "a?c", true},     {"ac", "a?c", false},
        {"", "**", true},         {"", "*", true},          {"", "?", false},
        {"abc", "*", true},       {"xxabcyy", "*b*", true}, {"xxacyy", "*b*", false},
        {"abab", "*ab", true},    {"abba", "*ab", false},   {"aaa", "a*a*a", true},
        {"r2d2", "r#d#", true},   {"rxd2", "r#d#", false},  {"a1", "*#", true},
        {"b", "[abc]", true},     {"d", "[abc]", false},    {"d", "[!abc]", true},
        {"a", "[!abc]", false},   {"m", "[a-z]", true},     {"M", "[a-z]", false},
        {"5", "[0-46-9]", false}, {"7", "[0-46-9]", true},  {"-", "[a-]", true},
        {"-", "[-a]", true},      {"b", "[a-]", false},     {"*", "[*]", true},
        {"x", "[*]", false},      {"?", "[?]", true},       {"#", "[#]", true},
        {"[", "[[]", true},       {"]", "]", true},         {"a]", "a]", true},
        {"ab", "a[]b", true},     {"x", "[!]", true},       {"!", "[!!]", false},
        {"!", "[a!]", true},      {"é", "?", true},         {"ab", "[a-b][a-b]", true},
    };
    for (const auto &[text, pattern, expected] : cases)
        EXPECT_EQ(like(text, pattern), expected) << text << " like " << pattern;
}

TEST(Wildcard, MalformedPatternsRaiseInvalidPattern)
{
    for (const char *pattern : {"[", "ab[c", "*[!", "[z-a]", "x[9-0]y"}) {
        try {
            Wildcard{QString::fromUtf8(pattern)};
            ADD_FAILURE() << pattern << " was accepted";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), 93) << pattern;
            EXPECT_EQ(error.description(), QStringLiteral("Invalid pattern string"));
        }
    }
}

// Twenty stars against a long text with no match: an exponential matcher would not finish.
TEST(Wildcard, ManyStarsFinish)
{
    const QString text(5000, u'a');
    EXPECT_FALSE(Wildcard(QString(QStringLiteral("*a")).repeated(20) + u'b').matches(text));
    EXPECT_TRUE(Wildcard(QString(QStringLiteral("*a")).repeated(20) + u'*').matches(text));
}

} // namespace

// The searches match titles as if lower-cased first; without the copy for ASCII titles,
// through Qt for the rest (where one capital can become two characters); titles in UTF-8 (a
// loaded catalogue's) and Latin-1 alike.
TEST(Wildcard, MatchesLoweredAgreesWithLowerCasingFirst)
{
    const char *const patterns[] = {"*love*", "l?ve of*", "*[a-c]#*",  "*ß*",
                                    "*i̇*",    "*é?",      "*lo?e of*", "*o*f"};
    const char *const texts[] = {"LOVE of the Night", "Love Of",    "ABC1",  "STRASSE", "straße",
                                 "İstanbul",          "CAFÉS",      "café",  "",        "L0VE OF",
                                 "lolo LOLE OF",      "Ol lOve oF", "oooff", "ofo"};
    for (const char *pattern : patterns) {
        const Wildcard w(QString::fromUtf8(pattern));
        for (const char *text : texts) {
            const QString t = QString::fromUtf8(text);
            const bool expected = w.matches(t.toLower());
            EXPECT_EQ(w.matchesLowered(t), expected) << pattern << " / " << text;
            EXPECT_EQ(w.matchesLowered(QUtf8StringView(text)), expected)
                << pattern << " / " << text;
            const QByteArray latin1 = t.toLatin1();
            if (QString::fromLatin1(latin1) == t) {
                EXPECT_EQ(w.matchesLowered(QLatin1String(latin1)), expected) << pattern;
            }
        }
    }
    EXPECT_TRUE(Wildcard(u"*love of*").matchesLowered(u"The LOVE OF Gold"));
    EXPECT_TRUE(Wildcard(u"*i̇*").matchesLowered(QString::fromUtf8("İstanbul")));
}
