#include "app/WidgetDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

bool WidgetDialogs::askYesNo(const QString &title, const QString &text)
{
    return QMessageBox::warning(m_parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> WidgetDialogs::inputBox(const QString &title, const QString &prompt)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetDialogs::openFile(const QString &title, const QString &filter)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, title, QString(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

int WidgetDialogs::popupMenu(const QStringList &entries, QPoint at)
{
    QMenu menu(m_parent);
    for (const QString &entry : entries)
        menu.addAction(entry);
    const QAction *chosen = menu.exec(m_parent->mapToGlobal(at));
    return chosen ? static_cast<int>(menu.actions().indexOf(chosen)) : -1;
}
