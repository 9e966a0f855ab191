#include "system/ProgramCommands.h"

#include "foundation/Colours.h"
#include "foundation/LineBreaks.h"
#include "foundation/TextFile.h"
#include "session/CommandWait.h"
#include "session/Session.h"
#include "system/RunTarget.h"
#include "system/ShellCommand.h"
#include "system/ShellWords.h"
#include "system/SortArray.h"

#include <QFontDatabase>

namespace {

// clang-format off
const HelpPage kRunHelp = {{
    {1, "run <program/file> [<arguments>]"},
    {3,
"Starts a program found on the PATH (or given with its path) with any arguments given, or     "
"opens a file or web address with its default program."}}};
// clang-format on

void cmdRun(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.console.DrawText(QStringLiteral("Usage: run <program/file> <arguments>"), 1);
        return;
    }
    const QString unable = QStringLiteral("Unable to run '") + args.allArgs + u'\'';
    // The program word is split as its arguments are, so a quoted path may hold blanks.
    std::optional<QStringList> words = splitShellWords(args.allArgs);
    if (!words) {
        s.ErorMsg(unable + QStringLiteral(": a quote is not closed"), 1);
        return;
    }
    const RunTarget target = findRunTarget(words->value(0));
    switch (target.kind) {
    case RunTarget::Program:
        words->removeFirst();
        // A program that is found but fails to start says nothing, like a document that no
        // application opens.
        s.desktop().startProgram(target.target, *words);
        break;
    case RunTarget::Document:
        s.desktop().openUrl(target.target);
        break;
    case RunTarget::Nothing:
        s.ErorMsg(unable, 1);
        break;
    }
}

// What a command printed, as the pager can show it: lines past its capacity are left out,
// and when anything was left out (here or by the capture limit) a last line says so.
QString capturedPage(const QByteArray &output, bool cut)
{
    const QString text = toCrLf(TextFile::decode(output));
    // The pager's count leaves room for one more line, the one that says the text was cut.
    PagerText page;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype lineEnd = text.indexOf(u"\r\n", start);
        const qsizetype end = lineEnd < 0 ? text.size() : lineEnd + 2;
        if (!page.add(QStringView(text).sliced(start, end - start))) {
            cut = true;
            break;
        }
        start = end;
    }
    if (!cut)
        return text;
    QString shown = page.text();
    if (!shown.isEmpty() && !shown.endsWith(u"\r\n"))
        shown += u"\r\n";
    return shown + QStringLiteral("[The output was cut here: the rest is too long to show]");
}

// clang-format off
const HelpPage kCmdHelp = {{
    {1, "cmd <command>"},
    {3,
"Runs a command line in the system's shell (/bin/sh) and displays what it printed.  Press     "
"Escape to return to idrisk2k Command without waiting for its output."}}};
// clang-format on

void cmdCmd(Session &s, const CommandArgs &args)
{
    Console &c = s.console;
    ShellCommand command(args.allArgs);
    c.setMode(Console::Mode::ExternalCommand);
    c.DrawText(QStringLiteral("Press Escape to return to idrisk2k Command..."), 1, Colours::kGrey);
    s.batch.pausetimed();
    bool ended = false;
    {
        const CommandWait wait(s);
        ended = command.wait([&wait] { return wait.cancelled(); });
    }
    if (!ended) {
        // Escape: back at the prompt, showing nothing; the command is stopped when it goes
        // out of scope.
        c.setMode(Console::Mode::Prompt);
        s.batch.resumetimed();
        return;
    }
    s.pager.mline(capturedPage(command.output(), command.cut()));
}

// clang-format off
const HelpPage kClipboardHelp = {{
    {1, "clipboard [<set> <text>]"},
    {3,
"Displays the text on the clipboard (if there is any).  Use the set argument to set the       "
"contents of the clipboard e.g.:"},
    {6, "clipboard set This text will now be on the clipboard."}}};
// clang-format on

void cmdClipboard(Session &s, const CommandArgs &args)
{
    if (args.arg1.toLower() == u"set")
        s.desktop().setClipboardText(args.rest);
    else
        s.pager.mline(toCrLf(s.desktop().clipboardText()));
}

const HelpPage kListfontsHelp = {
    {{1, "listfonts"},
     {3, "Lists the fonts installed on the system, for use with the text2 command."}}};

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
    table.add(QStringLiteral("run"), cmdRun, kRunHelp, {.confirmInBatch = true});
    table.add(QStringLiteral("cmd"), cmdCmd, kCmdHelp, {.confirmInBatch = true});
    table.add(QStringLiteral("clipboard"), cmdClipboard, kClipboardHelp);
    table.add(QStringLiteral("listfonts"), cmdListfonts, kListfontsHelp);
}
