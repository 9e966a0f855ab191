#pragma once
// Everything one console window owns, with no window: the option table, the console and
// its pager, the stores, the event log, the command table and the interpreter. Each
// subsystem registers its commands into the table when the session is made.

#include "console/Console.h"
#include "console/Pager.h"
#include "interpreter/CommandTable.h"
#include "interpreter/Interpreter.h"
#include "library/Archive.h"
#include "player/IdlePlayers.h"
#include "settings/EventLog.h"
#include "settings/KeyValueStore.h"
#include "settings/Options.h"
#include "settings/ProgramFolder.h"

#include <functional>
#include <memory>

class QSettings;

class Session
{
public:
    struct Config
    {
        ProgramFolder folder;
        // The INI file of the options; empty for the per-user settings of the desktop.
        QString optionsFile;
    };

    explicit Session(Config config);
    ~Session();

    // Runs a command line through the interpreter.
    void exe(const QString &line);
    // An error message in red on a row, also recorded in the event log.
    void ErorMsg(const QString &msg, int lne);

    // Where the options persist.
    std::unique_ptr<QSettings> optionSettings() const;

    // The window asks to close, running the shut-down sequence; exit and quit call it.
    void requestClose();
    void setOnCloseRequested(std::function<void()> handler) { m_onCloseRequested = std::move(handler); }
    bool closeRequested() const { return m_closeRequested; }

    const Config config;
    Options opt;
    KeyValueStore CF;  // aliases, variables and key bindings
    KeyValueStore vld; // the index of the loaded music database
    Archive PWAD;
    IdlePlayers players;
    Console console;
    Pager pager;
    EventLogFile log;
    CommandTable commands;
    Interpreter interpreter;

private:
    bool m_closeRequested = false;
    std::function<void()> m_onCloseRequested;
};
