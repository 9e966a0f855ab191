#include "library/Id3Commands.h"

#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "library/DatabaseFiles.h"
#include "formats/GenreNames.h"
#include "library/ID3Reader.h"
#include "session/Session.h"

namespace {

// The file id3 shows: the current playlist track with no argument, the track of an artist and
// track number, else the argument as a path. The conversions and the database lookup raise
// their run-time errors (no database, no track number, an empty playlist entry).
QString id3File(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        const Playlist::Entry &entry = s.playlist[s.playlist.plIndex];
        const qint16 artist = Numeric::toInteger(entry.artist);
        return vldFN(s.loadedDatabase(), artist, Numeric::toInteger(entry.track));
    }
    if (Numeric::isNumeric(args.arg1)) {
        const qint16 artist = Numeric::toInteger(args.arg1);
        return vldFN(s.loadedDatabase(), artist, Numeric::toInteger(args.rest));
    }
    return args.allArgs;
}

// clang-format off
const HelpPage kId3Help = {{
    {1, "id3 [<artist number> <track number>/<mp3 filename>]"},
    {3,
"Shows the id3v1 tag of mp3 files.  Without arguments the currently playing track's details   "
"are displayed.  You can specify the artist and track numbers to show details for another     "
"track in the Velmora database or you can specify a filename of any other .mp3 file."},
    {7,
"The details shown may not necessarily be the same as the details held for the track in the   "
"Velmora database."}}};
// clang-format on

void cmdId3(Session &s, const CommandArgs &args)
{
    const QString f = id3File(s, args);
    if (!s.PWAD.FileExists(f)) {
        s.ErorMsg(Msg::fileDoesNotExist(f), 2);
        return;
    }
    ID3Reader tag;
    tag.setFilename(f);
    Console &c = s.console;
    c.DrawText(QStringLiteral("ID3v1 tag information for: '") + f + QStringLiteral("':"), 1);
    c.DrawText(QStringLiteral("Title: ") + tag.title(), 4);
    c.DrawText(QStringLiteral("Artist: ") + tag.artist(), 6);
    c.DrawText(QStringLiteral("Album: ") + tag.album(), 8);
    c.DrawText(QStringLiteral("Year: ") + tag.year(), 10);
    // A genre byte above 150 (255 is the usual "none") has no entry: the error ends it here.
    c.DrawText(QStringLiteral("Genre: ") + s.genres.entry(tag.genre()), 12);
    c.DrawText(QStringLiteral("Comments:"), 14);
    c.DrawText(tag.comment(), 16);
}

const HelpPage kListgenresHelp = {
    {{1, "listgenres"},
     {3, "Lists the genres with their genre numbers, for use with the pgenren command."}}};

void cmdListgenres(Session &s, const CommandArgs &)
{
    QString text = QStringLiteral("Genre List\r\n\r\n");
    for (int n = 0; n < kGenreCount; ++n)
        text += s.genres.entry(n) + QStringLiteral("\r\n");
    s.pager.mline(text);
}

} // namespace

void registerId3Commands(CommandTable &table)
{
    table.add(QStringLiteral("id3"), cmdId3, kId3Help);
    table.add(QStringLiteral("listgenres"), cmdListgenres, kListgenresHelp);
}
