#include "settings/EventLogCommands.h"

#include "foundation/LocaleFormat.h"
#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "foundation/TextFile.h"
#include "session/Session.h"

#include <limits>

namespace {

// clang-format off
const HelpPage kEventlogHelp = {{
    {1, "eventlog [<max log size>]"},
    {3,
"Displays the event log - the log of commands and error messages.  To set the maximum log size"
"type a number as the argument.  Default is 1,048,576 bytes (1 MB)."}}};
// clang-format on

void cmdEventlog(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        // Every record, saved or not yet; the size is what the file holds once saved.
        const QString content = s.log.text();
        const auto limit = Numeric::parse(s.opt[Options::LogSize]);
        const QString limitText =
            limit ? LocaleFormat::groupedNumber(qRound64(*limit)) : s.opt[Options::LogSize];
        s.pager.mline(Msg::logHeading(LocaleFormat::groupedNumber(TextFile::encode(content).size()),
                                      limitText) +
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
    table.add(QStringLiteral("eventlog"), cmdEventlog, kEventlogHelp);
}
