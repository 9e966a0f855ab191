#include "player/PlaylistCommands.h"

#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "library/TrackDetails.h"
#include "session/Session.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <algorithm>

#include <cmath>

namespace {

const QString kPlaylistHeader = QStringLiteral(
    "Tracks in playlist (Enter - play top track; F9 - play/pause; F11 - previous; F12 - next):\r\n"
    "[ - back 10 seconds; ] - forward 10 seconds\r\n");

// randpl and rpas: one option switched by y and n, its state and usage otherwise.
struct Switch
{
    Options::Index option;
    const char *on;
    const char *off;
    const char *isOn;
    const char *isOff;
};

const Switch kRandpl = {Options::RandomPlaylists,
                        "Tracks in new playlists will be randomised.",
                        "Tracks in new playlists will no longer be randomised.",
                        "randpl is set to playing randomly.",
                        "randpl is set to not playing randomly."};
const Switch kRpas = {Options::ResetBeforeSearch,
                      "Playlist will reset after searching.",
                      "Playlist will no longer reset after searching.",
                      "rpas is set to reset playlist after searching.",
                      "rpas is set to not resetting playlist after searching."};

void setSwitch(Session &s, const CommandArgs &args, const Switch &sw, const HelpPage &help)
{
    if (args.allArgs == u"y") {
        s.opt[sw.option] = QStringLiteral("1");
        s.console.DrawText(QString::fromUtf8(sw.on), 1);
    } else if (args.allArgs == u"n") {
        s.opt[sw.option] = QStringLiteral("0");
        s.console.DrawText(QString::fromUtf8(sw.off), 1);
    } else {
        s.console.DrawText(QString::fromUtf8(s.opt[sw.option] == u"1" ? sw.isOn : sw.isOff), 3);
        s.console.DrawText(help.usage(), 1);
    }
}

// clang-format off
const HelpPage kRandplHelp = {{
    {1, "randpl <y,n>"},
    {3,
"If set to on, the tracks of new playlists are put in a random order.  Type y or n to turn    "
"this feature on or off."}}};
// clang-format on

void cmdRandpl(Session &s, const CommandArgs &args)
{
    setSwitch(s, args, kRandpl, kRandplHelp);
}

// clang-format off
const HelpPage kRpasHelp = {{
    {1, "rpas <y,n>"},
    {3,
"If set to on, the playlist will reset before searching for tracks using any of the 'p' prefix"
"search commands.  Type y or n to turn this feature on or off."}}};
// clang-format on

void cmdRpas(Session &s, const CommandArgs &args)
{
    setSwitch(s, args, kRpas, kRpasHelp);
}

// clang-format off
const HelpPage kShuffleHelp = {{
    {1, "shuffle"},
    {3,
"Shuffles the playlist.  The playlist shuffles even if randpl has been set to not randomising "
"the playlist.  The playlist will play from the beginning."}}};
// clang-format on

void cmdShuffle(Session &s, const CommandArgs &)
{
    RandomizeList(s, 0, true);
    s.players.skipTo(0);
}

// The largest whole number not above the text's number, in plain decimal.
QString wholePart(const QString &number)
{
    return QString::number(static_cast<qint64>(std::floor(Numeric::toDouble(number))));
}

// clang-format off
const HelpPage kAddatHelp = {{
    {1, "addat <artist number> <track number>"},
    {3,
"Adds a track of the Velmora database to the end of the playlist and shows the playlist."}}};
// clang-format on

void cmdAddat(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.console.DrawText(kAddatHelp.usage(), 1);
        return;
    }
    if (s.vld.GetValue(args.arg1 + QStringLiteral("Genre") + args.rest) ==
        KeyValueStore::kNotFound) {
        s.ErorMsg(QStringLiteral("Invalid artist/track reference"), 1);
        return;
    }
    // A full table has no empty entry: the index past it raises "Subscript out of range".
    const int free = s.playlist.count();
    Playlist::Entry &entry = s.playlist[free];
    entry = {wholePart(args.arg1), wholePart(args.rest)};
    s.exe(QStringLiteral("vlpl"));
}

// clang-format off
const HelpPage kVlplHelp = {{
    {1, "vlpl"},
    {3,
"Shows the current playlist.  While the playlist is visible, the following keys can be        "
"pressed:"},
    {6, "* Enter  - plays the track displayed at the top of the screen"},
    {7, "* F9     - pause/resume"},
    {8, "* F11    - start playing previous track"},
    {9, "* F12    - start playing next track"},
    {10, "* [      - rewind track by 10 seconds"},
    {11, "* ]      - fast-forward track by 10 seconds"},
    {12, "* Escape - exit playlist mode"}}};
