#include "player/PlaylistBuilderCommands.h"

#include "foundation/NumericText.h"
#include "library/CatalogueReader.h"
#include "player/PlaylistCommands.h"
#include "session/Session.h"

namespace {

// Writes a search's tracks into the playlist from PLCount on. The table's end stops the
// search: what fits is kept, and the rest of the frame runs on the full list.
class Filler
{
public:
    explicit Filler(Session &s) : start(PLCount(s)), m_playlist(s.playlist), m_next(start) {}

    // Stores one entry; false once the table is full, so the search stops.
    bool add(const QString &artist, const QString &track)
    {
        if (m_next >= Playlist::kCapacity)
            return false;
        Playlist::Entry &entry = m_playlist[m_next++];
        entry.artist = artist;
        entry.track = track;
        return m_next < Playlist::kCapacity;
    }
    // Every item of a batch's contents, the texts as stored.
    bool addBatch(const QString &contents)
    {
        return forEachBatchItem(contents, [this](QStringView artist, QStringView track) {
            return add(artist.toString(), track.toString());
        });
    }

    const int start;

private:
    Playlist &m_playlist;
    int m_next;
};

using Search = void (*)(Session &s, const QString &argument, Filler &fill);

// The frame every search builder shares: reset or append as rpas says, the search, the new
// part shuffled as randpl says, playing started when the list was new or nothing was loaded,
// the view shown, and the builder's own line kept as the last command instead of "vlpl".
// A failure ends the command where it happens, what was done staying done.
void build(Session &s, const CommandArgs &args, Search search)
{
    const std::optional<double> reset = Numeric::parse(s.opt[Options::ResetBeforeSearch]);
    if (reset == 1.0)
        s.resetPlaylist();
    Filler fill(s);
    search(s, args.allArgs, fill);
    if (reset == 0.0) {
        RandomizeList(s, fill.start, false);
        if (s.players.inUse().fileName().isEmpty())
            s.players.playCurrent();
    } else {
        RandomizeList(s, 0, false);
        s.players.playCurrent();
    }
    s.exe(QStringLiteral("vlpl"));
    s.opt[Options::LastCommand] = args.word + u' ' + args.allArgs;
}

void artistsNamed(Session &s, const QString &text, Filler &fill)
{
    const Wildcard pattern = searchPattern(text);
    const qint32 artists = catalogueCount(s.vld, QStringLiteral("Artists"), s.vld.count());
    for (qint32 a = 1; a <= artists; ++a) {
        const QString artist = QString::number(a);
        if (!pattern.matchesLowered(s.vld.GetValue(QStringLiteral("Artist") + artist)))
            continue;
        // A false count stops at the table's end, so it cannot loop for long.
        const qint32 tracks = catalogueCount(s.vld, QStringLiteral("Tracks") + artist, s.vld.count());
        for (qint32 t = 1; t <= tracks; ++t)
            if (!fill.add(artist, QString::number(t)))
                return;
    }
}

void artistNumbered(Session &s, const QString &number, Filler &fill)
{
    if (!Numeric::isNumeric(number))
        return;
    const qint32 tracks = catalogueCount(s.vld, QStringLiteral("Tracks") + number, s.vld.count());
    for (qint32 t = 1; t <= tracks; ++t)
        if (!fill.add(number, QString::number(t)))
            return;
}

void genreNumbered(Session &s, const QString &genre, Filler &fill)
{
    forEachMatchingTrack(
        s.vld, u"Genre", [&](QAnyStringView value) { return QAnyStringView::equal(value, genre); },
        [&](const QString &artist, QStringView track, QAnyStringView) {
            return fill.add(artist, track.toString());
        });
}

void tracksNamed(Session &s, const QString &text, Filler &fill)
{
    const Wildcard pattern = searchPattern(text);
    forEachMatchingTrack(
        s.vld, u"Track", [&](QAnyStringView title) { return pattern.matchesLowered(title); },
        [&](const QString &artist, QStringView track, QAnyStringView) {
            return fill.add(artist, track.toString());
        });
}

void batchesNamed(Session &s, const QString &text, Filler &fill)
{
    const Wildcard pattern = searchPattern(text);
    const qint32 batches = catalogueCount(s.vld, QStringLiteral("Batches"), s.vld.count());
    for (qint32 b = 1; b <= batches; ++b) {
        const QString batch = QString::number(b);
        if (pattern.matchesLowered(s.vld.GetValue(QStringLiteral("BN") + batch)) &&
            !fill.addBatch(s.vld.GetValue(QStringLiteral("BC") + batch)))
            return;
    }
}

void batchNumbered(Session &s, const QString &number, Filler &fill)
{
    fill.addBatch(s.vld.GetValue(QStringLiteral("BC") + number));
}

// clang-format off
const HelpPage kPartistHelp = {{
    {1, "partist <search criteria>"},
    {3,
"Creates a playlist of the tracks of every artist whose name contains the search criteria."}}};
// clang-format on

void cmdPartist(Session &s, const CommandArgs &args)
{
    build(s, args, artistsNamed);
}

// clang-format off
const HelpPage kPartistnHelp = {{
    {1, "partistn <artist number>"},
    {3,
"Creates a playlist of the tracks of one artist.  See the list of artists by using the        "
"listartists command."}}};
// clang-format on

void cmdPartistn(Session &s, const CommandArgs &args)
{
    build(s, args, artistNumbered);
}

// clang-format off
const HelpPage kPgenrenHelp = {{
    {1, "pgenren"},
    {3,
"Creates a playlist based in the specified genre number.  See the list of genres by using the "
"listgenres command."}}};
// clang-format on

void cmdPgenren(Session &s, const CommandArgs &args)
{
    build(s, args, genreNumbered);
}

const HelpPage kPtrackHelp = {
    {{1, "ptrack <search criteria>"},
     {3, "Creates a playlist of every track whose name contains the search criteria."}}};

void cmdPtrack(Session &s, const CommandArgs &args)
{
    build(s, args, tracksNamed);
}

// clang-format off
const HelpPage kPbatchHelp = {{
    {1, "pbatch <search criteria>"},
    {3,
"Creates a playlist of the tracks in every batch whose name contains the search criteria."}}};
// clang-format on

void cmdPbatch(Session &s, const CommandArgs &args)
{
    build(s, args, batchesNamed);
}

// clang-format off
const HelpPage kPbatchnHelp = {{
    {1, "pbatchn <search criteria>"},
    {3,
"Creates a playlist of the tracks in the batch with the number given.  See the list of        "
"batches by using the listbatches command."}}};
// clang-format on

void cmdPbatchn(Session &s, const CommandArgs &args)
{
    build(s, args, batchNumbered);
}

// clang-format off
const HelpPage kPatHelp = {{
    {1, "pat <artist number> <track number>"},
    {3,
"Plays a track of the Velmora database at once.  The playlist is replaced by that one track."}}};
// clang-format on

void cmdPat(Session &s, const CommandArgs &args)
{
    PAT(s, args.arg1, args.rest);
}

} // namespace

