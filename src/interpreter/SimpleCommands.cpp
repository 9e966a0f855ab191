#include "interpreter/SimpleCommands.h"

#include "foundation/LocaleFormat.h"
#include "foundation/Messages.h"
#include "foundation/RuntimeError.h"
#include "session/Session.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// The version information the banner shows.
const QString kDescription = QStringLiteral("idrisk2k Command, a graphical command console");
const QString kCompany = QStringLiteral("Copyright (C) 2026 Idrisk Tovar");
const QString kProduct = QStringLiteral("https://idrisk2k.org/i2kcmd");

const HelpPage kAboutHelp = {
    {{1, "about"}, {3, "Shows the program's name, version, copyright and web address."}}};

void cmdAbout(Session &s, const CommandArgs &)
{
    s.console.DrawText(kDescription + QStringLiteral(".  Version ") + Options::CV(), 3);
    s.console.DrawText(kCompany, 6);
    s.console.DrawText(kProduct, 8);
    s.console.DrawText(Msg::kHelpHint, 11);
}

const HelpPage kClsHelp = {{{1, "cls"}, {3, "Clears the screen."}}};

void cmdCls(Session &s, const CommandArgs &)
{
    s.console.ClScreen();
}

// clang-format off
const HelpPage kExitHelp = {{
    {1, "exit/quit"},
    {3,
"Closes idrisk2k Command.  The aliases, variables, key bindings, options and playlist are     "
"saved first."}}};
// clang-format on

void cmdExit(Session &s, const CommandArgs &)
{
    s.requestClose();
}

const HelpPage kCurfolHelp = {{{1, "curfol"}, {3, "Shows the full path of the current folder."}}};

void cmdCurfol(Session &s, const CommandArgs &)
{
    // A folder removed under the program has no path left to show.
    const QString folder = QDir::currentPath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw RuntimeError::pathNotFound();
    s.console.DrawText(Msg::kCurrentFolder, 1);
    s.console.DrawText(folder, 2);
}

// clang-format off
const HelpPage kLastcmdHelp = {{
    {1, "lastcmd"},
    {3,
"Puts the text of last command entered in the Command line.  This command is bound to the F3  "
"key by default."}}};
// clang-format on

// Its effect belongs to the Enter key and the key bindings, which put the last command
// line back for editing; run from a batch or an alias it only clears the console.
void cmdLastcmd(Session &, const CommandArgs &) {}

const HelpPage kNowHelp = {{{1, "now"}, {3, "Shows the current date and time."}}};

void cmdNow(Session &s, const CommandArgs &)
{
    s.console.DrawText(LocaleFormat::generalDate(QDateTime::currentDateTime()), 1);
}

const HelpPage kWriteHelp = {{{1, "write <text>"}, {3, "Writes the text on the screen."}}};

void cmdWrite(Session &s, const CommandArgs &args)
{
    s.console.DrawText(args.allArgs, 1);
}

} // namespace

void registerSimpleCommands(CommandTable &table)
{
    table.add(QStringLiteral("about"), cmdAbout, kAboutHelp);
    table.add(QStringLiteral("cls"), cmdCls, kClsHelp);
    table.add(QStringLiteral("exit"), cmdExit, kExitHelp);
    table.add(QStringLiteral("quit"), cmdExit, kExitHelp);
    table.add(QStringLiteral("curfol"), cmdCurfol, kCurfolHelp);
    table.add(QStringLiteral("lastcmd"), cmdLastcmd, kLastcmdHelp);
    table.add(QStringLiteral("now"), cmdNow, kNowHelp);
    table.add(QStringLiteral("write"), cmdWrite, kWriteHelp);
}
