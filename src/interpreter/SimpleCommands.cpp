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

void cmdAbout(Session &s, const CommandArgs &)
{
    s.console.DrawText(kDescription + QStringLiteral(".  Version ") + Options::CV(), 3);
    s.console.DrawText(kCompany, 6);
    s.console.DrawText(kProduct, 8);
    s.console.DrawText(Msg::kHelpHint, 11);
}

void cmdCls(Session &s, const CommandArgs &)
{
    s.console.ClScreen();
}

void cmdExit(Session &s, const CommandArgs &)
{
    s.requestClose();
}

void cmdCurfol(Session &s, const CommandArgs &)
{
    // A folder removed under the program has no path left to show.
    const QString folder = QDir::currentPath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw RuntimeError::pathNotFound();
    s.console.DrawText(Msg::kCurrentFolder, 1);
    s.console.DrawText(folder, 2);
}

// Its effect belongs to the Enter key and the key bindings, which put the last command
// line back for editing; run from a batch or an alias it only clears the console.
void cmdLastcmd(Session &, const CommandArgs &) {}

void cmdNow(Session &s, const CommandArgs &)
{
    s.console.DrawText(LocaleFormat::generalDate(QDateTime::currentDateTime()), 1);
}

void cmdWrite(Session &s, const CommandArgs &args)
{
    s.console.DrawText(args.allArgs, 1);
}

} // namespace

void registerSimpleCommands(CommandTable &table)
{
    table.add(QStringLiteral("about"), cmdAbout);
    table.add(QStringLiteral("cls"), cmdCls);
    table.add(QStringLiteral("exit"), cmdExit);
    table.add(QStringLiteral("quit"), cmdExit);
    table.add(QStringLiteral("curfol"), cmdCurfol);
    table.add(QStringLiteral("lastcmd"), cmdLastcmd);
    table.add(QStringLiteral("now"), cmdNow);
    table.add(QStringLiteral("write"), cmdWrite);
}
