#pragma once
// Runs the steps of the command line (--exec, --wait) and writes the requested outputs.

#include "app/CommandLine.h"

#include <QByteArray>

class Session;

// Runs the steps in order, stopping early when a command asked the window to close.
void runSteps(Session &session, const CommandLine &line);
// Writes --screen-text and --screenshot; false (with a message on standard error) when
// one could not be written.
bool writeOutputs(const Session &session, const CommandLine &line);
// Writes bytes to a file through the file guard, or to standard output for "-"; false, with
// a message on standard error, when that fails.
bool writeTextOutput(const QString &target, const QByteArray &bytes);
