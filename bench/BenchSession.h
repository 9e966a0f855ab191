#pragma once
// A session as a user has it, for benchmarks: its home on the disk the program was built
// on (never a RAM-backed temporary folder), so every save pays for a real write and sync,
// and an event log already at its default limit of 1 MiB, as after a few thousand commands.

#include "foundation/TextFile.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QTemporaryDir>

// A new folder beside the benchmark program.
inline QString benchHomeTemplate()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/bench-home-XXXXXX");
}

// An event log of ordinary records at the 1 MiB default limit.
inline void writeFullLog(const QString &path)
{
    QString log;
    while (log.size() < 1048576)
        log += QStringLiteral("07/12/2026 04:53:30 - COMMAND: write some earlier command line\r\n");
    log.truncate(1048576);
    TextFile::save(path, TextFile::encode(log));
}

struct BenchSession
{
    QTemporaryDir home{benchHomeTemplate()};
    Session session{Session::Config{ProgramFolder(home.path()),
                                    home.filePath(QStringLiteral("options.ini")),
                                    {},
                                    QStringLiteral("null")}};
    BenchSession()
    {
        writeFullLog(session.log.path());
        session.opt.ResetOpts();
    }
};
