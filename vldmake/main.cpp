// vldmake: makes a music database for i2kCmd from folders of audio files.

#include "DatabaseMaker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int kWritten = 0;
constexpr int kNothingWritten = 1;
constexpr int kUsage = 2;

const char kSynopsis[] = "vldmake [--embed] [--force] [--progress] OUT.vld FOLDER...\n";

const char kHelp[] = R"HELP(NAME
    vldmake - make a music database for i2kCmd

SYNOPSIS
    vldmake [--embed] [--force] [--progress] OUT.vld FOLDER...
    vldmake --help

DESCRIPTION
    Walks each FOLDER and every folder below it and writes one database, OUT.vld, that
    i2kCmd loads with "loadvld OUT.vld".

    Tracks are the files ending in .mp3, .ogg, .oga, .opus, .flac, .m4a or .wav (in any
    letter case). Their tags give the artist, the title, the genre, the year, the lyrics
    and a comment, which becomes the track's notes. A track without an artist takes its
    folder's name; one without a title, its file name without the extension. Genres are
    numbered as in ID3v1 tags ("Rock", "rock", "(17)" and "17" are all 17); any other genre
    is 12, "Other".

    Lyrics and notes may also lie beside a track as NAME.lyrics.txt and NAME.notes.txt,
    where NAME is the track's file name without its extension; such a file wins over the
    tag.

    Each .m3u or .m3u8 playlist found becomes a batch named after the playlist's file.
    Relative entries are read from the playlist's folder; lines starting with "#" are
    passed over, and so are entries that name no track of the database (with a warning).

    Artists are numbered in the order of their names, the tracks of each artist in the
    order of their file names, where numbers in names count by value ("2" before "10").

    A file that cannot be read as audio is passed over with a warning on standard error.
    The database is written through a temporary file beside OUT.vld and put in place only
    when complete, so a failure leaves nothing behind. On success a summary is printed on
    standard output: artists, tracks, batches, bytes and seconds.

OPTIONS
    --embed
        Copy the track files into the database, so that it is one self-contained file.
        Without it the database names each file by its absolute path, and the files must
        stay where they are. An embedded database can hold at most 2 GiB.
    --force
        Replace OUT.vld when it exists and is a database. Without it an existing file
        is left alone; a file that is no database (a track, say) is never replaced.
    --progress
        Show on standard error how many files have been read, updated on one line.
    --help
        Show this text.

FILES
    OUT.vld
        The database: an ITVL archive whose VELMORAD entry holds the catalogue. Its
        layout is described in i2kCmd's docs/formats.md.
    NAME.lyrics.txt, NAME.notes.txt
        Lyrics and notes beside a track, UTF-8 (Windows-1252 is read too).
    *.m3u, *.m3u8
        Playlists, which become batches.

EXIT STATUS
    0   the database was written
    1   nothing was written: a folder is missing, OUT.vld exists (without --force, or
        is no database), no readable track was found, or the database could not be
        written
    2   the command line is wrong

EXAMPLES
    vldmake ~/music.vld ~/Music
        Catalogue ~/Music, linking the files where they are.
    vldmake --embed --force party.vld ~/Music/Party ~/Downloads/Mixes
        One self-contained database of two folders, replacing party.vld.
)HELP";

int usageError(const QString &message)
{
    std::fprintf(stderr, "vldmake: %s\nusage: %s(vldmake --help tells more)\n", qPrintable(message),
                 kSynopsis);
    return kUsage;
}

// One line on standard error, rewritten in place at most every tenth of a second.
class ProgressLine
{
public:
    void show(qsizetype done, qsizetype total)
    {
        if (done != total && m_clock.isValid() && m_clock.elapsed() < 100)
            return;
        m_clock.start();
        std::fprintf(stderr, "\rReading %lld of %lld files", static_cast<long long>(done),
                     static_cast<long long>(total));
        std::fflush(stderr);
        m_open = true;
    }
    // Ends the line before anything else is written to standard error.
    void close()
    {
        if (m_open)
            std::fputc('\n', stderr);
        m_open = false;
    }

private:
    QElapsedTimer m_clock;
    bool m_open = false;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    DatabaseMaker::Request request;
    bool progress = false;
    QStringList paths;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            paths.append(argument);
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"--help" || argument == u"-h") {
            std::fputs(kHelp, stdout);
            return kWritten;
        } else if (argument == u"--embed") {
            request.embed = true;
        } else if (argument == u"--force") {
            request.force = true;
        } else if (argument == u"--progress") {
            progress = true;
        } else {
            return usageError(QStringLiteral("unknown option %1").arg(argument));
        }
    }
    if (paths.size() < 2)
        return usageError(paths.isEmpty() ? QStringLiteral("no database and no folder given")
                                          : QStringLiteral("no folder given"));
    request.output = paths.takeFirst();
    request.folders = paths;

    QElapsedTimer clock;
    clock.start();
    ProgressLine line;
    const auto warn = [&](const QString &text) {
        line.close();
        std::fprintf(stderr, "vldmake: warning: %s\n", qPrintable(text));
    };
    DatabaseMaker::Progress onProgress;
    if (progress)
        onProgress = [&](qsizetype done, qsizetype total) { line.show(done, total); };
    try {
        const DatabaseMaker::Summary s = DatabaseMaker::make(request, warn, onProgress);
        line.close();
        std::printf("%s: %d artist%s, %d track%s, %d batch%s, %lld bytes, %.2f seconds\n",
                    qPrintable(request.output), s.artists, s.artists == 1 ? "" : "s", s.tracks,
                    s.tracks == 1 ? "" : "s", s.batches, s.batches == 1 ? "" : "es",
                    static_cast<long long>(s.bytes), clock.elapsed() / 1000.0);
        return kWritten;
    } catch (const DatabaseMaker::Failure &failure) {
        line.close();
        std::fprintf(stderr, "vldmake: %s; nothing written\n", qPrintable(failure.message));
        return kNothingWritten;
    }
}
