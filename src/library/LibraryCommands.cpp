#include "library/LibraryCommands.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "library/CatalogueReader.h"
#include "library/DatabaseFiles.h"
#include "library/TrackDetails.h"
#include "session/Session.h"

#include <QFileInfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The artist and track a command names, each falling back on its own to the current
// playlist entry.
std::pair<QString, QString> namedTrack(Session &s, const CommandArgs &args)
{
    const Playlist::Entry &current = s.playlist[s.playlist.plIndex];
    return {args.arg1.isEmpty() ? current.artist : args.arg1,
            args.rest.isEmpty() ? current.track : args.rest};
}

bool hasRange(const QString &reference)
{
    return !reference.isEmpty() && reference != KeyValueStore::kNotFound;
}

// TDetails for a message on one row: a line end drawn there would put control characters in
// the screen's text and split the event log's record.
QString detailsInline(const Session &s, const QString &a, const QString &t)
{
    return TDetails(s.vld, a, t).remove(kCrLf);
}

// clang-format off
const HelpPage kLoadvldHelp = {{
    {1, "loadvld <filename>"},
    {3,
"Loads a Velmora music database and empties the playlist.  The database loaded last is loaded "
"again when idrisk2k Command starts."}}};
// clang-format on

void cmdLoadvld(Session &s, const CommandArgs &args)
{
    const QString path = args.allArgs;
    if (!s.PWAD.FileExists(path)) {
        s.ErorMsg(QStringLiteral("The file '%1' does not exist").arg(path), 1);
        return;
    }
    // Playlist entries are artist and track numbers of the database they were made from.
    s.resetPlaylist();
    s.console.DrawText(QStringLiteral("Please wait while loading '%1'...").arg(path), 1, -1, 0);
    // Read in pieces: what the catalogue costs is its pairs, not its size.
    s.vld.LoadPieces([&](const auto &sink) {
        s.PWAD.ReadEntryPieces(path, QStringLiteral("VELMORAD"), 1, sink);
    });
    s.console.DrawText(QStringLiteral("Velmora Database '%1' loaded successfully").arg(path), 1, -1,
                       0);
    // Kept absolute: the next run reloads it from wherever it starts.
    s.opt[Options::Database] = QFileInfo(path).absoluteFilePath();
}

// clang-format off
const HelpPage kShowvldHelp = {{
    {1, "showvld"},
    {3,
"Shows the internal index of the loaded Velmora database.  This could take a few minutes."}}};
// clang-format on

void cmdShowvld(Session &s, const CommandArgs &)
{
    s.console.DrawText(QStringLiteral("Please wait (this could take a few minutes)..."), 1, -1, 0);
    const QString all = s.vld.ListAll();
    PagerText page;
    for (qsizetype start = 0; start < all.size();) {
        const qsizetype end = all.indexOf(kCrLf, start) + 2; // every line ends with CR LF
        if (!page.add(QStringView(all).sliced(start, end - start)))
            break;
        start = end;
    }
    s.pager.mline(page.text());
}

// listartists and listbatches: "i: name" for i = 1 to the count.
void listNames(Session &s, const QString &countKey, const QString &nameKey)
{
    const qint32 count = catalogueCount(s.vld, countKey, s.vld.count());
    PagerText page;
    QString decoded;
    for (qint32 i = 1; i <= count; ++i) {
        const QString number = QString::number(i);
        if (!page.add(number + QStringLiteral(": ") +
                      shownValue(s.vld.valueView(nameKey + number, decoded)) + kCrLf))
            break;
    }
    s.pager.mline(page.text());
}

const HelpPage kListartistsHelp = {
    {{1, "listartists"},
     {3, "Lists the artists in the Velmora database with their artist numbers."}}};

void cmdListartists(Session &s, const CommandArgs &)
{
    listNames(s, QStringLiteral("Artists"), QStringLiteral("Artist"));
}

// clang-format off
const HelpPage kListbatchesHelp = {{
    {1, "listbatches"},
    {3,
"Lists the batches (named lists of tracks) in the Velmora database with their batch numbers."}}};
// clang-format on

