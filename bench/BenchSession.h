#pragma once
// A session in a temporary home for benchmarks.

#include "session/Session.h"

#include <QTemporaryDir>

struct BenchSession
{
    QTemporaryDir home;
    Session session{Session::Config{
        ProgramFolder(home.path()), home.filePath(QStringLiteral("options.ini")), {}}};
    BenchSession() { session.opt.ResetOpts(); }
};
