#include "system/WebCommands.h"

#include "foundation/LineBreaks.h"
#include "session/Session.h"
#include "system/HtmlToText.h"

#include <QScopeGuard>

namespace {

// The page at the address with its lines ending in CR LF. A batch runs no lines and no
// timed commands while the page is on its way, as during a question: the wait lets window
// events run, and a batch line must not start under a command that has not finished.
QString fetchPage(Session &s, const QString &address)
{
    const Batch::HeldTimers held = s.batch.holdTimers();
    const auto release = qScopeGuard([&] { s.batch.releaseTimers(held); });
    return toCrLf(s.web.get(address));
}

void cmdOpenurl(Session &s, const CommandArgs &args)
{
    s.console.DrawText(QStringLiteral("Opening: '") + args.allArgs + QStringLiteral("'..."), 1);
    s.pager.mline(fetchPage(s, args.allArgs));
}

void cmdUrl2text(Session &s, const CommandArgs &args)
{
    s.console.DrawText(
        QStringLiteral("Opening and processing: '") + args.allArgs + QStringLiteral("'..."), 1);
    const QString page = fetchPage(s, args.allArgs);
    s.pager.mline(HtmlToText(page, [&s](const QString &run) {
        QVariantList arguments{run};
        return s.utility.invoke(Tovar::HTML2PT, arguments).toString();
    }));
}

} // namespace

void registerWebCommands(CommandTable &table)
{
    table.add(QStringLiteral("openurl"), cmdOpenurl);
    table.add(QStringLiteral("url2text"), cmdUrl2text);
}
