#pragma once
// The desktop as the console window reaches it: real dialogs, the system clipboard, the
// desktop's default applications. While a command-line script runs (and always on a
// platform with no screen), the questions are answered by the script instead.

#include "session/Desktop.h"

class MainWindow;
class ScriptedDesktop;

class WindowDesktop : public Desktop
{
public:
    WindowDesktop(MainWindow *window, ScriptedDesktop &script) : m_window(window), m_script(script)
    {
    }

    // From now on a person answers the questions.
    void setInteractive(bool interactive) { m_interactive = interactive; }

    bool askYesNo(const QString &title, const QString &text) override;
    std::optional<QString> inputBox(const QString &title, const QString &prompt) override;
    std::optional<QString> openFile(const QString &title, const QString &filter) override;
    int popupMenu(const QStringList &entries, QPoint at) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    QString selectionText() override;
    void setSelectionText(const QString &text) override;
    bool openUrl(const QString &url) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    void setWindowTitle(const QString &title) override;
    void closeWindow() override;

private:
    MainWindow *m_window;
    ScriptedDesktop &m_script;
    bool m_interactive = false;
    QString m_selection;
};
