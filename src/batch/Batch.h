#pragma once
// The state of a running batch file as the rest of the program sees it: whether one
// runs, its timed-command clock, and the question asked before a risky command.

#include <QTimer>

class Dialogs;

class Batch
{
public:
    Batch();

    // True when the command line may run: always when no batch runs, otherwise when the
    // user answers Yes to the warning.
    bool batchconfirm(const QString &cmd, Dialogs &dialogs) const;
    // The timed-command clock stops while the console waits for the user...
    void pausetimed();
    // ...and goes on afterwards, once a timed command has been scheduled.
    void resumetimed();
    // Break: the batch ends.
    void stopbatch();

    bool batchRunning = false;
    // The index of the last timed command scheduled, -1 when there is none.
    qint16 timedLast = -1;
    // The 100 ms clock of the timed commands.
    QTimer timBatch;
};
