// Numeric text: the forms accepted, and rounding half to even.

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

TEST(NumericText, AcceptsTheClassicFormsAndRejectsTheRest)
{
    const std::pair<const char *, double> good[] = {
        {"0", 0},
        {"42", 42},
        {"  -7 ", -7},
        {"+3", 3},
        {"1.5", 1.5},
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"2.5E-1", 0.25},
        {"1d2", 100},
        {"&hFF", 255},
        {"&HfF", 255},
        {"&h7FFFFFFF", 2147483647},
        {"&hFFFFFFFF", -1},
        {"&o17", 15},
        {"&17", 15},
        {"\t12\t", 12},
    };
    for (const auto &[text, value] : good) {
        const auto parsed = Numeric::parse(QString::fromUtf8(text));
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_DOUBLE_EQ(*parsed, value) << text;
    }
    for (const char *text : {"", " ", "abc", "1,000", "12abc", "1e", "e5", "&h", "&hG", "&o8",
                             "--1", "1.2.3", "&h100000000", "0x10", "١٢", "+", "."}) {
        EXPECT_FALSE(Numeric::isNumeric(QString::fromUtf8(text))) << text;
    }
}

TEST(NumericText, ConversionsRoundHalfToEvenAndCheckTheirRange)
{
    EXPECT_EQ(Numeric::toLong(QStringLiteral("2.5")), 2);
    EXPECT_EQ(Numeric::toLong(QStringLiteral("3.5")), 4);
    EXPECT_EQ(Numeric::toLong(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(Numeric::toLong(QStringLiteral("2.51")), 3);
    EXPECT_EQ(Numeric::toLong(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(Numeric::toInteger(QStringLiteral("-32768")), -32768);
    const auto number = [](auto call) {
        try {
            call();
        } catch (const RuntimeError &error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { Numeric::toLong(QStringLiteral("2147483648")); }), 6);
    EXPECT_EQ(number([] { Numeric::toLong(QStringLiteral("1e300")); }), 6);
    EXPECT_EQ(number([] { Numeric::toInteger(QStringLiteral("32767.5")); }), 6);
    EXPECT_EQ(number([] { Numeric::toLong(QStringLiteral("abc")); }), 13);
    EXPECT_EQ(number([] { Numeric::toLong(QString()); }), 13);
}

} // namespace
