// File names that are not UTF-8 go to text and back to the same bytes; UTF-8 names are
// plain text.

#include "tovarocx/FileNameBytes.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *bytes;
    const char16_t *text;
};

TEST(FileNameBytes, EveryNameComesBackAsTheSameBytes)
{
    const Case cases[] = {
        {"plain.txt", u"plain.txt"},
        {"caf\xc3\xa9 \xe6\x9d\xb1.mp3", u"caf\u00e9 \u6771.mp3"},
        {"\xf0\x9f\x8e\xb5", u"\U0001F3B5"},
        // Latin-1, a stray continuation byte, a lead byte cut short at the end.
        {"caf\xe9", u"caf\xdce9"},
        {"a\x80z", u"a\xdc80z"},
        {"x\xe6\x9d", u"x\xdce6\xdc9d"},
        // Overlong forms, encoded surrogates and codes past U+10FFFF are no UTF-8.
        {"\xc0\xaf", u"\xdcc0\xdcaf"},
        {"\xed\xb2\x80", u"\xdced\xdcb2\xdc80"},
        {"\xf4\x90\x80\x80", u"\xdcf4\xdc90\xdc80\xdc80"},
        // A character whose own low surrogate lies in the escapes' range stays a character.
        {"\xf0\x9f\x82\x80\xff", u"\U0001F080\xdcff"},
    };
    for (const Case &c : cases) {
        const QByteArray bytes(c.bytes);
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(FileNameBytes::decode(bytes), text) << c.bytes;
        EXPECT_EQ(FileNameBytes::encode(text), bytes) << c.bytes;
    }
    for (int b = 0x80; b <= 0xff; ++b) {
        const QByteArray lone(1, static_cast<char>(b));
        EXPECT_EQ(FileNameBytes::encode(FileNameBytes::decode(lone)), lone) << b;
    }
}

} // namespace
