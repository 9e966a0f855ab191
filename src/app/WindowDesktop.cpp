#include "app/WindowDesktop.h"

#include "app/MainWindow.h"
#include "session/ScriptedDesktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

bool WindowDesktop::askYesNo(const QString &title, const QString &text)
{
    if (!m_interactive)
        return m_script.askYesNo(title, text);
    return QMessageBox::warning(m_window, title, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> WindowDesktop::inputBox(const QString &title, const QString &prompt)
{
    if (!m_interactive)
        return m_script.inputBox(title, prompt);
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_window, title, prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WindowDesktop::openFile(const QString &title, const QString &filter)
{
    if (!m_interactive)
        return m_script.openFile(title, filter);
    const QString path = QFileDialog::getOpenFileName(m_window, title, QString(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

int WindowDesktop::popupMenu(const QStringList &entries, QPoint at)
{
    if (!m_interactive)
        return m_script.popupMenu(entries, at);
    QMenu menu(m_window);
    for (const QString &entry : entries)
        menu.addAction(entry);
    const QAction *chosen = menu.exec(m_window->mapToGlobal(m_window->mapFromConsole(at)));
    return chosen ? static_cast<int>(menu.actions().indexOf(chosen)) : -1;
}

QString WindowDesktop::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void WindowDesktop::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString WindowDesktop::selectionText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return m_selection;
    return clipboard->text(QClipboard::Selection);
}

void WindowDesktop::setSelectionText(const QString &text)
{
    // A desktop without a selection (Wayland without the protocol) still pastes it here.
    m_selection = text;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}

bool WindowDesktop::openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

bool WindowDesktop::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

void WindowDesktop::setWindowTitle(const QString &title)
{
    m_window->setWindowTitle(title);
}

void WindowDesktop::closeWindow()
{
    // exit and quit run inside a command: close once it has returned.
    QMetaObject::invokeMethod(m_window, &QWidget::close, Qt::QueuedConnection);
}
