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
    // A run inside a tag shows nothing, so only the text runs need decoding.
    auto flush = [&](qsizetype start, qsizetype end) {
        if (end <= start)
            return;
        const QString text = decode(page.sliced(start, end - start).toString());
        if (hasText(text)) {
            out += text;
            out += u"\r\n";
        }
    };
    bool inTag = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < page.size(); ++i) {
        const QChar c = page[i];
        if (c != u'<' && c != u'>')
            continue;
        if (!inTag)
            flush(start, i);
        inTag = c == u'<';
        start = i + 1;
    }
    // The text after the last tag, or all of a page with none (a plain text page); an
    // unclosed tag at the end still shows nothing.
    if (!inTag)
        flush(start, page.size());
    return out;
}
