#include "system/ShellWords.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

} // namespace

std::optional<QStringList> splitShellWords(QStringView line)
{
    QStringList words;
    QString word;
    bool inWord = false; // "" makes an empty word, so a word can be empty
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (isBlank(c)) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'\\') {
            if (++i == line.size())
                return std::nullopt;
            if (line[i] != u'\n') // a backslash before a line break joins the lines
                word += line[i];
        } else if (c == u'\'') {
            const qsizetype end = line.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            word += line.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'"') {
            for (++i;; ++i) {
                if (i == line.size())
                    return std::nullopt;
                if (line[i] == u'"')
                    break;
                if (line[i] == u'\\' && i + 1 < line.size() &&
                    QStringView(u"$`\"\\\n").contains(line[i + 1])) {
                    if (line[++i] != u'\n')
                        word += line[i];
                } else {
                    word += line[i];
                }
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}
