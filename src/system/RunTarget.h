#pragma once
// What `run` does with its first word on a Linux desktop: an executable is started, anything
// else that names a file, a folder or an address is opened with the desktop's default
// application, and a word that is none of these cannot be run.

#include <QString>

struct RunTarget
{
    enum Kind { Program, Document, Nothing };
    Kind kind = Nothing;
    // The program's path, or what the desktop opens: a file's absolute path or the address.
    QString target;
};

// word names an executable when it holds a "/" and is a file with the execute bit, or when it
// is a program found on PATH. Relative paths count from the current folder.
RunTarget findRunTarget(const QString &word);
