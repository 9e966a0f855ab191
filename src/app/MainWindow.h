#pragma once
// The console window: paints the console surface 1:1, hands key, mouse and focus events
// to the keyboard handler in virtual-key terms, and runs the shut-down when closed.

#include "app/WindowDesktop.h"

#include <QWidget>

class Session;

class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(Session &session, QWidget *parent = nullptr);

    ~MainWindow() override;

    // The desktop as this window reaches it; questions go to the script until a person
    // is there to answer them.
    WindowDesktop &desktop() { return m_desktop; }

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
    WindowDesktop m_desktop;
    bool m_shutDown = false;
};
