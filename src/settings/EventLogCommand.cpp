#include "settings/EventLogCommand.h"

#include "app/Session.h"
#include "interpreter/Messages.h"
#include "interpreter/NumericText.h"
#include "settings/LocaleFormat.h"

#include <QFileInfo>
#include <limits>

namespace {

void cmdEventlog(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        const QString path = s.log.path();
        const QString content = s.PWAD.ReadAll(path);
        const auto limit = Numeric::parse(s.opt[Options::LogSize]);
        const QString limitText =
            limit ? LocaleFormat::groupedNumber(qRound64(*limit)) : s.opt[Options::LogSize];
        s.pager.mline(Msg::logHeading(LocaleFormat::groupedNumber(QFileInfo(path).size()), limitText) +
                      QStringLiteral("\r\n\r\n") + content);
        return;
    }
    const auto size = Numeric::parse(args.allArgs);
    // A size beyond 32 bits could never serve as the limit: it is refused as not numeric.
    if (!size || *size > std::numeric_limits<qint32>::max()) {
        s.ErorMsg(Msg::kLogSizeNotNumeric, 2);
        return;
    }
    if (*size <= 512) {
        s.ErorMsg(Msg::kLogSizeTooSmall, 2);
        return;
    }
    s.opt[Options::LogSize] = args.allArgs;
}

} // namespace

void registerEventLogCommands(CommandTable &table)
{
    table.add(QStringLiteral("eventlog"), cmdEventlog);
}
