#include "settings/OptionCommands.h"

#include "foundation/Messages.h"
#include "session/Session.h"

namespace {

// clang-format off
const HelpPage kOptvarsHelp = {{
    {1, "optvars"},
    {3,
"Shows the internal variables used by the program for certain settings.  They can also be seen"
"here in the settings file: ~/.config/Idrisk Tovar/Idrisk Tovar.ini, group [i2kCmd]"}}};
// clang-format on

// opt(18) is left out of the list, as it always was.
void cmdOptvars(Session &s, const CommandArgs &)
{
    QString text = Msg::kOptionHeading + QStringLiteral("\r\n\r\n");
    for (int i = 0; i <= Options::Version; ++i)
        text += QStringLiteral("opt(%1): ").arg(i) + s.opt[i] + QStringLiteral("\r\n");
    s.pager.mline(text);
}

} // namespace

void registerOptionCommands(CommandTable &table)
{
    table.add(QStringLiteral("optvars"), cmdOptvars, kOptvarsHelp);
}
