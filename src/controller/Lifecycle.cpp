#include "controller/Lifecycle.h"

#include "foundation/Messages.h"
#include "foundation/RuntimeError.h"
#include "foundation/NumericText.h"
#include "session/Session.h"
#include "settings/OptionsFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>

namespace {

const QString kSettingsFile = QStringLiteral("set.cf");
const QString kPlaylistFile = QStringLiteral("playlist.dat");

template <typename Step> void tryStep(Step step)
{
    try {
        step();
    } catch (const RuntimeError &) {
        // A failed step is skipped; the next one runs.
    }
}

// A free name beside the file for a copy kept aside: name.bad, then name.bad.1, .2, ...
// so that a later bad start never overwrites what an earlier one kept.
QString keepAside(const QString &path)
{
    // A FIFO or device is no copy of anything, and opening one to read could wait for ever.
    if (!QFileInfo(path).isFile())
        return {};
    QString aside = path + QStringLiteral(".bad");
    for (int n = 1; !QFile::copy(path, aside); ++n) {
        if (!QFileInfo::exists(aside) || n > 9999)
            return {};
        aside = path + QStringLiteral(".bad.%1").arg(n);
    }
    return aside;
}

// Every good line of set.cf is loaded. A damaged file is copied aside first, so the
// shut-down that writes the store back cannot destroy what the user had; the returned
// notice says what happened, for the screen once start-up is done.
QString loadSettingsStore(Session &s)
{
    const QString path = s.config.folder.programFolder(kSettingsFile);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    qsizetype skipped = 0;
    QString reason;
    try {
        skipped = s.CF.LoadFileSkippingBadLines(path).size();
        if (skipped == 0)
            return {};
    } catch (const RuntimeError &error) {
        reason = Msg::errorText(error.description(), error.number());
    }
    const QString aside = keepAside(path);
    const QString kept = aside.isEmpty() ? QStringLiteral("could not be copied aside")
                                         : QStringLiteral("is kept as ") + aside;
    if (!reason.isEmpty())
        return QStringLiteral("%1 could not be read (%2); it %3").arg(path, reason, kept);
    return QStringLiteral("%1: %2 damaged line%3 skipped; the file as it was %4")
        .arg(path)
        .arg(skipped)
        .arg(skipped == 1 ? QString() : QStringLiteral("s"), kept);
}

// A file the program keeps is saved, or its failure is said on standard error: the window
// is closing, nobody would see a red line.
template <typename Save> void saveStep(const QString &path, Save save)
{
    try {
        save();
    } catch (const RuntimeError &error) {
        std::fprintf(
            stderr, "i2kCmd: %s\n",
            qPrintable(Msg::saveFailed(path, Msg::errorText(error.description(), error.number()))));
    }
}

// Only the copies of embedded tracks, which live in the program's private folder: opt(11)
// is kept in the options file, and an edited one must not make the shut-down delete anything
// else. The entry is removed by its resolved name, so the check and the deletion name the
// same file. (A link there is removed, never what it points at.)
void deleteTemporaryFile(Session &s, const QString &path)
{
    const QString own = s.temp.ownEntry(path);
    if (!own.isEmpty())
        QFile::remove(own);
}


} // namespace

void RestorePlaylist(Session &s)
{
    s.playlist.restore(s.config.folder.programFolder(kPlaylistFile));
    const QString &index = s.opt[Options::PlaylistPosition];
    if (Numeric::isNumeric(index))
        s.playlist.plIndex = Numeric::toInteger(index);
    // The track starts as a skip starts one: on the other player than the one saved.
    const std::optional<double> inUse = Numeric::parse(s.opt[Options::PlayerInUse]);
    s.players.setInUseIndex(inUse && *inUse == 1 ? 1 : 0);
    s.players.playCurrent();
    MediaPlayer &player = s.players.inUse();
    const QString &state = s.opt[Options::PlayState];
    if (state == u"2")
        player.play();
    else if (state == u"1")
        player.pause();
    const QString &position = s.opt[Options::PlayPosition];
    if (Numeric::isNumeric(position))
        player.setPosition(Numeric::toDouble(position));
}

