#include "session/Session.h"

#include "batch/BatchCommands.h"
#include "drawing/ShapeCommands.h"
#include "drawing/TextCommands.h"
#include "foundation/Colours.h"
#include "foundation/Messages.h"
#include "foundation/RuntimeError.h"
#include "interpreter/HelpCommands.h"
#include "interpreter/SimpleCommands.h"
#include "library/DatabaseFiles.h"
#include "library/Id3Commands.h"
#include "library/LibraryCommands.h"
#include "library/TrackDetails.h"
#include "player/MediaCommands.h"
#include "player/MpvPlayer.h"
#include "player/PlaylistBuilderCommands.h"
#include "player/PlaylistCommands.h"
#include "session/CommandWait.h"
#include "settings/AliasCommands.h"
#include "settings/AppearanceCommands.h"
#include "settings/EventLogCommands.h"
#include "settings/OptionCommands.h"
#include "system/FileCommands.h"
#include "system/ProgramCommands.h"
#include "system/WebCommands.h"

#include <QSettings>
#include <QStandardPaths>

Session::Session(Config cfg)
    : config(std::move(cfg)),
      players(*this, playlist, timers(),
              config.makePlayer ? config.makePlayer : MpvPlayer::factory(config.audioOutput)),
      console(opt, players), pager(console),
      log(config.folder.programFolder(QStringLiteral("eventlog.txt")), opt), interpreter(*this, {console, opt, CF, log, commands}),
      batch(*this, timers()), keyboard(*this), cursorTimer(*this), m_windowTitle(Msg::kWindowTitle)
{
    pager.setOnShown([this] { batch.pausetimed(); });
    pager.setCurrentTrackTop([this]() -> std::optional<int> {
        if (!players.fileLoaded())
            return std::nullopt;
        return playlist.plIndex + 2;
    });
    log.setOnSaveFailed([this](const QString &failure) { ErorMsg(failure, 2); });
    QObject::connect(&log.saveTimer, &QTimer::timeout,
                     [this] { handleEvent([this] { log.save(); }); });
    registerSimpleCommands(commands);
    registerOptionCommands(commands);
    registerEventLogCommands(commands);
    registerAliasCommands(commands);
    registerAppearanceCommands(commands);
    registerShapeCommands(commands);
    registerTextCommands(commands);
    registerBatchCommands(commands);
    registerPlaylistCommands(commands);
    registerPlaylistBuilders(commands);
    registerMediaCommands(commands);
    registerHelpCommand(commands);
    registerLibraryCommands(commands);
    registerId3Commands(commands);
    registerFileCommands(commands);
    registerProgramCommands(commands);
    registerWebCommands(commands);
}

Session::~Session() = default;

TimerSource &Session::timers() const
{
    return config.timers ? *config.timers : realTimers();
}

bool Session::atPrompt() const
{
    return console.mode() == Console::Mode::Prompt;
}

QString Session::trackFile(qint16 artist, qint16 track)
{
    return vldFN(loadedDatabase(), artist, track);
}

QString Session::trackDetails(const QString &artist, const QString &track) const
{
    return TDetails(vld, artist, track);
}

void Session::trackStarted()
{
    if (console.mode() == Console::Mode::Prompt && opt[Options::ShowNowPlaying] == u"1" &&
        !players.inUse().fileName().isEmpty()) {
        console.DrawText(QStringLiteral("Playing track:"), 27, -1, 0);
        console.DrawText(QString(92, u' '), 28, -1, 0);
        console.DrawText(players.detailsText(), 28, -1, 0);
    }
    playlistMoved();
}

void Session::playlistMoved()
{
    if (pager.plView)
        pager.mLineDisp(6);
}

LoadedDatabase Session::loadedDatabase()
{
    return {vld, opt[Options::Database], PWAD, temp, opt[Options::TemporaryFiles]};
}

void Session::resetPlaylist()
{
    players.wmp(0).setFileName(QString());
    players.wmp(1).setFileName(QString());
    playlist.clear();
    playlist.plIndex = 0;
    console.ClScreen();
}

void Session::setPlaylistVolume(int volume)
{
    opt.setPlayerVolume(volume);
    players.applyVolume();
}

bool Session::databaseReady()
{
    if (vld.GetValue(QStringLiteral("Artists")) != KeyValueStore::kNotFound)
        return true;
    ErorMsg(Msg::kNoDatabase, 1);
    return false;
}

void Session::exe(const QString &line)
{
    QString cmd = line;
    interpreter.exe(cmd);
}

void Session::ErorMsg(const QString &msg, int lne)
{
    console.DrawText(msg, lne, Colours::kRed, 0);
    log.EventLog(msg, true);
}

void Session::reportError(const RuntimeError &error)
{
    constexpr int kRow = 2;
    const QString msg = Msg::errorOccurred(error.description(), error.number());
    ErorMsg(msg, kRow);
    const int used = static_cast<int>(msg.size() % Cell::kTextColumns);
    if (used != 0)
        console.DrawText(QString(Cell::kTextColumns - used, u' '),
                         kRow + static_cast<int>(msg.size() / Cell::kTextColumns), -1, used);
}

void Session::handleEvent(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const RuntimeError &error) {
        interpreter.trap(error);
    } catch (const std::bad_alloc &) {
        interpreter.trap(RuntimeError::outOfMemory());
    }
}

template <typename Ask> auto Session::whileAsking(Ask ask)
{
    log.save();
    const CommandWait wait(*this);
    return ask(*m_desktop);
}

bool Session::askYesNo(const QString &title, const QString &text)
{
    return whileAsking([&](Desktop &d) { return d.askYesNo(title, text); });
}

std::optional<QString> Session::inputBox(const QString &title, const QString &prompt)
{
    return whileAsking([&](Desktop &d) { return d.inputBox(title, prompt); });
}

std::optional<QString> Session::openFile(const QString &title, const QString &filter)
{
    return whileAsking([&](Desktop &d) { return d.openFile(title, filter); });
}

int Session::popupMenu(const QStringList &entries, QPoint at)
{
    return whileAsking([&](Desktop &d) { return d.popupMenu(entries, at); });
}

void Session::setWindowTitle(const QString &title)
{
    if (title == m_windowTitle)
        return;
    m_windowTitle = title;
    m_desktop->setWindowTitle(title);
}

void Session::requestClose()
{
    m_closeRequested = true;
    m_desktop->closeWindow();
}

QString Session::optionsFilePath() const
{
    if (!config.optionsFile.isEmpty())
        return config.optionsFile;
    // Where Qt keeps the per-user INI settings of the application "Idrisk Tovar".
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Idrisk Tovar/Idrisk Tovar.ini");
}

std::unique_ptr<QSettings> Session::optionSettings() const
{
    return std::make_unique<QSettings>(optionsFilePath(), QSettings::IniFormat);
}
