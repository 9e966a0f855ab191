#pragma once
// The console window: shows the console surface scaled to fit (1:1 when there is room), hands
// key, mouse and focus events to the keyboard handler in virtual-key terms and console
// pixels, and runs the shut-down when closed. Dragging with the left button (or a double
// click) chooses cells whose text becomes the X selection, as in terminals.

#include "app/WindowDesktop.h"
#include "console/CellSelection.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <optional>

class Session;
class VideoView;

class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(Session &session, QWidget *parent = nullptr);

    ~MainWindow() override;

    // The desktop as this window reaches it; questions go to the script until a person
    // is there to answer them.
    WindowDesktop &desktop() { return m_desktop; }

    // The first size on a screen with this much room (the work area, without panels): the
    // largest that keeps the console's shape and leaves room for the window frame, never
    // above 1:1 and never below the minimum size.
    static QSize fittingSize(const QSize &available);
    // Where the console picture is shown: centred, as large as fits, the console's shape.
    QRect imageRect() const;
    // A widget point as a console pixel; points in the margins go to the nearest edge.
    QPoint mapToConsole(const QPointF &at) const;
    // The top-left corner of a console pixel in widget coordinates.
    QPoint mapFromConsole(const QPoint &at) const;
    // The widget pixels a change to these console pixels can reach.
    QRect mapFromConsole(const QRect &rect) const;
    QRegion mapFromConsole(const QRegion &region) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Tab is typed into the command line, not used to move the focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    // Asks for a repaint of what the console changed since the last time, at most once a
    // display frame: a batch changes the console a thousand times a second.
    void showDirty();
    void repaintDirty();
    // Shows, hides and places the video view where the video command asked, scaled as the
    // console is.
    void placeVideo();

    // Shows cells chosen with the mouse in inverse colours, or none.
    void showSelection(std::optional<CellSelection> selection);
    QPoint cellAt(const QPointF &at) const;

    Session &m_session;
    WindowDesktop m_desktop;
    // Where the left button went down, while it is held; the cells chosen since.
    std::optional<QPoint> m_anchor;
    std::optional<CellSelection> m_selection;
    VideoView *m_video;
    QTimer m_nextFrame;
    QElapsedTimer m_sinceRepaint;
    bool m_shutDown = false;
};
