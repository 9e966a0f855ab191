#pragma once
// The event log: every command line and every error message, newest first, in
// "eventlog.txt" beside the program, cut to a maximum number of characters.

#include <QDateTime>
#include <QString>
#include <functional>

class Options;

class EventLogFile
{
public:
    static constexpr qint32 kDefaultLimit = 1048576;

    EventLogFile(QString path, const Options &options);

    // Adds one record at the top: date-time + " - ERROR: " or " - COMMAND: " + msg.
    // The file is replaced atomically; its text after the cut never exceeds the limit.
    void EventLog(const QString &msg, bool eror);

    const QString &path() const { return m_path; }
    // opt(16) as a limit; a text that is no number in 1..2147483647 gives the default.
    qint32 limit() const;

    // Tests pin the clock.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

private:
    QString m_path;
    const Options &m_options;
    std::function<QDateTime()> m_clock;
};
