#include "system/WebCommands.h"

#include "foundation/LineBreaks.h"
#include "session/CommandWait.h"
#include "session/Session.h"
#include "system/HtmlToText.h"

namespace {

// The page at the address with its lines ending in CR LF, or nothing when Escape gave up the
// wait ("Cancelled" on row 2 under the address). The wait lets window events run, as a
// question does: nothing else may run meanwhile.
std::optional<QString> fetchPage(Session &s, const QString &address)
{
    std::optional<QString> page;
    {
        const CommandWait wait(s, [&s] { s.web.cancel(); });
        page = s.web.get(address);
    }
    if (!page) {
        s.console.DrawText(QStringLiteral("Cancelled"), 2);
        return std::nullopt;
    }
    return toCrLf(*page);
}

const HelpPage kOpenurlHelp = {{{1, "openurl <url>"},
                                {3, "Downloads data from a URL and displays the HTML source code."},
                                {5, "E.g. openurl https://example.com/"}}};

void cmdOpenurl(Session &s, const CommandArgs &args)
{
    s.console.DrawText(QStringLiteral("Opening: '") + args.allArgs + QStringLiteral("'..."), 1);
    if (const std::optional<QString> page = fetchPage(s, args.allArgs))
        s.pager.mline(*page);
}

const HelpPage kUrl2textHelp = {
    {{1, "url2text <url>"},
     {3, "Downloads a web page from a URL and displays its text without the HTML code."}}};

void cmdUrl2text(Session &s, const CommandArgs &args)
{
    s.console.DrawText(
        QStringLiteral("Opening and processing: '") + args.allArgs + QStringLiteral("'..."), 1);
    const std::optional<QString> page = fetchPage(s, args.allArgs);
    if (!page)
        return;
    s.pager.mline(HtmlToText(*page, [&s](const QString &run) {
        QVariantList arguments{run};
        return s.utility.invoke(Tovar::HTML2PT, arguments).toString();
    }));
}

} // namespace

void registerWebCommands(CommandTable &table)
{
    table.add(QStringLiteral("openurl"), cmdOpenurl, kOpenurlHelp);
    table.add(QStringLiteral("url2text"), cmdUrl2text, kUrl2textHelp);
}
