#include "foundation/LineBreaks.h"

QString toCrLf(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.count(u'\n'));
    QChar previous;
    for (const QChar c : text) {
        if (c == u'\n' && previous != u'\r')
            out += u'\r';
        out += c;
        previous = c;
    }
    return out;
}
