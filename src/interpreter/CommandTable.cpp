#include "interpreter/CommandTable.h"

#include <stdexcept>

void CommandTable::add(const QString &word, CommandHandler handler, const HelpPage &help,
                       Facts facts)
{
    if (word.isEmpty() || word != word.toLower() || !handler || !help.lines[0].text)
        throw std::logic_error(
            "command words are registered in lower case, with a handler and a usage: " +
            word.toStdString());
    if (m_entries.contains(word))
        throw std::logic_error("command word registered twice: " + word.toStdString());
    m_entries.insert(word, {handler, &help, facts});
}

QStringList CommandTable::words() const
{
    QStringList words = m_entries.keys();
    words.sort();
    return words;
}
