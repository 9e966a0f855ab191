#include "settings/EventLog.h"

#include "foundation/LocaleFormat.h"
#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "settings/Options.h"

#include <QFileInfo>
#include <limits>

EventLogFile::EventLogFile(QString path, const Options &options)
    : m_path(std::move(path)), m_options(options), m_clock(&QDateTime::currentDateTime)
{
    saveTimer.setSingleShot(true);
    saveTimer.setInterval(kSaveDelay);
}

qint32 EventLogFile::limit() const
{
    const auto value = Numeric::parse(m_options[Options::LogSize]);
    if (!value || *value < 1 || *value > std::numeric_limits<qint32>::max())
        return kDefaultLimit;
    return Numeric::roundToLong(*value);
}

void EventLogFile::load() const
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (!QFileInfo::exists(m_path) && !QFileInfo(m_path).isSymLink())
        return;
    try {
        m_older = TextFile::read(m_path);
    } catch (const RuntimeError &error) {
        m_unreadable = Msg::errorText(error.description(), error.number());
    }
}

void EventLogFile::fold() const
{
    load();
    if (!m_recent.isEmpty()) {
        QString text;
        text.reserve(m_recentSize + m_older.size());
        for (auto it = m_recent.crbegin(); it != m_recent.crend(); ++it)
            text += *it;
        text += m_older;
        m_older = std::move(text);
        m_recent.clear();
        m_recentSize = 0;
    }
    const qint32 max = limit();
    if (m_older.size() > max) {
        // Never leave half a surrogate pair at the cut.
        qsizetype cut = max;
        if (m_older.at(cut - 1).isHighSurrogate())
            --cut;
        m_older.truncate(cut);
    }
}

void EventLogFile::EventLog(const QString &msg, bool eror)
{
    load();
    const QDateTime now = m_clock();
    // Records show whole seconds of the local time, which a change of zone moves too.
    const QTime second(now.time().hour(), now.time().minute(), now.time().second());
    if (now.date() != m_stampDate || second != m_stampTime) {
        m_stamp = LocaleFormat::generalDate(now);
        // Midnight exactly shows the date alone, the rest of that second the time too.
        m_stampDate = now.time() == QTime(0, 0) ? QDate() : now.date();
        m_stampTime = second;
    }
    QString record = m_stamp +
                     (eror ? QStringLiteral(" - ERROR: ") : QStringLiteral(" - COMMAND: ")) + msg +
                     QStringLiteral("\r\n");
    m_recentSize += record.size();
    m_recent.append(std::move(record));
    // Unsaved records never take more memory than the log itself may.
    if (m_recentSize > limit())
        fold();
    m_unsaved = true;
    if (!saveTimer.isActive())
        saveTimer.start();
}

QString EventLogFile::text() const
{
    fold();
    return m_older;
}

bool EventLogFile::save()
{
    saveTimer.stop();
    if (!m_unsaved)
        return true;
    fold();
    QString failure;
    if (m_unreadable) {
        failure = Msg::saveFailed(m_path, *m_unreadable);
    } else {
        try {
            TextFile::save(m_path, TextFile::encode(m_older));
            m_unsaved = false;
            m_failing = false;
            return true;
        } catch (const RuntimeError &error) {
            failure = Msg::saveFailed(m_path, Msg::errorText(error.description(), error.number()));
        }
    }
    m_lastFailure = failure;
    if (!std::exchange(m_failing, true) && m_onSaveFailed)
        m_onSaveFailed(failure);
    return false;
}
