#pragma once
// A web page reduced to its text, for url2text: every run of text between two tags becomes
// one line (CR LF after it), decoded by the given decoder; tags, attribute values and runs of
// only blanks and line breaks disappear. Script and style contents count as text; so does
// the text after the last tag, or a whole page without tags, while an unclosed tag is dropped.

#include <QString>
#include <functional>

// decode turns one run's entities and <br> into text (the utility plugin's HTML2PT).
QString HtmlToText(QStringView page, const std::function<QString(const QString &)> &decode);
