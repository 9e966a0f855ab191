#pragma once
// The command lines typed at the prompt, oldest first, kept in a file of the program folder
// (one line each, at most kMaxLines, the newest kept), read on first use and saved after
// every line added.

#include <QString>
#include <QStringList>

class CommandHistory
{
public:
    static constexpr qsizetype kMaxLines = 1000;

    explicit CommandHistory(QString path) : m_path(std::move(path)) {}

    // The lines, oldest first, read from the file the first time (a missing file is an
    // empty history). A file that cannot be read raises its error once; the history then
    // starts empty.
    const QStringList &lines();
    // Stores a typed line and saves the file, unless the line is empty, starts with a blank
    // (kept out on purpose, as shells do), holds a line break or repeats the newest line. A
    // failed save raises its error, once until a save succeeds again.
    void add(const QString &line);
    // The index of the newest line before index `before` that contains text (any letter
    // case), or -1.
    qsizetype findBefore(const QString &text, qsizetype before);

private:
    void load();

    QString m_path;
    QStringList m_lines;
    bool m_loaded = false;
    bool m_saveFailed = false;
};
