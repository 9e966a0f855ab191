#include "batch/BatchCommands.h"

#include "foundation/Messages.h"
#include "session/Session.h"

namespace {

void cmdBatch(Session &s, const CommandArgs &args)
{
    if (s.batch.running()) {
        s.ErorMsg(Msg::kBatchAlreadyRunning, 2);
        return;
    }
    s.opt[Options::LastBatchFile] = args.allArgs;
    s.batch.initbatch(args.allArgs);
}

void cmdAt(Session &s, const CommandArgs &args)
{
    if (!s.batch.running()) {
        s.ErorMsg(Msg::kAtOutsideBatch, 2);
        return;
    }
    s.batch.at(args.arg1, args.rest);
}

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
    table.add(QStringLiteral("batch"), cmdBatch, {.keepsScreen = true});
    table.add(QStringLiteral("at"), cmdAt, {.keepsScreen = true});
    table.add(QStringLiteral("end"), cmdEnd, {.keepsScreen = true});
}
