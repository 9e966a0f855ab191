#pragma once
// The one road every command line takes: recorded, expanded, split, logged, the console
// cleared, dispatched to its handler or expanded as an alias, and any run-time error trapped.

#include "interpreter/InterpreterHost.h"

#include <QString>

class Console;
class EventLogFile;
class KeyValueStore;
class Options;
class RuntimeError;

class Interpreter
{
public:
    // Alias chains stop at this depth.
    static constexpr int kMaxAliasDepth = 15;
    // %variable% expansion stops with "Out of string space (14)" past these bounds, so a
    // variable whose value refers to itself cannot grow the line without end.
    static constexpr qsizetype kMaxExpandedLength = 65536;
    static constexpr int kMaxExpansions = 10000;

    struct State
    {
        Console &console;
        Options &options;
        KeyValueStore &aliases; // aliases, variables and key bindings
        EventLogFile &log;
        const CommandTable &commands;
    };
    Interpreter(InterpreterHost &host, State state);

    // Runs one command line. On return cmd holds the command word (the Enter key relies
    // on it to recognise "lastcmd"). While a command waits (CommandWait) nothing runs.
    void exe(QString &cmd);

    // The line with every defined %name% replaced by its value.
    QString expandVariables(QString cmd) const;

    // Back to the prompt with the error shown on row 2; key and mouse handling use it too.
    void trap(const RuntimeError &error);

private:
    void run(QString &cmd);

    InterpreterHost &m_host;
    State m_state;
    qint16 m_recDepth = 0;
};
