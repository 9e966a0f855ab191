#pragma once
// Everything one console window owns, with no window: the option table, the console and
// its pager, the stores, the event log, the command table and the interpreter. Each
// subsystem registers its commands into the table when the session is made.

#include "batch/Batch.h"
#include "console/Console.h"
#include "console/CursorTimer.h"
#include "console/Keyboard.h"
#include "console/Pager.h"
#include "interpreter/CommandTable.h"
#include "interpreter/Interpreter.h"
#include "library/Archive.h"
#include "library/GenreTable.h"
#include "player/IdlePlayers.h"
#include "player/Playlist.h"
#include "settings/EventLog.h"
#include "settings/KeyValueStore.h"
#include "settings/Options.h"
#include "settings/ProgramFolder.h"
#include "system/ScriptedDialogs.h"

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
        // Makes the playlist players; none means players that never load anything.
        std::function<std::unique_ptr<PlaylistPlayers>()> makePlayers;
    };

    explicit Session(Config config);
    ~Session();

    // Runs a command line through the interpreter.
    void exe(const QString &line);
    // An error message in red on a row, also recorded in the event log.
    void ErorMsg(const QString &msg, int lne);

    // Runs an event handler; a run-time error that escapes it goes to the interpreter's
    // trap instead of ending the program.
    void handleEvent(const std::function<void()> &handler);

    // The window's title; the window is told when it changes.
    const QString &windowTitle() const { return m_windowTitle; }
    void setWindowTitle(const QString &title);
    void setOnTitleChanged(std::function<void(const QString &)> handler) { m_onTitleChanged = std::move(handler); }

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
    GenreTable genres;
    std::unique_ptr<PlaylistPlayers> players;
    Playlist playlist;
    Console console;
    Pager pager;
    EventLogFile log;
    CommandTable commands;
    Interpreter interpreter;
    Batch batch;
    // Who answers the modal questions. With no window the script does (--answer, tests);
    // a question with no answer left counts as No or cancelled.
    ScriptedDialogs scripted;
    Dialogs *dialogs = &scripted;
    Keyboard keyboard;
    CursorTimer cursorTimer;

private:
    bool m_closeRequested = false;
    std::function<void()> m_onCloseRequested;
    QString m_windowTitle;
    std::function<void(const QString &)> m_onTitleChanged;
};
