#include "DatabaseMaker.h"

#include "CatalogueText.h"
#include "FolderScan.h"
#include "Playlist.h"
#include "TrackTags.h"

#include "foundation/Messages.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "formats/Archive.h"
#include "formats/ArchiveWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <atomic>
#include <limits>
#include <map>
#include <numeric>
#include <optional>
#include <thread>
#include <vector>

namespace DatabaseMaker {

namespace {

// The program reads references and numbers as 32-bit and 16-bit integers.
constexpr qint64 kMaxReference = std::numeric_limits<qint32>::max();
constexpr int kMaxNumber = std::numeric_limits<qint16>::max();

struct Track
{
    // Once the archive holds the texts and files, path, lyrics and notes are replaced by the
    // catalogue's references to them.
    QString path;
    QString fileName;
    QString artist;
    QString title;
    int genre = 12;
    int year = 0;
    QString lyrics;
    QString notes;
};

struct Artist
{
    QString name;
    std::vector<Track> tracks;
};

QString errorText(const RuntimeError &error)
{
    return Msg::errorText(error.description(), error.number());
}

// A side text when there is one (it wins over the tag: it is what the user put beside the
// track), else the embedded text.
QString sideText(const QHash<QString, QString> &files, const QString &key, const QString &embedded,
                 const Warn &warn)
{
    const auto it = files.constFind(key);
    if (it == files.cend())
        return embedded;
    try {
        return TextFile::read(*it).trimmed();
    } catch (const RuntimeError &error) {
        warn(QStringLiteral("%1: not read (%2)").arg(*it, errorText(error)));
        return embedded;
    }
}

void checkRequest(const Request &request)
{
    for (const QString &folder : request.folders)
        if (!QFileInfo(folder).isDir())
            throw Failure{QStringLiteral("%1: not a folder").arg(folder)};
    const QFileInfo out(request.output);
    if (out.isDir())
        throw Failure{QStringLiteral("%1: is a folder").arg(request.output)};
    // --force replaces an old database only: an output mistyped as one of the tracks, or as
    // any other file, would be lost for good.
    if (out.exists() && !Archive().IsArchive(request.output))
        throw Failure{
            QStringLiteral("%1 exists and is no database; not replaced, even with --force")
                .arg(request.output)};
    if ((out.exists() || out.isSymLink()) && !request.force)
        throw Failure{QStringLiteral("%1 exists; --force replaces it").arg(request.output)};
}

// One audio file's track, or nothing when it cannot be read; the warnings it gave.
struct ReadResult
{
    std::optional<Track> track;
    QStringList warnings;
};

ReadResult readTrack(const FolderScan::Found &found, const QString &path)
{
    ReadResult result;
    const Warn warn = [&](const QString &text) { result.warnings.append(text); };
    QString problem;
    if (const auto tags = readTrackTags(path, problem)) {
        const QFileInfo info(path);
        const QString key = FolderScan::sideKey(path);
        Track track;
        track.path = path;
        track.fileName = info.fileName();
        track.artist = tags->artist.isEmpty() ? info.absoluteDir().dirName() : tags->artist;
        track.title = tags->title.isEmpty() ? info.completeBaseName() : tags->title;
        track.genre = tags->genre;
        track.year = tags->year;
        track.lyrics = sideText(found.lyricsFiles, key, tags->lyrics, warn);
        track.notes = sideText(found.notesFiles, key, tags->notes, warn);
        result.track = std::move(track);
    } else {
        warn(QStringLiteral("%1: skipped (%2)").arg(path, problem));
    }
    return result;
}

int threadCount(int asked)
{
    return asked > 0 ? asked : int(std::max(1u, std::thread::hardware_concurrency()));
}

// Reading the tags is most of the work, and each file is read on its own: the files are
// shared out among the threads, each taking the next one not yet taken. Every result keeps
// its file's place, so the tracks and the warnings come out in the order of the files
// whatever the threads did.
std::vector<std::optional<Track>> readTracks(const FolderScan::Found &found, int threads,
                                            const Warn &warn, const Progress &progress)
{
    const qsizetype total = found.audioFiles.size();
    std::vector<ReadResult> results(size_t(total), ReadResult{});
    std::atomic<qsizetype> next{0};
    std::atomic<qsizetype> done{0};
    qsizetype reported = 0;
    const auto work = [&](bool reports) {
        for (qsizetype i = next++; i < total; i = next++) {
            results[size_t(i)] = readTrack(found, found.audioFiles[i]);
            const qsizetype finished = ++done;
            if (reports && progress)
                progress(reported = finished, total);
        }
    };
    {
        // This thread works too, and is the one that reports progress.
        std::vector<std::jthread> helpers;
        for (int n = 1; n < threads && n < total; ++n)
            helpers.emplace_back(work, false);
        work(true);
    }
    // The last files may have been finished by a helper after this thread's last report.
    if (progress && reported != total)
        progress(total, total);

    std::vector<std::optional<Track>> tracks(results.size());
    for (size_t i = 0; i < results.size(); ++i) {
        for (const QString &text : std::as_const(results[i].warnings))
            warn(text);
        tracks[i] = std::move(results[i].track);
        results[i] = ReadResult{};
    }
    return tracks;
}

// The files (given in the natural order of their paths) in the order of their file names,
// ties in the order of the paths: the order of each artist's tracks. It needs no tags, so it
// is made while the tags are read.
std::vector<qsizetype> byFileName(const QStringList &paths)
{
    std::vector<QStringView> names;
    names.reserve(size_t(paths.size()));
    for (const QString &path : paths)
        names.push_back(QStringView(path).sliced(path.lastIndexOf(u'/') + 1));
    std::vector<qsizetype> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return FolderScan::naturalLess(names[size_t(a)], names[size_t(b)]);
    });
    return order;
}

