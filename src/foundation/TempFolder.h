#pragma once
// The folder for temporary files: $TEMP when set, else the system's.

#include <QString>

QString tempFolder();
