#pragma once
// The modal questions the program asks: a yes/no box, an input box, the file-open dialog
// and a popup menu. The window answers them with real dialogs; tests and headless runs
// answer them from a script, so nothing ever waits for a person who is not there.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A warning box with Yes and No; true for Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
    // The text entered, or nothing when cancelled.
    virtual std::optional<QString> inputBox(const QString &title, const QString &prompt) = 0;
    // The full path chosen, or nothing when cancelled. filter is "Name (*.ext)".
    virtual std::optional<QString> openFile(const QString &title, const QString &filter) = 0;
    // The index of the entry picked, or -1. Entries carry "&" before their access key;
    // at is a position on the console surface.
    virtual int popupMenu(const QStringList &entries, QPoint at) = 0;
};