void SavePlaylistState(Session &s)
{
    MediaPlayer &player = s.players.inUse();
    s.opt[Options::PlayerInUse] = QString::number(s.players.inUseIndex());
    s.opt[Options::PlaylistPosition] = QString::number(s.playlist.plIndex);
    s.opt[Options::PlayState] = QString::number(player.playState());
    s.opt[Options::PlayPosition] = QString::number(player.position(), 'g', 15);
}

void startUp(Session &s)
{
    Console &console = s.console;
    QString notice;
    tryStep([&] { notice = loadSettingsStore(s); });
    tryStep([&] { console.ClScreen(); });
    tryStep([&] {
        // The settings class reads whatever is there, and a FIFO would hold it for ever.
        const QFileInfo stored(s.optionsFilePath());
        if (stored.exists() && !stored.isFile())
            throw RuntimeError::deviceUnavailable();
        const auto settings = s.optionSettings();
        s.opt.load(*settings);
    });
    tryStep([&] {
        console.curCol = Console::kHomeColumn;
        console.curRow = Console::kHomeRow;
        qint32 colour = -1;
        console.DrawChar(u'_', console.curCol, console.curRow, colour);
    });
    tryStep([&] { s.resetPlaylist(); });
    tryStep([&] {
        // The very first start (no options stored yet) opens the sample that comes with the
        // program, so the music commands have something to show; loadvld replaces it.
        if (s.opt[Options::Version].isEmpty() && s.opt[Options::Database].isEmpty())
            s.opt[Options::Database] =
                ProgramFolder::sampleDatabase(QCoreApplication::applicationDirPath());
    });
    tryStep([&] {
        if (s.opt[Options::Version] != Options::CV())
            s.opt.ResetOpts();
    });
    tryStep([&] {
        if (!s.opt[Options::Database].isEmpty())
            s.exe(QStringLiteral("loadvld ") + s.opt[Options::Database]);
    });
    tryStep([&] { s.opt.repairTextColour(); });
    tryStep([&] { RestorePlaylist(s); });
    if (const QString &cut = s.playlist.restoreNotice(); !cut.isEmpty())
        notice = notice.isEmpty() ? cut : notice + QStringLiteral("; ") + cut;
    tryStep([&] { s.exe(QStringLiteral("background ") + s.opt[Options::Background]); });
    tryStep([&] { s.genres.FillGenres(); });
    tryStep([&] { s.exe(QStringLiteral("about")); });
    if (!notice.isEmpty())
        tryStep([&] { s.ErorMsg(notice, 13); });
    s.cursorTimer.timFlash.start();
    s.players.startAdvancing();
}

void shutDown(Session &s)
{
    const QString settingsFile = s.config.folder.programFolder(kSettingsFile);
    saveStep(settingsFile, [&] { s.CF.SaveFile(settingsFile); });
    const QString playlistFile = s.config.folder.programFolder(kPlaylistFile);
    saveStep(playlistFile, [&] { s.playlist.save(playlistFile); });
    tryStep([&] {
        for (const QString &name : s.opt[Options::TemporaryFiles].split(u'|'))
            deleteTemporaryFile(s, name);
    });
    tryStep([&] { SavePlaylistState(s); });
    s.opt[Options::TemporaryFiles].clear();
    const QString optionsFile = s.optionsFilePath();
    saveStep(optionsFile, [&] { saveOptionsFile(s.opt, optionsFile); });
    // Only the program's own temporary folder: TEMP is shared with everyone else.
    s.temp.remove();
    if (!s.log.save())
        std::fprintf(stderr, "i2kCmd: %s\n", qPrintable(s.log.lastFailure()));
}
