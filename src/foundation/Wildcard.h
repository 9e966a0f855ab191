#pragma once
// The wildcard patterns of the searches: "?" any one character, "*" any run of characters
// (none too), "#" any one digit 0-9, "[list]" any one character of the list and "[!list]"
// any one not in it. A list holds characters and ranges such as a-f; "-" first or last in a
// list stands for itself, and so does any of ? * # [ inside one. "[]" matches nothing (the
// empty text), "[!]" any one character, and "]" outside a list is an ordinary character.
// Characters compare by their codes: callers lower-case both sides to ignore case.
// File name patterns know no "#": digits in names are common ("track#1.mp3" is a real
// name), so there it is an ordinary character.

#include <QAnyStringView>
#include <QList>
#include <QString>
#include <QStringView>

class Wildcard
{
public:
    enum Flavour { Library, FileName };

    // An unbalanced "[" or a range whose end is below its start raises "Invalid pattern
    // string (93)".
    explicit Wildcard(QStringView pattern, Flavour flavour = Library);

    // Whether the whole text matches. Time grows with text length times pattern length at
    // worst, never exponentially, whatever the stars.
    bool matches(QStringView text) const;
    // Whether the text lower-cased (as QString::toLower does) matches; the searches' way of
    // ignoring case, without a lower-cased copy of every title they read. An ASCII text in
    // UTF-8 (as a loaded catalogue holds its titles) is matched where it stands too.
    bool matchesLowered(QAnyStringView text) const;

private:
    struct Range
    {
        char16_t first;
        char16_t last;
    };
    // One step of the pattern: a star, or one character out of a set.
    struct Token
    {
        enum Kind { Star, Any, Digit, One, Set } kind = Star;
        bool negated = false;
        // One: the character; Set: the ranges.
        char16_t character = 0;
        QList<Range> ranges = {};
    };
    bool matchesOne(const Token &token, char16_t c) const;
    // The matcher, reading each character of the text through lower().
    template <typename Text, typename Lower> bool matchesWith(Text text, Lower lower) const;

    QList<Token> m_tokens;
};
