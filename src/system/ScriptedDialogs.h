#pragma once
// Dialogs answered from a list given in advance (the --answer option, tests). Each
// question takes the next answer; with none left it counts as No or cancelled. A popup
// menu picks the entry named by pickMenuEntry, once.

#include "system/Dialogs.h"

class ScriptedDialogs : public Dialogs
{
public:
    explicit ScriptedDialogs(QStringList answers = {}) : m_answers(std::move(answers)) {}

    void addAnswer(const QString &answer) { m_answers.append(answer); }
    // The next popup menu picks the entry with this text ("&" not counted, any case);
    // nothing makes it pick none.
    void pickMenuEntry(std::optional<QString> text) { m_menuPick = std::move(text); }

    bool askYesNo(const QString &title, const QString &text) override;
    std::optional<QString> inputBox(const QString &title, const QString &prompt) override;
    std::optional<QString> openFile(const QString &title, const QString &filter) override;
    int popupMenu(const QStringList &entries, QPoint at) override;

    // What was asked, one line each ("title: text"), for tests to read.
    const QStringList &questions() const { return m_questions; }
    // The entries of the last menu shown, empty if none was.
    const QStringList &lastMenu() const { return m_lastMenu; }

private:
    std::optional<QString> takeAnswer(const QString &title, const QString &text);

    QStringList m_answers;
    QStringList m_questions;
    QStringList m_lastMenu;
    std::optional<QString> m_menuPick;
};