// clang-format on

void cmdVlpl(Session &s, const CommandArgs &)
{
    QString text = kPlaylistHeader;
    for (int i = 0; i < Playlist::kCapacity && !s.playlist[i].artist.isEmpty(); ++i)
        text += TDetails(s.vld, s.playlist[i].artist, s.playlist[i].track);
    s.pager.plView = true;
    s.pager.mline(text);
}

const HelpPage kVlplayHelp = {
    {{1, "vlplay"},
     {3, "Plays the playlist from its first track, or resumes the track that is paused."}}};

void cmdVlplay(Session &s, const CommandArgs &)
{
    s.players.play();
}

const HelpPage kVlpauseHelp = {
    {{1, "vlpause"}, {3, "Pauses the playlist, or resumes it when it is paused."}}};

void cmdVlpause(Session &s, const CommandArgs &)
{
    MediaPlayer &player = s.players.inUse();
    if (player.playState() == MediaPlayer::kPaused)
        player.play();
    else
        player.pause();
}

const HelpPage kVlresetHelp = {{{1, "vlreset"}, {3, "Stops the playlist and empties it."}}};

void cmdVlreset(Session &s, const CommandArgs &)
{
    s.resetPlaylist();
}

// clang-format off
const HelpPage kVlvolHelp = {{
    {1, "vlvol [<0..100>]"},
    {3,
"Sets the volume of the playlist, from 0 (silent) to 100 (full), kept for the next runs.  Use "
"with no argument to show it."}}};
// clang-format on

void cmdVlvol(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.console.DrawText(QStringLiteral("The playlist volume is %1.").arg(s.opt.playerVolume()),
                           1);
        return;
    }
    const std::optional<int> volume = Options::volumeFromText(args.allArgs);
    if (!volume) {
        s.console.DrawText(QStringLiteral("Usage: vlvol [0..100]"), 1);
        return;
    }
    s.setPlaylistVolume(*volume);
    s.console.DrawText(QStringLiteral("The playlist volume is set to %1.").arg(*volume), 1);
}

const HelpPage kVldetailsHelp = {
    {{1, "vldetails"},
     {3, "Switches the display of the track now playing, with its time, on or off."}}};

void cmdVldetails(Session &s, const CommandArgs &)
{
    QString &show = s.opt[Options::ShowNowPlaying];
    show = show.isEmpty() ? QStringLiteral("1") : QString();
    s.console.ClScreen();
}

} // namespace

int PLCount(const Session &s)
{
    const std::optional<double> reset = Numeric::parse(s.opt[Options::ResetBeforeSearch]);
    if (reset && *reset == 1)
        return 0;
    const int count = s.playlist.count();
    return count == Playlist::kCapacity ? 0 : count;
}

void RandomizeList(Session &s, int minItem, bool shuffleAnyway)
{
    if (!shuffleAnyway && s.opt[Options::RandomPlaylists] != u"1")
        return;
    QRandomGenerator random(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    const int last = s.playlist.count() - 1;
    for (int i = std::max(minItem, 0); i < last; ++i) {
        const int j = i + static_cast<int>(random.bounded(last - i + 1));
        std::swap(s.playlist[i], s.playlist[j]);
    }
}

void registerPlaylistCommands(CommandTable &table)
{
    table.add(QStringLiteral("shuffle"), cmdShuffle, kShuffleHelp);
    table.add(QStringLiteral("randpl"), cmdRandpl, kRandplHelp);
    table.add(QStringLiteral("rpas"), cmdRpas, kRpasHelp);
    table.add(QStringLiteral("addat"), cmdAddat, kAddatHelp);
    table.add(QStringLiteral("vlpl"), cmdVlpl, kVlplHelp);
    table.add(QStringLiteral("vlplay"), cmdVlplay, kVlplayHelp);
    table.add(QStringLiteral("vlpause"), cmdVlpause, kVlpauseHelp);
    table.add(QStringLiteral("vlreset"), cmdVlreset, kVlresetHelp);
    table.add(QStringLiteral("vldetails"), cmdVldetails, kVldetailsHelp);
    table.add(QStringLiteral("vlvol"), cmdVlvol, kVlvolHelp);
}
