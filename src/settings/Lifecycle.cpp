#include "settings/Lifecycle.h"

#include "foundation/RuntimeError.h"
#include "foundation/TempFolder.h"
#include "player/PlayerControl.h"
#include "session/Session.h"

#include <QFile>
#include <QSettings>
#include <cstdio>

namespace {

const QString kSettingsFile = QStringLiteral("set.cf");

template <typename Step> void tryStep(Step step)
{
    try {
        step();
    } catch (const RuntimeError &) {
        // A failed step is skipped; the next one runs.
    }
}

// A settings file that cannot be read is kept aside as set.cf.bad, so the shut-down that
// writes the (empty) store does not destroy what the user had.
void loadSettingsStore(Session &s)
{
    const QString path = s.config.folder.programFolder(kSettingsFile);
    if (!QFile::exists(path))
        return;
    try {
        s.CF.LoadFile(path);
    } catch (const RuntimeError &) {
        const QString aside = path + QStringLiteral(".bad");
        QFile::remove(aside);
        QFile::rename(path, aside);
    }
}

void deleteIfExists(Session &s, const QString &path)
{
    if (!path.isEmpty() && s.PWAD.FileExists(path))
        QFile::remove(path);
}

} // namespace

void startUp(Session &s)
{
    Console &console = s.console;
    tryStep([&] { loadSettingsStore(s); });
    tryStep([&] { console.ClScreen(); });
    tryStep([&] {
        const auto settings = s.optionSettings();
        s.opt.load(*settings);
    });
    tryStep([&] {
        console.curCol = Console::kHomeColumn;
        console.curRow = Console::kHomeRow;
        qint32 colour = -1;
        console.DrawChar(u'_', console.curCol, console.curRow, colour);
    });
    tryStep([&] { WMPreset(s); });
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
    tryStep([&] { s.exe(QStringLiteral("background ") + s.opt[Options::Background]); });
    tryStep([&] { s.genres.FillGenres(); });
    tryStep([&] { s.exe(QStringLiteral("about")); });
    s.cursorTimer.timFlash.start();
}

void shutDown(Session &s)
{
    tryStep([&] { s.CF.SaveFile(s.config.folder.programFolder(kSettingsFile)); });
    tryStep([&] { SavePlaylistFile(s); });
    tryStep([&] {
        for (const QString &name : s.opt[Options::TemporaryFiles].split(u'|'))
            deleteIfExists(s, name);
    });
    tryStep([&] { SavePlaylistState(s); });
    s.opt[Options::TemporaryFiles].clear();
    tryStep([&] {
        const auto settings = s.optionSettings();
        s.opt.save(*settings);
    });
    tryStep([&] { deleteIfExists(s, tempFolder() + QStringLiteral("/cmd.txt")); });
    s.log.setOnSaveFailed({});
    if (!s.log.save())
        std::fprintf(stderr, "i2kCmd: the event log could not be saved: %s\n",
                     qPrintable(s.log.path()));
}
