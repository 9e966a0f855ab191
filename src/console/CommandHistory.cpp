#include "console/CommandHistory.h"

#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QFileInfo>

void CommandHistory::load()
{
    m_loaded = true;
    if (!QFileInfo::exists(m_path))
        return;
    const QStringList read = TextFile::read(m_path).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = std::max<qsizetype>(0, read.size() - kMaxLines); i < read.size(); ++i) {
        QString line = read[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty())
            m_lines.append(line);
    }
}

const QStringList &CommandHistory::lines()
{
    if (!m_loaded)
        load();
    return m_lines;
}

void CommandHistory::add(const QString &line)
{
    lines();
    if (line.isEmpty() || line.startsWith(u' ') || line.contains(u'\n') || line.contains(u'\r') ||
        (!m_lines.isEmpty() && m_lines.back() == line))
        return;
    m_lines.append(line);
    if (m_lines.size() > kMaxLines)
        m_lines.remove(0, m_lines.size() - kMaxLines);
    try {
        TextFile::save(m_path, TextFile::encode(m_lines.join(u'\n') + u'\n'));
        m_saveFailed = false;
    } catch (const RuntimeError &) {
        if (m_saveFailed)
            return;
        m_saveFailed = true;
        throw;
    }
}

qsizetype CommandHistory::findBefore(const QString &text, qsizetype before)
{
    const QStringList &all = lines();
    for (qsizetype i = std::min(before, all.size()) - 1; i >= 0; --i) {
        if (all[i].contains(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}
