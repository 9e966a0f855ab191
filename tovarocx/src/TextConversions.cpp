#include "TextConversions.h"

#include <array>
#include <utility>

namespace Tovar {

QString html2pt(const QString &html)
{
    static const std::array<std::pair<QString, QString>, 7> kDecodings{{
        {QStringLiteral("<BR>"), QStringLiteral("\r\n")},
        {QStringLiteral("<br>"), QStringLiteral("\r\n")},
        {QStringLiteral("&amp;"), QStringLiteral("&")},
        {QStringLiteral("&gt;"), QStringLiteral(">")},
        {QStringLiteral("&lt;"), QStringLiteral("<")},
        {QStringLiteral("&quot;"), QStringLiteral("\"")},
        {QStringLiteral("&nbsp;"), QStringLiteral(" ")},
    }};
    // A single left-to-right pass, so text a decoding produces is never decoded again.
    QString out;
    out.reserve(html.size());
    const QStringView in(html);
    for (qsizetype i = 0; i < in.size();) {
        const QChar c = in[i];
        bool decoded = false;
        if (c == u'<' || c == u'&') {
            for (const auto &[from, to] : kDecodings) {
                if (in.sliced(i).startsWith(from)) {
                    out += to;
                    i += from.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) {
            out += c;
            ++i;
        }
    }
    return out;
}

QString pt2html(const QString &text, bool createBrs)
{
    QString out = text;
    out.replace(u'&', QStringLiteral("&amp;"));
    out.replace(u'>', QStringLiteral("&gt;"));
    out.replace(u'<', QStringLiteral("&lt;"));
    out.replace(u'"', QStringLiteral("&quot;"));
    // The first pass leaves a blank after each "&nbsp;", which may meet the next blank.
    for (int pass = 0; pass < 2; ++pass)
        out.replace(QStringLiteral("  "), QStringLiteral("&nbsp; "));
    out.replace(u'\t', QStringLiteral("&nbsp; &nbsp; "));
    if (createBrs)
        out.replace(QStringLiteral("\r\n"), QStringLiteral("<br>\r\n"));
    return out;
}

QVariant colConv(const QString &name)
{
    static const std::array<std::pair<QString, int>, 16> kColours{{
        {QStringLiteral("Black"), 0},
        {QStringLiteral("Maroon"), 128},
        {QStringLiteral("Green"), 32768},
        {QStringLiteral("Olive"), 32896},
        {QStringLiteral("Navy"), 8388608},
        {QStringLiteral("Purple"), 8388736},
        {QStringLiteral("Teal"), 8421440},
        {QStringLiteral("Grey"), 8421504},
        {QStringLiteral("Silver"), 12632256},
        {QStringLiteral("Red"), 255},
        {QStringLiteral("Lime"), 65280},
        {QStringLiteral("Yellow"), 65535},
        {QStringLiteral("Blue"), 16711680},
        {QStringLiteral("Fuchsia"), 16711935},
        {QStringLiteral("Aqua"), 16776960},
        {QStringLiteral("White"), 16777215},
    }};
    for (const auto &[colour, value] : kColours) {
        if (colour == name)
            return value;
    }
    return {};
}

} // namespace Tovar
