#pragma once
// The desktop of tests and headless runs. Questions take answers given in advance (the
// --answer option, tests), in order; with none left they count as No or cancelled. A popup
// menu picks the entry named by pickMenuEntry, once. The clipboard and the X selection are
// texts held here, and addresses, programs, titles and the close request are recorded for
// tests to read.

#include "session/Desktop.h"

class ScriptedDesktop : public Desktop
{
public:
    explicit ScriptedDesktop(QStringList answers = {}) : m_answers(std::move(answers)) {}

    void addAnswer(const QString &answer) { m_answers.append(answer); }
    // The next popup menu picks the entry with this text ("&" not counted, any case);
    // nothing makes it pick none.
    void pickMenuEntry(std::optional<QString> text) { m_menuPick = std::move(text); }

    bool askYesNo(const QString &title, const QString &text) override;
    std::optional<QString> inputBox(const QString &title, const QString &prompt) override;
    std::optional<QString> openFile(const QString &title, const QString &filter) override;
    int popupMenu(const QStringList &entries, QPoint at) override;
    QString clipboardText() override { return m_clipboard; }
    void setClipboardText(const QString &text) override { m_clipboard = text; }
    QString selectionText() override { return m_selection; }
    void setSelectionText(const QString &text) override { m_selection = text; }
    bool openUrl(const QString &url) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    void setWindowTitle(const QString &title) override { m_title = title; }
    void closeWindow() override { m_closeAsked = true; }

    // What was asked, one line each ("title: text"), for tests to read.
    const QStringList &questions() const { return m_questions; }
    // The entries of the last menu shown, empty if none was.
    const QStringList &lastMenu() const { return m_lastMenu; }
    // Addresses opened and programs started ("program arg1 arg2"), in order.
    const QStringList &opened() const { return m_opened; }
    const QString &title() const { return m_title; }
    bool closeAsked() const { return m_closeAsked; }

private:
    std::optional<QString> takeAnswer(const QString &title, const QString &text);

    QStringList m_answers;
    QStringList m_questions;
    QStringList m_lastMenu;
    std::optional<QString> m_menuPick;
    QString m_clipboard;
    QString m_selection;
    QStringList m_opened;
    QString m_title;
    bool m_closeAsked = false;
};
