#pragma once
// What the interpreter needs of the program around it, besides the stores it is given.

#include "interpreter/CommandTable.h"

#include <QString>

class RuntimeError;

class InterpreterHost
{
public:
    // A command is waiting (CommandWait): no other command line may start inside it.
    virtual bool commandWaiting() const = 0;
    // A risky line in a running batch asks first; true when it may run.
    virtual bool confirmInBatch(const QString &line) = 0;
    // True when a music database is loaded; otherwise the user has been told.
    virtual bool databaseReady() = 0;
    // Calls a command's handler on the program's state.
    virtual void runHandler(CommandHandler handler, const CommandArgs &args) = 0;
    virtual void ErorMsg(const QString &msg, int row) = 0;
    // After an error the timed commands go on (a question may have held them) and the one
    // report is shown.
    virtual void resumeTimedCommands() = 0;
    virtual void reportError(const RuntimeError &error) = 0;

protected:
    ~InterpreterHost() = default;
};
