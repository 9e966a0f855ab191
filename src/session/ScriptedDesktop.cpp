#include "session/ScriptedDesktop.h"

std::optional<QString> ScriptedDesktop::takeAnswer(const QString &title, const QString &text)
{
    m_questions.append(title + QStringLiteral(": ") + text);
    if (m_answers.isEmpty())
        return std::nullopt;
    return m_answers.takeFirst();
}

bool ScriptedDesktop::askYesNo(const QString &title, const QString &text)
{
    const std::optional<QString> answer = takeAnswer(title, text);
    if (!answer)
        return false;
    const QString word = answer->trimmed().toLower();
    return word == u"yes" || word == u"y";
}

std::optional<QString> ScriptedDesktop::inputBox(const QString &title, const QString &prompt)
{
    return takeAnswer(title, prompt);
}

std::optional<QString> ScriptedDesktop::openFile(const QString &title, const QString &filter)
{
    return takeAnswer(title, filter);
}

int ScriptedDesktop::popupMenu(const QStringList &entries, QPoint)
{
    m_lastMenu = entries;
    const std::optional<QString> pick = std::exchange(m_menuPick, std::nullopt);
    if (!pick)
        return -1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (QString(entries[i]).remove(u'&').compare(*pick, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

bool ScriptedDesktop::openUrl(const QString &url)
{
    m_opened.append(url);
    return true;
}

bool ScriptedDesktop::startProgram(const QString &program, const QStringList &arguments)
{
    m_opened.append((QStringList{program} + arguments).join(u' '));
    return true;
}
