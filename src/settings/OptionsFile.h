#pragma once
// Saving the options' INI file so that a full disk or a failed write never leaves it
// empty or cut short: Qt's settings class writes a scratch copy beside it, which is read back
// and checked before it replaces the real file through the file guard.

#include <QString>

class Options;

// Writes Opt0..Opt18 and Volume of group "i2kCmd" into the INI file at iniPath, keeping every other
// group and value in it. Raises "Device I/O error (57)" when the scratch copy does not read
// back whole, or the file guard's error when the file cannot be replaced.
void saveOptionsFile(const Options &options, const QString &iniPath);
