#pragma once
// The console window: paints the console surface 1:1, hands key, mouse and focus events
// to the keyboard handler in virtual-key terms, and runs the shut-down when closed.

#include "app/WidgetDialogs.h"

#include <QWidget>

class Session;

class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(Session &session, QWidget *parent = nullptr);

    // Real dialogs over this window, for when a person is there to answer them.
    Dialogs &dialogs() { return m_dialogs; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Tab is typed into the command line, not used to move the focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    Session &m_session;
    WidgetDialogs m_dialogs;
    bool m_shutDown = false;
};
