#pragma once
// The command-line entry that tests, benchmarks and users' scripts drive the program with.

#include "app/KeyScript.h"

#include <QList>
#include <QString>
#include <QStringList>

struct CommandLine
{
    struct Step
    {
        enum class Kind { Exec, Keys, Wait };
        Kind kind;
        QString value;
        QList<KeyAction> keys; // for Keys
    };

    QString home;
    QString audioOutput; // --audio-output, else $I2KCMD_AUDIO_OUTPUT
    QList<Step> steps;   // --exec, --keys and --wait, in the order given
    QStringList answers; // --answer, in the order given
    // --remote: the lines to send to the running console instead of starting one.
    bool remote = false;
    QStringList remoteLines;
    QString screenText;  // file name, or "-" for standard output
    QString screenshot;
    bool quit = false;
    bool help = false;
    bool version = false;
    QString error; // not empty when the arguments could not be understood

    // Arguments after the program name, with Qt's own options already taken out.
    static CommandLine parse(const QStringList &arguments);
    // The arguments without the options Qt takes for itself (-platform offscreen, -style
    // fusion, --reverse, ...), so that they can be read before Qt has started. Says whether a
    // platform was chosen.
    static QStringList withoutQtOptions(const QStringList &arguments,
                                        bool *platformGiven = nullptr);
    static QString usage();
    // Whether the program ends once the steps have run.
    bool quitsAfterSteps() const { return quit || !screenText.isEmpty() || !screenshot.isEmpty(); }
};