// Artists in the natural order of their names (names that differ only in letter case are one
// artist, named as its first track has it), tracks in the order of their file names.
std::vector<Artist> groupByArtist(std::vector<std::optional<Track>> byFile,
                                  const std::vector<qsizetype> &order)
{
    QHash<QString, size_t> index;
    std::vector<Artist> artists;
    for (qsizetype i : order) {
        if (!byFile[size_t(i)])
            continue;
        Track &track = *byFile[size_t(i)];
        const QString key = track.artist.toCaseFolded();
        auto it = index.constFind(key);
        if (it == index.cend()) {
            it = index.insert(key, artists.size());
            artists.push_back({track.artist, {}});
        }
        artists[*it].tracks.push_back(std::move(track));
    }
    std::stable_sort(artists.begin(), artists.end(), [](const Artist &a, const Artist &b) {
        return FolderScan::naturalLess(a.name, b.name);
    });
    return artists;
}

// Where each track was numbered, by its path; linked paths of other spellings (through
// links, "..") are matched on their canonical path, looked up only when needed.
class TrackIndex
{
public:
    explicit TrackIndex(const std::vector<Artist> &artists)
    {
        for (size_t a = 0; a < artists.size(); ++a)
            for (size_t t = 0; t < artists[a].tracks.size(); ++t)
                m_byPath.insert(artists[a].tracks[t].path,
                                QStringLiteral("{%1_%2}").arg(a + 1).arg(t + 1));
    }

    QString find(const QString &path)
    {
        if (const auto it = m_byPath.constFind(path); it != m_byPath.cend())
            return *it;
        if (!m_canonicalReady) {
            for (auto it = m_byPath.cbegin(); it != m_byPath.cend(); ++it)
                m_byCanonical.insert(QFileInfo(it.key()).canonicalFilePath(), it.value());
            m_canonicalReady = true;
        }
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? QString() : m_byCanonical.value(canonical);
    }

private:
    QHash<QString, QString> m_byPath;
    QHash<QString, QString> m_byCanonical;
    bool m_canonicalReady = false;
};

struct Batch
{
    QString name;
    QString contents;
};

std::vector<Batch> readBatches(const QStringList &playlists, TrackIndex &index, const Warn &warn)
{
    std::vector<Batch> batches;
    for (const QString &playlist : playlists) {
        QStringList entries;
        try {
            entries = Playlist::entries(playlist);
        } catch (const RuntimeError &error) {
            warn(QStringLiteral("%1: skipped (%2)").arg(playlist, errorText(error)));
            continue;
        }
        Batch batch{Playlist::batchName(playlist), {}};
        for (const QString &entry : entries) {
            const QString group = index.find(entry);
            if (group.isEmpty())
                warn(QStringLiteral("%1: %2 is no track of the database; left out")
                         .arg(playlist, entry));
            else
                batch.contents += group;
        }
        batches.push_back(std::move(batch));
    }
    return batches;
}

// The key of a track's field: artist number, field word, track number ("12Track3"); a and t
// count from 0 here.
QString trackKey(size_t a, QStringView field, size_t t)
{
    QString key = QString::number(a + 1);
    key += field;
    key += QString::number(t + 1);
    return key;
}

QString rangeReference(quint64 offset, qsizetype length)
{
    return QStringLiteral("E%1|%2").arg(offset).arg(length);
}

void checkReference(quint64 offset, qint64 length)
{
    if (offset + quint64(length) > quint64(kMaxReference))
        throw Failure{QStringLiteral(
            "the database would pass 2 GiB, more than its references can point into; "
            "link the tracks (leave out --embed) or make several databases")};
}

} // namespace

QString withCrLf(const QString &text)
{
    QString lf = text;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lf.replace(u'\r', u'\n');
    return lf.replace(u'\n', QStringLiteral("\r\n"));
}

