// The plugin's conversions, case by case: what they decode, what they leave alone, and the
// order that keeps entities from being doubled or decoded twice.

#include "TextConversions.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char16_t *in;
    const char16_t *out;
};

TEST(Html2pt, DecodesTheFiveEntitiesAndBothBreaksOnly)
{
    const Case cases[] = {
        {u"a<BR>b<br>c", u"a\r\nb\r\nc"},
        {u"<Br><bR>", u"<Br><bR>"},
        {u"&amp;&gt;&lt;&quot;&nbsp;", u"&><\" "},
        {u"&AMP; &Lt; &nbsp", u"&AMP; &Lt; &nbsp"},
        {u"<p>&copy;&apos;&#65;</p>", u"<p>&copy;&apos;&#65;</p>"},
        {u"&amp;lt;", u"&lt;"},
        {u"&amp;amp;", u"&amp;"},
        {u"&&lt;;", u"&<;"},
        {u"<<BR>", u"<\r\n"},
        {u"", u""},
        {u"&", u"&"},
        {u"\u00e9&nbsp;\u00e9", u"\u00e9 \u00e9"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Tovar::html2pt(QString::fromUtf16(c.in)), QString::fromUtf16(c.out))
            << QString::fromUtf16(c.in).toStdString();
}

TEST(Pt2html, EncodesAmpersandFirstAndConvertsEveryRunOfBlanks)
{
    const Case plain[] = {
        {u"a&b<c>\"d\"", u"a&amp;b&lt;c&gt;&quot;d&quot;"},
        {u"&lt;", u"&amp;lt;"},
        {u" ", u" "},
        {u"  ", u"&nbsp; "},
        {u"   ", u"&nbsp;&nbsp; "},
        {u"    ", u"&nbsp; &nbsp; "},
        {u"     ", u"&nbsp; &nbsp;&nbsp; "},
        {u"a\tb", u"a&nbsp; &nbsp; b"},
        {u"a\r\nb", u"a\r\nb"},
        {u"'", u"'"},
    };
    for (const Case &c : plain)
        EXPECT_EQ(Tovar::pt2html(QString::fromUtf16(c.in), false), QString::fromUtf16(c.out))
            << QString::fromUtf16(c.in).toStdString();
    // No two plain blanks are left side by side, however long the run.
    for (int n = 2; n < 40; ++n)
        EXPECT_FALSE(Tovar::pt2html(QString(n, u' '), false).contains(QStringLiteral("  ")))
            << n;
}

TEST(Pt2html, BreaksOnlyCrLfPairsWhenAsked)
{
    EXPECT_EQ(Tovar::pt2html(QStringLiteral("a\r\nb\nc\rd\r\n"), true),
              QStringLiteral("a<br>\r\nb\nc\rd<br>\r\n"));
    EXPECT_EQ(Tovar::pt2html(QStringLiteral("<br>"), true), QStringLiteral("&lt;br&gt;"));
}

TEST(ColConv, SixteenNamesExactlyAsWritten)
{
    const std::pair<const char *, int> names[] = {
        {"Black", 0},          {"Maroon", 128},        {"Green", 32768},
        {"Olive", 32896},      {"Navy", 8388608},      {"Purple", 8388736},
        {"Teal", 8421440},     {"Grey", 8421504},      {"Silver", 12632256},
        {"Red", 255},          {"Lime", 65280},        {"Yellow", 65535},
        {"Blue", 16711680},    {"Fuchsia", 16711935},  {"Aqua", 16776960},
        {"White", 16777215},
    };
    for (const auto &[name, value] : names) {
        const QVariant result = Tovar::colConv(QString::fromLatin1(name));
        EXPECT_EQ(result.typeId(), QMetaType::Int) << name;
        EXPECT_EQ(result.toInt(), value) << name;
    }
    for (const char *other : {"red", "RED", "Gray", " Red", "Red ", "", "#FF0000", "255"})
        EXPECT_FALSE(Tovar::colConv(QString::fromLatin1(other)).isValid()) << other;
}

} // namespace