void cmdListbatches(Session &s, const CommandArgs &)
{
    listNames(s, QStringLiteral("Batches"), QStringLiteral("BN"));
}

// clang-format off
const HelpPage kSartistHelp = {{
    {1, "sartist <search criteria>"},
    {3,
"Searches the Velmora database for artists whose names contain the search criteria."}}};
// clang-format on

void cmdSartist(Session &s, const CommandArgs &args)
{
    const Wildcard pattern = searchPattern(args.allArgs);
    PagerText page;
    page.add(QStringLiteral("Search results for artist '%1':").arg(args.allArgs) + kCrLf + kCrLf);
    const qint32 artists = catalogueCount(s.vld, QStringLiteral("Artists"), s.vld.count());
    QString decoded;
    for (qint32 a = 1; a <= artists && !page.full(); ++a) {
        const QString number = QString::number(a);
        const QAnyStringView name = s.vld.valueView(QStringLiteral("Artist") + number, decoded);
        if (pattern.matchesLowered(name.isNull() ? QAnyStringView(KeyValueStore::kNotFound) : name))
            page.add(number + QStringLiteral(": ") + shownValue(name) + kCrLf);
    }
    s.pager.mline(page.text());
}

const HelpPage kStrackHelp = {
    {{1, "strack <search criteria>"},
     {3, "Searches the Velmora database for tracks whose names contain the search criteria."}}};

void cmdStrack(Session &s, const CommandArgs &args)
{
    const Wildcard pattern = searchPattern(args.allArgs);
    PagerText page;
    page.add(QStringLiteral("Search results for track '%1':").arg(args.allArgs) + kCrLf + kCrLf);
    // Each line from the title the search found and its artist's name, looked up once for
    // the artist's hits, which come together.
    QString named;
    QString name;
    forEachMatchingTrack(
        s.vld, u"Track", [&](QAnyStringView title) { return pattern.matchesLowered(title); },
        [&](const QString &artist, QStringView track, QAnyStringView title) {
            if (artist != named) {
                named = artist;
                name = s.vld.GetValue(QStringLiteral("Artist") + artist);
            }
            page.add(trackLine(artist, track, name, title));
            return !page.full();
        });
    s.pager.mline(page.text());
}

// clang-format off
const HelpPage kDbatchHelp = {{
    {1, "dbatch <batch number>"},
    {3,
"Shows the tracks in a batch of the Velmora database.  See the list of batches by using the   "
"listbatches command."}}};
// clang-format on

void cmdDbatch(Session &s, const CommandArgs &args)
{
    const QString batch = args.allArgs;
    PagerText page;
    page.add(QStringLiteral("Contents of batch '%1':")
                 .arg(s.vld.GetValue(QStringLiteral("BN") + batch)) +
             kCrLf + kCrLf);
    const QString contents = s.vld.GetValue(QStringLiteral("BC") + batch);
    forEachBatchItem(contents, [&](QStringView artist, QStringView track) {
        page.add(TDetails(s.vld, artist.toString(), track.toString()));
        return !page.full();
    });
    s.pager.mline(page.text());
}

// lyrics and notes: the text a range reference points at, under a heading.
void showTrackText(Session &s, const CommandArgs &args, const QString &field,
                   const QString &noneSet, const QString &heading)
{
    const auto [a, t] = namedTrack(s, args);
    const QString reference = s.vld.GetValue(a + field + t);
    if (!hasRange(reference)) {
        s.ErorMsg(noneSet + detailsInline(s, a, t), 1);
        return;
    }
    const QString text = rangeText(s.loadedDatabase(), reference);
    s.pager.mline(heading + TDetails(s.vld, a, t) + kCrLf + text);
}

// clang-format off
const HelpPage kLyricsHelp = {{
    {1, "lyrics [<artist number> <track number>]"},
    {3,
"Shows the lyrics of a track in the Velmora database.  Without arguments the lyrics of the    "
"current track in the playlist are shown."},
    {6,
"The artist number alone (e.g. 'lyrics 5') takes the track number of the current track."}}};
// clang-format on

