// vldmake over a music folder of 10,000 tagged files: how many files a second it catalogues,
// linking the files and embedding them. The folder is made once beside the benchmark program
// (on the build's disk, never a RAM-backed temporary folder) and kept for later runs; the
// timings are therefore of a warm file cache, as when a user re-makes a database.

#include "BenchSession.h"
#include "ToneFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

#include <benchmark/benchmark.h>

namespace {

constexpr int kArtists = 100;
constexpr int kTracksPerArtist = 100;
constexpr int kFiles = kArtists * kTracksPerArtist;

// 100 artist folders of 100 silent MP3s with ID3v2 tags (artist, title, genre, year, and
// lyrics on every tenth track), a notes file beside every tenth, and one playlist per artist.
QString musicFolder()
{
    const QString folder = QCoreApplication::applicationDirPath() +
                           QStringLiteral("/bench-data/vldmake-%1").arg(kFiles);
    const QString complete = folder + QStringLiteral("/.complete");
    if (QFile::exists(complete))
        return folder;
    QDir(folder).removeRecursively();
    const char *genres[] = {"Rock", "Jazz", "Blues", "Ambient", "Polka", "Vaporwave"};
    for (int a = 0; a < kArtists; ++a) {
        const QString artist = QStringLiteral("Artist %1").arg(a);
        const QString dir = folder + u'/' + artist;
        QDir().mkpath(dir);
        QByteArray playlist = "#EXTM3U\n";
        for (int t = 0; t < kTracksPerArtist; ++t) {
            const QString name =
                QStringLiteral("%1 Track %2").arg(t + 1, 3, 10, QChar(u'0')).arg(t);
            const QString path = dir + u'/' + name + QStringLiteral(".mp3");
            if (!ToneFile::writeSilentMp3(path, 3))
                return {};
            TagLib::MPEG::File mp3(QFile::encodeName(path).constData());
            TagLib::ID3v2::Tag *tag = mp3.ID3v2Tag(true);
            tag->setArtist(TagLib::String(artist.toStdString()));
            tag->setTitle(TagLib::String(name.toStdString()));
            tag->setGenre(genres[(a + t) % 6]);
            tag->setYear(1960 + (a + t) % 60);
            if (t % 10 == 0) {
                TagLib::PropertyMap map = tag->properties();
                map.insert("LYRICS", TagLib::StringList("La la la\nla la la la"));
                tag->setProperties(map);
            }
            if (!mp3.save())
                return {};
            if (t % 10 == 5) {
                QFile notes(dir + u'/' + name + QStringLiteral(".notes.txt"));
                if (!notes.open(QIODevice::WriteOnly) || notes.write("Some notes.\n") < 0)
                    return {};
            }
            playlist += QFile::encodeName(name) + ".mp3\n";
        }
        QFile list(dir + QStringLiteral("/All of %1.m3u").arg(artist));
        if (!list.open(QIODevice::WriteOnly) || list.write(playlist) != playlist.size())
            return {};
    }
    QFile marker(complete);
    return marker.open(QIODevice::WriteOnly) ? folder : QString();
}

void runVldmake(benchmark::State &state, bool embed)
{
    const QString folder = musicFolder();
    if (folder.isEmpty()) {
        state.SkipWithError("could not make the music folder");
        return;
    }
    for (auto _ : state) {
        QTemporaryDir out(benchHomeTemplate());
        QStringList arguments = {out.filePath(QStringLiteral("bench.vld")), folder};
        if (embed)
            arguments.prepend(QStringLiteral("--embed"));
        QProcess process;
        process.start(QStringLiteral(VLDMAKE_EXE), arguments);
        if (!process.waitForFinished(-1) || process.exitCode() != 0 ||
            !process.readAllStandardOutput().contains(QByteArray::number(kFiles) + " tracks, " +
                                                      QByteArray::number(kArtists) + " batches")) {
            state.SkipWithError("vldmake failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_VldmakeLinked(benchmark::State &state)
{
    runVldmake(state, false);
}
void BM_VldmakeEmbedded(benchmark::State &state)
{
    runVldmake(state, true);
}

} // namespace

// The work is in the child process: real time, not this process's CPU time.
BENCHMARK(BM_VldmakeLinked)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_VldmakeEmbedded)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
