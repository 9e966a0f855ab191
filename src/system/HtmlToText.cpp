#include "system/HtmlToText.h"

namespace {

// Whether a decoded run holds anything besides CR LF pairs and blanks.
bool hasText(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u' ')
            continue;
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
            continue;
        }
        return true;
    }
    return false;
}

} // namespace

QString HtmlToText(QStringView page, const std::function<QString(const QString &)> &decode)
{
    QString out;
    bool inTag = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < page.size(); ++i) {
        const QChar c = page[i];
        if (c != u'<' && c != u'>')
            continue;
        // A run inside a tag shows nothing, so only the text runs need decoding.
        if (!inTag && i > start) {
            const QString text = decode(page.mid(start, i - start).toString());
            if (hasText(text)) {
                out += text;
                out += u"\r\n";
            }
        }
        inTag = c == u'<';
        start = i + 1;
    }
    return out;
}
