#include "batch/BatchCommands.h"

#include "foundation/Messages.h"
#include "session/Session.h"

namespace {

// clang-format off
const HelpPage kBatchHelp = {{
    {1, "batch <filename>"},
    {3,
"Runs a idrisk2k Command batch file.  Batch files are lists of commands that are executed in  "
"order.  You can make a batch file yourself in a text editor such as gedit.  Each command     "
"must be on its own line."},
    {7, "To end a batch file before it finishes itself, press the Break key."},
    {9, "See the 'at' command for how to execute a command after a certain time."},
    {11, "The 'end' command will stop execution of a batch file."}}};
// clang-format on

void cmdBatch(Session &s, const CommandArgs &args)
{
    if (s.batch.running()) {
        s.ErorMsg(Msg::kBatchAlreadyRunning, 2);
        return;
    }
    s.opt[Options::LastBatchFile] = args.allArgs;
    s.batch.initbatch(args.allArgs);
}

// clang-format off
const HelpPage kAtHelp = {{
    {1, "at <milliseconds> <command>"},
    {3,
"Runs a command after a certain number of milliseconds has passed since a batch file started  "
"executing."},
    {6,
"'at' commands can be placed anywhere within a batch file, but it is best to place them at the"
"beginning.  After an 'at' command has been encountered in a batch file, the only way to stop "
"the file running is to press the Break key (unless it is able to stop itself with the 'end'  "
"command)."}}};
// clang-format on

void cmdAt(Session &s, const CommandArgs &args)
{
    if (!s.batch.running()) {
        s.ErorMsg(Msg::kAtOutsideBatch, 2);
        return;
    }
    s.batch.at(args.arg1, args.rest);
}

// clang-format off
const HelpPage kEndHelp = {{
    {1, "end"},
    {3,
"Stops the execution of a batch file.  If the batch file contains no 'at' commands, it will   "
"stop itself after all commands have been executed.  Otherwise it is a good idea to use an    "
"'at' command to end a batch file after all other 'at' commands have been executed to save the"
"user from having to press the Break key."}}};
// clang-format on

void cmdEnd(Session &s, const CommandArgs &)
{
    if (!s.batch.running()) {
        s.ErorMsg(Msg::kEndOutsideBatch, 2);
        return;
    }
    s.batch.end();
}

} // namespace

void registerBatchCommands(CommandTable &table)
{
    table.add(QStringLiteral("batch"), cmdBatch, kBatchHelp, {.keepsScreen = true});
    table.add(QStringLiteral("at"), cmdAt, kAtHelp, {.keepsScreen = true});
    table.add(QStringLiteral("end"), cmdEnd, kEndHelp, {.keepsScreen = true});
}
