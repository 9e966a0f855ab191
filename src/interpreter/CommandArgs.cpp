#include "interpreter/CommandArgs.h"

#include "foundation/RuntimeError.h"

CommandArgs CommandArgs::split(const QString &line)
{
    CommandArgs args;
    const qsizetype first = line.indexOf(u' ');
    if (first < 0) {
        args.word = line;
        return args;
    }
    args.word = line.left(first);
    const qsizetype second = line.indexOf(u' ', first + 1);
    if (second < 0) {
        args.arg1 = line.mid(first + 1);
    } else {
        args.arg1 = line.mid(first + 1, second - first - 1);
        args.rest = line.mid(second + 1);
    }
    args.allArgs = trimBlanks(args.arg1 + u' ' + args.rest);
    return args;
}

bool startsWithLastcmd(const QString &line)
{
    return line.left(7).toLower() == u"lastcmd";
}

QStringList splitCommas(const QString &text)
{
    return text.split(u',');
}

QStringList splitCommasAtMost(const QString &text, int most)
{
    QStringList pieces = splitCommas(text);
    if (pieces.size() > most)
        throw RuntimeError::subscriptOutOfRange();
    return pieces;
}

QStringList splitCommas(const QString &text, int limit)
{
    QStringList pieces;
    qsizetype start = 0;
    while (pieces.size() < limit - 1) {
        const qsizetype comma = text.indexOf(u',', start);
        if (comma < 0)
            break;
        pieces.append(text.mid(start, comma - start));
        start = comma + 1;
    }
    pieces.append(text.mid(start));
    return pieces;
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}
