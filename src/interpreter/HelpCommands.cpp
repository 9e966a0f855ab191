#include "interpreter/HelpCommands.h"

#include "interpreter/CommandTable.h"
#include "session/Session.h"

namespace {

const QString kGeneralList = QStringLiteral(
    "Standard commands:\r\n"
    "about, alt, background, clipboard, cls, cmd, crazy, curfol, eventlog, exit, export, f1 - f12, "
    "filedel, fileinfo, fileren, filesearch, lastcmd, listfonts, help, now, openurl, optvars, "
    "quit, "
    "run, set, showfile, textbgc, textcol, url2text, write\r\n"
    "\r\n"
    "Velmora commands:\r\n"
    "id3, loadvld, lyrics, notes, showvld, trackinfo\r\n"
    "\r\n"
    "Velmora play/search commands ('s' prefix = search, 'p' prefix = play):\r\n"
    "addat, dbatch, vldetails, vlpause, vlpl, vlplay, vlreset, vlvol, listartists, listbatches, "
    "listgenres, partist, partistn, pat, pbatch, pbatchn, pgenren, ptrack, randpl, rpas, sartist, "
    "strack\r\n"
    "\r\n"
    "Batch file commands:\r\n"
    "at, audio, batch, block, box, circle, end, line, picture, pixel, text, text2, video\r\n"
    "\r\n"
    "Type 'help <command>' to get help on a specific command.\r\n");

// clang-format off
const HelpPage kHelpHelp = {{
    {1, "help [<command>]"},
    {3,
"Shows help on the command given, or the list of all commands when no command (or an unknown  "
"one) is given."}}};
// clang-format on

// A word that selects no page (or none at all) gets the list of every command.
void cmdHelp(Session &s, const CommandArgs &args)
{
    const HelpPage *page = s.commands.find(args.allArgs.toLower()).help;
    if (!page) {
        s.pager.mline(kGeneralList);
        return;
    }
    for (const HelpLine &line : page->lines)
        if (line.text)
            s.console.DrawText(QString::fromLatin1(line.text), line.row);
    if (page->chartRow != 0)
        s.console.ColourText(page->chartRow);
}

} // namespace

void registerHelpCommand(CommandTable &table)
{
    table.add(QStringLiteral("help"), cmdHelp, kHelpHelp);
}
