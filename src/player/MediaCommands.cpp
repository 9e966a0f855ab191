#include "player/MediaCommands.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "interpreter/CommandArgs.h"
#include "session/Session.h"

#include <cfloat>
#include <cmath>

namespace {

// The pieces the argument text splits into at every comma; more than eleven is an error.
class Pieces
{
public:
    explicit Pieces(const QString &text) : m_pieces(splitCommasAtMost(text, 11)) {}
    QString operator[](int n) const { return n < m_pieces.size() ? m_pieces[n] : QString(); }
    qint32 whole(int n) const { return Numeric::toLong((*this)[n]); }
    float single(int n) const
    {
        const double value = Numeric::toDouble((*this)[n]);
        if (std::abs(value) > FLT_MAX)
            throw RuntimeError::overflow();
        return static_cast<float>(value);
    }

private:
    QStringList m_pieces;
};

// clang-format off
const HelpPage kAudioHelp = {{
    {1, "audio <repetitions>,<filename>"},
    {3,
"Plays a sound or music file the given number of times (0 repeats it until stopped), while    "
"the playlist plays on.  Use with no argument to stop it."}}};
// clang-format on

void cmdAudio(Session &s, const CommandArgs &args)
{
    MediaPlayer &player = s.players.wmp(Players::kVideoPlayer);
    if (args.allArgs.isEmpty()) {
        player.setFileName(QString());
        return;
    }
    const Pieces pieces(args.allArgs);
    player.setPlayCount(pieces.whole(0));
    player.setFileName(pieces[1]);
}

// clang-format off
const HelpPage kVideoHelp = {{
    {1, "video <repetitions>,<x>,<y>,<width>,<height>,<filename>"},
    {3,
"Plays a video file the given number of times (0 repeats it until stopped) in a window at x,y "
"of the width and height given, all in twips (15 twips = 1 pixel).  Use with no argument to   "
"close it."}}};
// clang-format on

// Each property is set in turn, so a bad piece leaves those before it in force.
void cmdVideo(Session &s, const CommandArgs &args)
{
    Players &players = s.players;
    MediaPlayer &player = players.wmp(Players::kVideoPlayer);
    Players::VideoArea area = players.videoArea();
    if (args.allArgs.isEmpty()) {
        area.visible = false;
        players.setVideoArea(area);
        player.setFileName(QString());
        return;
    }
    const Pieces pieces(args.allArgs);
    area.visible = true;
    players.setVideoArea(area);
    player.setPlayCount(pieces.whole(0));
    area.left = pieces.single(1);
    players.setVideoArea(area);
    area.top = pieces.single(2);
    players.setVideoArea(area);
    player.setFileName(pieces[5]);
    area.width = pieces.single(3);
    players.setVideoArea(area);
    area.height = pieces.single(4);
    players.setVideoArea(area);
}

} // namespace

void registerMediaCommands(CommandTable &table)
{
    table.add(QStringLiteral("audio"), cmdAudio, kAudioHelp, {.keepsScreen = true});
    table.add(QStringLiteral("video"), cmdVideo, kVideoHelp, {.keepsScreen = true});
}
