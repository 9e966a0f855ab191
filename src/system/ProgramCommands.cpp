#include "system/ProgramCommands.h"

#include "foundation/Colours.h"
#include "foundation/LineBreaks.h"
#include "foundation/TextFile.h"
#include "session/Session.h"
#include "system/RunTarget.h"
#include "system/ShellCommand.h"
#include "system/ShellWords.h"
#include "system/SortArray.h"

#include <QFontDatabase>

namespace {

void cmdRun(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.console.DrawText(QStringLiteral("Usage: run <program/file> <arguments>"), 1);
        return;
    }
    const QString unable = QStringLiteral("Unable to run '") + args.allArgs + u'\'';
    const RunTarget target = findRunTarget(args.arg1);
    switch (target.kind) {
    case RunTarget::Program: {
        const std::optional<QStringList> arguments = splitShellWords(args.rest);
        if (!arguments) {
            s.ErorMsg(unable + QStringLiteral(": a quote is not closed"), 1);
            return;
        }
        // A program that is found but fails to start says nothing, like a document that no
        // application opens.
        s.desktop().startProgram(target.target, *arguments);
        break;
    }
    case RunTarget::Document:
        s.desktop().openUrl(target.target);
        break;
    case RunTarget::Nothing:
        s.ErorMsg(unable, 1);
        break;
    }
}

void cmdCmd(Session &s, const CommandArgs &args)
{
    Console &c = s.console;
    c.DrawText(QStringLiteral("Press Escape to return to idrisk2k Command..."), 1, Colours::kGrey);
    const QString capture = s.temp.file(QStringLiteral("cmd.txt"));
    ShellCommand command(args.allArgs, capture);
    c.dispMode = Console::ExternalCommand;
    s.batch.pausetimed();
    // Escape puts the console back at the prompt (the keyboard's part); the command is
    // stopped when it goes out of scope, and nothing is shown.
    if (!command.wait([&c] { return c.dispMode != Console::ExternalCommand; }))
        return;
    c.dispMode = Console::Prompt;
    s.pager.mline(toCrLf(TextFile::decode(TextFile::readBytes(capture))));
}

void cmdClipboard(Session &s, const CommandArgs &args)
{
    if (args.arg1.toLower() == u"set")
        s.desktop().setClipboardText(args.rest);
    else
        s.pager.mline(toCrLf(s.desktop().clipboardText()));
}

void cmdListfonts(Session &s, const CommandArgs &)
{
    QStringList families = QFontDatabase::families();
    SortArray(families, true);
    QString text = QStringLiteral("List of installed fonts:\r\n\r\n");
    for (const QString &family : families)
        text += family + QStringLiteral("\r\n");
    s.pager.mline(text);
}

} // namespace

void registerProgramCommands(CommandTable &table)
{
    table.add(QStringLiteral("run"), cmdRun, {.confirmInBatch = true});
    table.add(QStringLiteral("cmd"), cmdCmd, {.confirmInBatch = true});
    table.add(QStringLiteral("clipboard"), cmdClipboard);
    table.add(QStringLiteral("listfonts"), cmdListfonts);
}
