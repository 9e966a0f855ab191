#include "interpreter/CommandTable.h"

void CommandTable::add(const QString &word, CommandHandler handler, Confirm confirm)
{
    Q_ASSERT(word == word.toLower());
    Q_ASSERT(!m_entries.contains(word));
    m_entries.insert(word, {handler, confirm});
}
