// Colour arguments: numbers, names and "#" forms.

#include "foundation/Colours.h"
#include "foundation/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

TEST(Colours, GetColourReadsNumbersNamesAndHtmlForms)
{
    const std::pair<const char *, qint32> table[] = {
        {"red", 255},
        {"RED", 255},
        {"Red", 255},
        {"255", 255},
        {"&hFF", 255},
        {"#00FF00", 65280},
        {"#00ff00", 65280},
        {"#0000FFextra", 16711680},
        {"gray", 8421504},
        {"grey", 8421504},
        {"magenta", 16711935},
        {"fuchsia", 16711935},
        {"cyan", 16776960},
        {"aqua", 16776960},
        {"silver", 12632256},
        {"navy", 8388608},
        {"-5", -5},
        {"16777216", 16777216},
        {"2.5", 2},
        {" 7 ", 7},
        {"orange", 12345},
        {"", 12345},
    };
    for (const auto &[text, value] : table)
        EXPECT_EQ(Colours::GetColour(QString::fromUtf8(text), 12345), value) << text;
}

TEST(Colours, BadHtmlFormsAndHugeNumbersAreRunTimeErrors)
{
    for (const char *text : {"#", "#12", "#12345", "#GG0000", "#00 000", "#-10000"}) {
        try {
            Colours::GetColour(QString::fromUtf8(text), 0);
            ADD_FAILURE() << text << " was accepted";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), 13) << text;
        }
    }
    try {
        Colours::GetColour(QStringLiteral("99999999999"), 0);
        ADD_FAILURE() << "no overflow";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 6);
    }
}

TEST(Colours, ValuesPaintTheirPixel)
{
    EXPECT_EQ(Colours::toRgb(255), qRgb(255, 0, 0));
    EXPECT_EQ(Colours::toRgb(16711680), qRgb(0, 0, 255));
    EXPECT_EQ(Colours::toRgb(Colours::kSilver), qRgb(192, 192, 192));
}

} // namespace
