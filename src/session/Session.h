#pragma once
// The state every subsystem shares, with no window: the option table, the console and its
// pager, the stores, the event log, the command table and the interpreter. Each subsystem
// registers its commands into the table when the session is made. The session reaches the
// desktop only through its Desktop. No engine includes this one: each is given the narrow
// host it needs (BatchHost, InterpreterHost, PlayersHost), which the session implements;
// only command files, controllers and the window see the whole of it.

#include "batch/Batch.h"
#include "console/Console.h"
#include "controller/CursorTimer.h"
#include "controller/Keyboard.h"
#include "console/Pager.h"
#include "foundation/TempFolder.h"
#include "interpreter/CommandTable.h"
#include "interpreter/Interpreter.h"
#include "formats/Archive.h"
#include "library/DatabaseFiles.h"
#include "library/GenreTable.h"
#include "player/Players.h"
#include "player/Playlist.h"
#include "session/ScriptedDesktop.h"
#include "settings/EventLog.h"
#include "formats/Catalogue.h"
#include "formats/KeyValueStore.h"
#include "settings/Options.h"
#include "settings/ProgramFolder.h"
#include "system/UtilityLibrary.h"
#include "system/WebClient.h"

#include <functional>
#include <memory>

class CommandWait;
class QSettings;
class RuntimeError;

class Session : public BatchHost, public InterpreterHost, public PlayersHost
{
public:
    struct Config
    {
        ProgramFolder folder;
        // The INI file of the options; empty for the per-user settings of the desktop.
        QString optionsFile;
        // Makes the three media players; none means libmpv players on the audio output below.
        Players::Factory makePlayer;
        // mpv's audio output ("null" plays silently in real time); empty for mpv's choice.
        QString audioOutput;
        // The timers of the batch and the players; none means Qt's (tests move a ManualClock).
        TimerSource *timers = nullptr;
    };

    explicit Session(Config config);
    ~Session();

    // Runs a command line through the interpreter.
    void exe(const QString &line) override;
    // An error message in red on a row, also recorded in the event log.
    void ErorMsg(const QString &msg, int lne) override;
    // The one report of a run-time error: "An error has occurred: ..." in red on row 2, the
    // rest of the row it ends on blanked so no older text reads on after it.
    void reportError(const RuntimeError &error) override;

    // Runs an event handler (a key, a timer, a queued call) under the interpreter's trap, so
    // a run-time error is reported instead of ending the program.
    void handleEvent(const std::function<void()> &handler) override;

    // The timers of the configuration, else Qt's.
    TimerSource &timers() const;

    // The desktop the session talks to; the scripted one until the window gives its own.
    Desktop &desktop() { return *m_desktop; }
    void setDesktop(Desktop *desktop) { m_desktop = desktop ? desktop : &scripted; }

    // The modal questions. Each is a command wait (a nested event loop would run batch lines,
    // timed commands and keys), and the event log is saved first, as the wait may be long.
    bool askYesNo(const QString &title, const QString &text) override;
    bool atPrompt() const override;

    // InterpreterHost.
    bool commandWaiting() const override { return wait != nullptr; }
    bool confirmInBatch(const QString &line) override { return batch.batchconfirm(line); }
    // When no database is loaded, "No valid Velmora database has been loaded" on row 1.
    bool databaseReady() override;
    void runHandler(CommandHandler handler, const CommandArgs &args) override
    {
        handler(*this, args);
    }
    void resumeTimedCommands() override { batch.resumetimed(); }

    // PlayersHost.
    int playlistVolume() const override { return opt.playerVolume(); }
    QString trackFile(qint16 artist, qint16 track) override;
    QString trackDetails(const QString &artist, const QString &track) const override;
    void trackStarted() override;
    void playlistMoved() override;

    // The loaded database's files, as the track and text readers take them.
    LoadedDatabase loadedDatabase();

    // Both playlist players unloaded, the playlist emptied, plIndex 0, the console cleared.
    void resetPlaylist();
    // The user's volume (0..100) for the playlist players, at once and in the runs after.
    void setPlaylistVolume(int volume);
    std::optional<QString> inputBox(const QString &title, const QString &prompt);
    std::optional<QString> openFile(const QString &title, const QString &filter);
    int popupMenu(const QStringList &entries, QPoint at);

    const QString &windowTitle() const { return m_windowTitle; }
    void setWindowTitle(const QString &title);

    // exit and quit: the window closes once the command has returned, running the shut-down.
    void requestClose();
    bool closeRequested() const { return m_closeRequested; }

    // Where the options persist: the INI file given in the configuration, else the per-user
    // one of the desktop. Start-up reads and shut-down writes that one file.
    QString optionsFilePath() const;
    std::unique_ptr<QSettings> optionSettings() const;

    const Config config;
    Options opt;
    KeyValueStore CF; // aliases, variables and key bindings
    Catalogue vld;    // the catalogue of the loaded music database
    Archive PWAD;
    // The program's own temporary files (copies of embedded tracks), gone at shut-down.
    PrivateTempFolder temp;
    GenreTable genres;
    Players players;
    Playlist playlist;
    Console console;
    Pager pager;
    EventLogFile log;
    CommandTable commands;
    Interpreter interpreter;
    Batch batch;
    // Answers for tests and headless runs: --answer values, menu picks, a private clipboard.
    ScriptedDesktop scripted;
    Keyboard keyboard;
    CursorTimer cursorTimer;
    // Web pages for openurl and url2text.
    WebClient web;
    // The utility plugin (file details, HTML decoding), loaded on first use.
    UtilityLibrary utility;
    // The innermost wait of a command that has not finished, if any (see CommandWait).
    CommandWait *wait = nullptr;

private:
    template <typename Ask> auto whileAsking(Ask ask);

    Desktop *m_desktop = &scripted;
    bool m_closeRequested = false;
    QString m_windowTitle;
};
