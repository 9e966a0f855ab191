#pragma once
// The folder whose files live "beside the program": set.cf, playlist.dat, eventlog.txt.

#include <QString>

class ProgramFolder
{
public:
    explicit ProgramFolder(QString folder);

    // In order: the --home folder when given, $I2KCMD_HOME, the executable's folder when a
    // file named "portable" lies beside it, else $XDG_DATA_HOME/i2kCmd (or
    // ~/.local/share/i2kCmd), made when missing.
    static ProgramFolder resolve(const QString &homeOption);

    // The sample database that comes with the program, for its very first start: beside the
    // executable in a build (sample/sample.vld), in ../share/i2kCmd once installed. Empty
    // when neither is there.
    static QString sampleDatabase(const QString &executableFolder);

    const QString &folder() const { return m_folder; }
    // The path of a file in the folder, joined with a single "/".
    QString programFolder(const QString &fileName) const;

private:
    QString m_folder;
};
