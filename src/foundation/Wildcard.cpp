#include "foundation/Wildcard.h"

#include "foundation/RuntimeError.h"

namespace {

// A code unit of a text in UTF-16, Latin-1 or UTF-8, as a number.
char16_t unitOf(QChar c)
{
    return c.unicode();
}
char16_t unitOf(QLatin1Char c)
{
    return c.unicode();
}
char16_t unitOf(char c)
{
    return static_cast<uchar>(c);
}

} // namespace

Wildcard::Wildcard(QStringView pattern, Flavour flavour)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        switch (c) {
        case u'*':
            // A run of stars is one star.
            if (m_tokens.isEmpty() || m_tokens.last().kind != Token::Star)
                m_tokens.append(Token{.kind = Token::Star});
            continue;
        case u'?':
            m_tokens.append(Token{.kind = Token::Any});
            continue;
        case u'#':
            m_tokens.append(flavour == FileName ? Token{.kind = Token::One, .character = c}
                                                : Token{.kind = Token::Digit});
            continue;
        case u'[':
            break;
        default:
            m_tokens.append(Token{.kind = Token::One, .character = c});
            continue;
        }
        const qsizetype close = pattern.indexOf(u']', i + 1);
        if (close < 0)
            throw RuntimeError::invalidPatternString();
        QStringView list = pattern.sliced(i + 1, close - i - 1);
        i = close;
        if (list.isEmpty())
            continue; // "[]" stands for the empty text
        Token token{.kind = Token::Set, .negated = list.front() == u'!'};
        if (token.negated)
            list = list.sliced(1);
        for (qsizetype k = 0; k < list.size(); ++k) {
            const char16_t first = list[k].unicode();
            // "-" between two characters makes a range; first or last, it stands for itself.
            if (k + 2 < list.size() && list[k + 1] == u'-') {
                const char16_t last = list[k + 2].unicode();
                if (last < first)
                    throw RuntimeError::invalidPatternString();
                token.ranges.append({first, last});
                k += 2;
            } else {
                token.ranges.append({first, first});
            }
        }
        m_tokens.append(token);
    }
}

bool Wildcard::matchesOne(const Token &token, char16_t c) const
{
    switch (token.kind) {
    case Token::One:
        return c == token.character;
    case Token::Any:
        return true;
    case Token::Digit:
        return c >= u'0' && c <= u'9';
    case Token::Set:
        for (const Range &range : token.ranges) {
            if (c >= range.first && c <= range.last)
                return !token.negated;
        }
        return token.negated;
    case Token::Star:
        break;
    }
    return false;
}

template <typename Text, typename Lower> bool Wildcard::matchesWith(Text text, Lower lower) const
{
    // Every token but a star takes exactly one character, so the last star seen is the only
    // one worth going back to: when a later step fails, that star takes one more character.
    const qsizetype count = m_tokens.size();
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starToken = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < count && m_tokens[p].kind == Token::Star) {
            starToken = p++;
            starText = t;
        } else if (p < count && matchesOne(m_tokens[p], lower(unitOf(text[t])))) {
            ++p;
            ++t;
        } else if (starToken >= 0) {
            p = starToken + 1;
            t = ++starText;
            // The star takes every character before the next one the step after it accepts:
            // a title search passes over most of a title this way.
            if (p < count && m_tokens[p].kind == Token::One) {
                const char16_t wanted = m_tokens[p].character;
                while (t < text.size() && lower(unitOf(text[t])) != wanted)
                    ++t;
                starText = t;
            }
        } else {
            return false;
        }
    }
    while (p < count && m_tokens[p].kind == Token::Star)
        ++p;
    return p == count;
}

bool Wildcard::matches(QStringView text) const
{
    return matchesWith(text, [](char16_t c) { return c; });
}

bool Wildcard::matchesLowered(QAnyStringView text) const
{
    return text.visit([this](auto view) {
        // Lower-casing beyond ASCII has its special cases (one character may become two):
        // leave those to Qt.
        for (qsizetype i = 0; i < view.size(); ++i) {
            if (unitOf(view[i]) >= 0x80)
                return matches(view.toString().toLower());
        }
        return matchesWith(view, [](char16_t c) {
            return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
        });
    });
}
