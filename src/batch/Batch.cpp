#include "batch/Batch.h"

#include "interpreter/Messages.h"
#include "system/Dialogs.h"

Batch::Batch()
{
    timBatch.setInterval(100);
    timBatch.setTimerType(Qt::PreciseTimer);
}

bool Batch::batchconfirm(const QString &cmd, Dialogs &dialogs) const
{
    if (!batchRunning)
        return true;
    return dialogs.askYesNo(Msg::kBatchWarningTitle, Msg::batchWarning(cmd));
}

void Batch::pausetimed()
{
    if (batchRunning)
        timBatch.stop();
}

void Batch::resumetimed()
{
    if (batchRunning && timedLast >= 0)
        timBatch.start();
}

void Batch::stopbatch()
{
    timBatch.stop();
    batchRunning = false;
}
