#include "interpreter/CommandTable.h"

#include <stdexcept>

void CommandTable::add(const QString &word, CommandHandler handler, Facts facts)
{
    if (word.isEmpty() || word != word.toLower() || !handler)
        throw std::logic_error("command words are registered in lower case, with a handler: " +
                               word.toStdString());
    if (m_entries.contains(word))
        throw std::logic_error("command word registered twice: " + word.toStdString());
    m_entries.insert(word, {handler, facts});
}

QStringList CommandTable::words() const
{
    QStringList words = m_entries.keys();
    words.sort();
    return words;
}
