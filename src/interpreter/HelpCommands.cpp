#include "interpreter/HelpCommands.h"

#include "interpreter/HelpTable.h"
#include "session/Session.h"

namespace {

// A word that selects no page (or none at all) gets the list of every command.
void cmdHelp(Session &s, const CommandArgs &args)
{
    const HelpEntry *entry = Help::find(args.allArgs.toLower());
    if (!entry) {
        s.pager.mline(Help::generalList());
        return;
    }
    for (const HelpLine &line : entry->lines)
        if (line.text)
            s.console.DrawText(QString::fromLatin1(line.text), line.row);
    if (entry->chartRow != 0)
        s.console.ColourText(entry->chartRow);
}

} // namespace

void registerHelpCommand(CommandTable &table)
{
    table.add(QStringLiteral("help"), cmdHelp);
}
