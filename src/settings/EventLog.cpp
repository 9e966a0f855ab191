#include "settings/EventLog.h"

#include "interpreter/NumericText.h"
#include "settings/LocaleFormat.h"
#include "settings/Options.h"
#include "system/TextFile.h"

#include <QFile>
#include <limits>

EventLogFile::EventLogFile(QString path, const Options &options)
    : m_path(std::move(path)), m_options(options), m_clock(&QDateTime::currentDateTime)
{
}

qint32 EventLogFile::limit() const
{
    const auto value = Numeric::parse(m_options[Options::LogSize]);
    if (!value || *value < 1 || *value > std::numeric_limits<qint32>::max())
        return kDefaultLimit;
    return Numeric::roundToLong(*value);
}

void EventLogFile::EventLog(const QString &msg, bool eror)
{
    QString text = LocaleFormat::generalDate(m_clock()) +
                   (eror ? QStringLiteral(" - ERROR: ") : QStringLiteral(" - COMMAND: ")) + msg +
                   QStringLiteral("\r\n");
    if (QFile::exists(m_path))
        text += TextFile::read(m_path);
    const qint32 max = limit();
    if (text.size() > max) {
        // Never leave half a surrogate pair at the cut.
        qsizetype cut = max;
        if (text.at(cut - 1).isHighSurrogate())
            --cut;
        text.truncate(cut);
    }
    TextFile::writeAtomically(m_path, TextFile::encode(text));
}
