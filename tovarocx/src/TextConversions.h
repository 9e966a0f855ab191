#pragma once
// The plugin's text conversions: HTML entities and line breaks to plain text and back, and
// the sixteen colour names. Every match is case-sensitive.

#include <QString>
#include <QVariant>

namespace Tovar {

// "<BR>" and "<br>" to CR LF; "&amp;", "&gt;", "&lt;", "&quot;" and "&nbsp;" to their
// characters. One pass: "&amp;lt;" gives "&lt;", never "<". Nothing else is touched.
QString html2pt(const QString &html);
// "&", ">", "<" and the double quote to entities ("&" first); two blanks to "&nbsp; ",
// twice over, so no two plain blanks stay side by side; a tab to "&nbsp; &nbsp; "; with
// createBrs, every CR LF to "<br>" and the same CR LF.
QString pt2html(const QString &text, bool createBrs);
// The colour value (red in the low byte) of one of the sixteen names, exactly as written;
// an invalid QVariant for anything else.
QVariant colConv(const QString &name);

} // namespace Tovar