void cmdLyrics(Session &s, const CommandArgs &args)
{
    showTrackText(s, args, QStringLiteral("Lyrics"), QStringLiteral("No lyrics have been set for "),
                  QStringLiteral("Lyrics for "));
}

// clang-format off
const HelpPage kNotesHelp = {{
    {1, "notes [<artist number> <track number>]"},
    {3,
"Shows the notes of a track in the Velmora database.  Without arguments the notes of the      "
"current track in the playlist are shown."},
    {6,
"The artist number alone (e.g. 'notes 5') takes the track number of the current track."}}};
// clang-format on

void cmdNotes(Session &s, const CommandArgs &args)
{
    showTrackText(s, args, QStringLiteral("Notes"), QStringLiteral("No notes have been set for "),
                  QStringLiteral("Notes for "));
}

// clang-format off
const HelpPage kTrackinfoHelp = {{
    {1, "trackinfo [<artist number> <track number>]"},
    {3,
"Shows all the details of a track in the Velmora database, its lyrics and notes included.     "
"Without arguments the details of the current track in the playlist are shown."}}};
// clang-format on

void cmdTrackinfo(Session &s, const CommandArgs &args)
{
    const auto [a, t] = namedTrack(s, args);
    const auto value = [&](const QString &field) { return s.vld.GetValue(a + field + t); };
    const QString gap = kCrLf + kCrLf;
    QString page = QStringLiteral("Details for ") + detailsInline(s, a, t) + u':' + gap;
    page += QStringLiteral("Artist: ") + s.vld.GetValue(QStringLiteral("Artist") + a) + gap;
    page += QStringLiteral("Track name: ") + value(QStringLiteral("Track")) + gap;
    page += QStringLiteral("Genre: ") +
            s.genres.entry(Numeric::toLong(value(QStringLiteral("Genre")))) + gap;
    page += QStringLiteral("Date: ") + value(QStringLiteral("Date")) + gap;
    const QString file = value(QStringLiteral("Filename"));
    page += QStringLiteral("Filename: ") +
            (file.startsWith(u'L') ? file.mid(1) : QStringLiteral("(Embedded in database)")) + gap;
    const QString lyrics = value(QStringLiteral("Lyrics"));
    page += QStringLiteral("Lyrics:") + gap +
            (hasRange(lyrics) ? rangeText(s.loadedDatabase(), lyrics)
                              : QStringLiteral("No lyrics have been set for this track")) +
            gap;
    const QString notes = value(QStringLiteral("Notes"));
    page += QStringLiteral("Notes:") + gap +
            (hasRange(notes) ? rangeText(s.loadedDatabase(), notes)
                             : QStringLiteral("No notes have been set for this track") + gap);
    s.pager.mline(page);
}

} // namespace

void registerLibraryCommands(CommandTable &table)
{
    table.add(QStringLiteral("loadvld"), cmdLoadvld, kLoadvldHelp);
    table.add(QStringLiteral("showvld"), cmdShowvld, kShowvldHelp);
    const CommandTable::Facts needsDatabase{.needsDatabase = true};
    table.add(QStringLiteral("listartists"), cmdListartists, kListartistsHelp, needsDatabase);
    table.add(QStringLiteral("listbatches"), cmdListbatches, kListbatchesHelp, needsDatabase);
    table.add(QStringLiteral("sartist"), cmdSartist, kSartistHelp, needsDatabase);
    table.add(QStringLiteral("strack"), cmdStrack, kStrackHelp, needsDatabase);
    table.add(QStringLiteral("dbatch"), cmdDbatch, kDbatchHelp, needsDatabase);
    table.add(QStringLiteral("trackinfo"), cmdTrackinfo, kTrackinfoHelp, needsDatabase);
    table.add(QStringLiteral("lyrics"), cmdLyrics, kLyricsHelp, needsDatabase);
    table.add(QStringLiteral("notes"), cmdNotes, kNotesHelp, needsDatabase);
}
