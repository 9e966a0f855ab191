#pragma once
// The event log: every command line and every error message, newest first, in
// "eventlog.txt" beside the program, cut to a maximum number of characters.
//
// Records are kept in memory and the file is rewritten at most once per save delay (and
// before any modal question and at shut-down), not once per record: a full log is a
// megabyte, and rewriting and syncing it for every command cost more than the commands.
// Each save replaces the file atomically, so a crash loses at most the records of the last
// save delay and never leaves a damaged or empty log.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

class Options;

class EventLogFile
{
public:
    static constexpr qint32 kDefaultLimit = 1048576;
    static constexpr int kSaveDelay = 500; // milliseconds

    EventLogFile(QString path, const Options &options);

    // Adds one record at the top: date-time + " - ERROR: " or " - COMMAND: " + msg, and
    // starts the save timer when it is not running.
    void EventLog(const QString &msg, bool eror);

    // Every record, newest first, cut to the limit: what the file holds once saved.
    QString text() const;

    // Writes the records not yet in the file. Returns false when that failed; the old file
    // is then kept, and the first failure after a good save is told to onSaveFailed.
    bool save();
    bool hasUnsavedRecords() const { return m_unsaved; }
    // "Could not save ...: reason" of the last save that failed.
    const QString &lastFailure() const { return m_lastFailure; }
    // Told "Could not save ..." once per run of failures.
    void setOnSaveFailed(std::function<void(const QString &)> handler)
    {
        m_onSaveFailed = std::move(handler);
    }

    const QString &path() const { return m_path; }
    // opt(16) as a limit; a text that is no number in 1..2147483647 gives the default.
    qint32 limit() const;

    // Tests pin the clock.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Runs save() after the delay; the session connects it through its trap.
    QTimer saveTimer;

private:
    // The file's records, read once, before the first record is added or shown.
    void load() const;
    // The newest records moved onto the older text and the whole cut to the limit.
    void fold() const;

    QString m_path;
    const Options &m_options;
    std::function<QDateTime()> m_clock;
    // The date and time of the last record, as written: a batch adds a thousand records a
    // second, and the system's date format is slow to apply.
    QDate m_stampDate;
    QTime m_stampTime;
    QString m_stamp;
    std::function<void(const QString &)> m_onSaveFailed;
    mutable bool m_loaded = false;
    // Why the file could not be read; it is then never overwritten.
    mutable std::optional<QString> m_unreadable;
    mutable QString m_older;      // newest first
    mutable QStringList m_recent; // oldest first, not yet folded into m_older
    mutable qsizetype m_recentSize = 0;
    bool m_unsaved = false;
    bool m_failing = false;
    QString m_lastFailure;
};
