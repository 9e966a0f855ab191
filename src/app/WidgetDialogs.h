#pragma once
// The modal questions asked with real Qt dialogs over the console window.

#include "system/Dialogs.h"

class QWidget;

class WidgetDialogs : public Dialogs
{
public:
    explicit WidgetDialogs(QWidget *parent) : m_parent(parent) {}

    bool askYesNo(const QString &title, const QString &text) override;
    std::optional<QString> inputBox(const QString &title, const QString &prompt) override;
    std::optional<QString> openFile(const QString &title, const QString &filter) override;
    int popupMenu(const QStringList &entries, QPoint at) override;

private:
    QWidget *m_parent;
};