void PAT(Session &s, const QString &a, const QString &t)
{
    s.resetPlaylist();
    s.playlist[0] = {a, t};
    s.players.playCurrent();
    s.console.DrawText(QStringLiteral("Playing track: "), 1);
    s.console.DrawText(a + QStringLiteral(", ") + t + QStringLiteral(": ") +
                           s.vld.GetValue(QStringLiteral("Artist") + a) + QStringLiteral(" - ") +
                           s.vld.GetValue(a + QStringLiteral("Track") + t),
                       3);
}

void registerPlaylistBuilders(CommandTable &table)
{
    const CommandTable::Facts needsDatabase{.needsDatabase = true};
    table.add(QStringLiteral("partist"), cmdPartist, kPartistHelp, needsDatabase);
    table.add(QStringLiteral("partistn"), cmdPartistn, kPartistnHelp, needsDatabase);
    table.add(QStringLiteral("pgenren"), cmdPgenren, kPgenrenHelp, needsDatabase);
    table.add(QStringLiteral("ptrack"), cmdPtrack, kPtrackHelp, needsDatabase);
    table.add(QStringLiteral("pbatch"), cmdPbatch, kPbatchHelp, needsDatabase);
    table.add(QStringLiteral("pbatchn"), cmdPbatchn, kPbatchnHelp, needsDatabase);
    table.add(QStringLiteral("pat"), cmdPat, kPatHelp, needsDatabase);
}
