#pragma once
// The one way out of the core to the desktop: the modal questions, the clipboard, opening
// a web address or starting a program, the window's title and closing it. The window
// implements it for a person at the screen; ScriptedDesktop answers for tests and headless
// runs, so nothing ever waits for a person who is not there or touches the user's desktop.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class Desktop
{
public:
    virtual ~Desktop() = default;

    // A warning box with Yes and No; true for Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
    // The text entered, or nothing when cancelled.
    virtual std::optional<QString> inputBox(const QString &title, const QString &prompt) = 0;
    // The full path chosen, or nothing when cancelled. filter is "Name (*.ext)".
    virtual std::optional<QString> openFile(const QString &title, const QString &filter) = 0;
    // The index of the entry picked, or -1. Entries carry "&" before their access key;
    // at is a position on the console surface.
    virtual int popupMenu(const QStringList &entries, QPoint at) = 0;

    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    // The X selection (PRIMARY): text selected with the mouse, pasted with the middle button.
    virtual QString selectionText() = 0;
    virtual void setSelectionText(const QString &text) = 0;

    // Opens an address or a file with the desktop's default application; false when
    // nothing could open it.
    virtual bool openUrl(const QString &url) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;

    virtual void setWindowTitle(const QString &title) = 0;
    // The window closes once the current event has been handled, running the shut-down.
    virtual void closeWindow() = 0;
};