Summary make(const Request &request, const Warn &warn, const Progress &progress)
{
    checkRequest(request);
    FolderScan::Found found = FolderScan::scan(request.folders);
    if (found.audioFiles.isEmpty())
        throw Failure{QStringLiteral("no audio files found")};
    std::vector<qsizetype> order;
    std::vector<std::optional<Track>> read;
    {
        const std::jthread ordering([&] { order = byFileName(found.audioFiles); });
        read = readTracks(found, threadCount(request.threads), warn, progress);
    }
    std::vector<Artist> artists = groupByArtist(std::move(read), order);
    found.audioFiles = {};
    if (artists.empty())
        throw Failure{QStringLiteral("no readable audio files")};
    if (artists.size() > size_t(kMaxNumber))
        throw Failure{QStringLiteral("more than %1 artists").arg(kMaxNumber)};
    for (const Artist &artist : artists)
        if (artist.tracks.size() > size_t(kMaxNumber))
            throw Failure{QStringLiteral("more than %1 tracks by %2")
                              .arg(QString::number(kMaxNumber), artist.name)};
    std::vector<Batch> batches;
    if (!found.playlists.isEmpty()) {
        TrackIndex index(artists);
        batches = readBatches(found.playlists, index, warn);
    }

    const int threads = threadCount(request.threads);
    Summary summary;
    try {
        ArchiveWriter archive(request.output);
        // The texts first, while offsets are small; the tracks after them; the catalogue,
        // which points at both, last. Each track keeps what the catalogue will say of its
        // texts and of its file.
        const auto addText = [&](const QString &entry, const QString &text) {
            if (text.isEmpty())
                return QString();
            const QByteArray bytes = TextFile::encode(withCrLf(text));
            const quint64 offset = archive.addBytes(entry, bytes);
            checkReference(offset, bytes.size());
            return rangeReference(offset, bytes.size());
        };
        for (size_t a = 0; a < artists.size(); ++a) {
            const QString number = QString::number(a + 1);
            for (size_t t = 0; t < artists[a].tracks.size(); ++t) {
                Track &track = artists[a].tracks[t];
                const QString suffix = number + u'_' + QString::number(t + 1);
                track.lyrics = addText(u'L' + suffix, track.lyrics);
                track.notes = addText(u'N' + suffix, track.notes);
            }
        }
        for (size_t a = 0; a < artists.size(); ++a) {
            for (size_t t = 0; t < artists[a].tracks.size(); ++t) {
                Track &track = artists[a].tracks[t];
                QString reference = u'L' + track.path;
                if (request.embed) {
                    const qint64 size = QFileInfo(track.path).size();
                    checkReference(quint64(archive.size()), size);
                    const QString entry = QStringLiteral("T%1_%2").arg(a + 1).arg(t + 1);
                    quint64 offset = 0;
                    try {
                        offset = archive.addFile(entry, track.path);
                    } catch (const RuntimeError &error) {
                        // Read a moment ago, gone or unreadable now: say which file.
                        throw Failure{QStringLiteral("%1: could not be copied (%2)")
                                          .arg(track.path, errorText(error))};
                    }
                    reference = QStringLiteral("E%1|%2|%3")
                                    .arg(offset)
                                    .arg(archive.size() - qint64(offset))
                                    .arg(QFileInfo(track.path).suffix().toLower());
                    checkReference(offset, archive.size() - qint64(offset));
                }
                track.path = reference;
            }
            summary.tracks += int(artists[a].tracks.size());
        }
        const auto fillArtist = [&](KeyValueStore &catalogue, int number) {
            const size_t a = size_t(number - 1);
            for (size_t t = 0; t < artists[a].tracks.size(); ++t) {
                Track &track = artists[a].tracks[t];
                catalogue.SetValue(trackKey(a, u"Lyrics", t), track.lyrics);
                catalogue.SetValue(trackKey(a, u"Notes", t), track.notes);
                catalogue.SetValue(trackKey(a, u"Track", t), track.title);
                catalogue.SetValue(trackKey(a, u"Filename", t), track.path);
                catalogue.SetValue(trackKey(a, u"Genre", t), QString::number(track.genre));
                catalogue.SetValue(trackKey(a, u"Date", t),
                                   track.year > 0 ? QString::number(track.year) : QString());
                // The catalogue has its own copy now: the whole library is not held twice.
                track = Track{};
            }
        };
        const auto fillRest = [&](KeyValueStore &catalogue) {
            for (size_t a = 0; a < artists.size(); ++a) {
                const QString number = QString::number(a + 1);
                catalogue.SetValue(QStringLiteral("Artist") + number, artists[a].name);
                catalogue.SetValue(QStringLiteral("Tracks") + number,
                                   QString::number(artists[a].tracks.size()));
            }
            catalogue.SetValue(QStringLiteral("Artists"), QString::number(artists.size()));
            catalogue.SetValue(QStringLiteral("Batches"), QString::number(batches.size()));
            for (size_t b = 0; b < batches.size(); ++b) {
                catalogue.SetValue(QStringLiteral("BN%1").arg(b + 1), batches[b].name);
                catalogue.SetValue(QStringLiteral("BC%1").arg(b + 1), batches[b].contents);
            }
        };
        archive.addBytes(QStringLiteral("VELMORAD"),
                         CatalogueText::make(int(artists.size()), fillArtist, fillRest, threads));
        archive.finish();
        summary.bytes = QFileInfo(request.output).size();
    } catch (const RuntimeError &error) {
        throw Failure{QStringLiteral("%1: %2").arg(request.output, errorText(error))};
    }
    summary.artists = int(artists.size());
    summary.batches = int(batches.size());
    return summary;
}

} // namespace DatabaseMaker
