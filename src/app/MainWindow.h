#pragma once
// The console window: paints the console surface 1:1 and runs the shut-down when closed.

#include <QWidget>

class Session;

class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(Session &session, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Session &m_session;
    bool m_shutDown = false;
};
