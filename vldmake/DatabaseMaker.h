#pragma once
// Makes a music database (docs/vldmake.md): finds the tracks and playlists under folders,
// reads their tags, numbers artists, tracks and batches, and writes the archive with its
// catalogue (the keys of docs/formats.md).

#include <QString>
#include <QStringList>

#include <functional>

namespace DatabaseMaker {

struct Request
{
    QString output;
    QStringList folders;
    bool embed = false; // copy the track files into the archive instead of linking them
    bool force = false; // replace an existing database
    // How many threads read the files' tags; 0 for one per core. The database is the same
    // byte for byte whatever the number.
    int threads = 0;
};

struct Summary
{
    int artists = 0;
    int tracks = 0;
    int batches = 0;
    qint64 bytes = 0; // the archive's size
};

// Why nothing was written.
struct Failure
{
    QString message;
};

// Reports a file passed over or a playlist entry left out, one line of text each.
using Warn = std::function<void(const QString &)>;
// Called as audio files are read: how many are done, of how many; last with all done.
using Progress = std::function<void(qsizetype done, qsizetype total)>;

// Writes the database, all or nothing. Throws Failure when nothing was written: a folder
// that is not one, an existing output without force or one that is no database (even with
// force), no readable track, a database too
// large for its 32-bit references, or the archive's own errors (disk full and the like).
Summary make(const Request &request, const Warn &warn, const Progress &progress = {});

// A text as the program shows it: lines ending CR LF.
QString withCrLf(const QString &text);

} // namespace DatabaseMaker
