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

void cmdListartists(Session &s, const CommandArgs &)
{
    listNames(s, QStringLiteral("Artists"), QStringLiteral("Artist"));
}

void cmdListbatches(Session &s, const CommandArgs &)
{
    listNames(s, QStringLiteral("Batches"), QStringLiteral("BN"));
}

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

void cmdStrack(Session &s, const CommandArgs &args)
{
    const Wildcard pattern = searchPattern(args.allArgs);
    PagerText page;
    page.add(QStringLiteral("Search results for track '%1':").arg(args.allArgs) + kCrLf + kCrLf);
    forEachMatchingTrack(
        s.vld, u"Track", [&](QAnyStringView title) { return pattern.matchesLowered(title); },
        [&](const QString &artist, QStringView track) {
            page.add(TDetails(s.vld, artist, track.toString()));
            return !page.full();
        });
    s.pager.mline(page.text());
}

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

void cmdLyrics(Session &s, const CommandArgs &args)
{
    showTrackText(s, args, QStringLiteral("Lyrics"), QStringLiteral("No lyrics have been set for "),
                  QStringLiteral("Lyrics for "));
}

void cmdNotes(Session &s, const CommandArgs &args)
{
    showTrackText(s, args, QStringLiteral("Notes"), QStringLiteral("No notes have been set for "),
                  QStringLiteral("Notes for "));
}

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
    table.add(QStringLiteral("loadvld"), cmdLoadvld);
    table.add(QStringLiteral("showvld"), cmdShowvld);
    const CommandTable::Facts needsDatabase{.needsDatabase = true};
    table.add(QStringLiteral("listartists"), cmdListartists, needsDatabase);
    table.add(QStringLiteral("listbatches"), cmdListbatches, needsDatabase);
    table.add(QStringLiteral("sartist"), cmdSartist, needsDatabase);
    table.add(QStringLiteral("strack"), cmdStrack, needsDatabase);
    table.add(QStringLiteral("dbatch"), cmdDbatch, needsDatabase);
    table.add(QStringLiteral("trackinfo"), cmdTrackinfo, needsDatabase);
    table.add(QStringLiteral("lyrics"), cmdLyrics, needsDatabase);
    table.add(QStringLiteral("notes"), cmdNotes, needsDatabase);
}
