#pragma once
// The pager: long output kept as lines of at most 92 cells and shown 36 rows at a
// time, with scroll arrows in column 93.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Console;

class Pager
{
public:
    static constexpr int kCapacity = 64001;
    static constexpr int kLineWidth = 92;
    static constexpr int kPageRows = 36;

    explicit Pager(Console &console);

    // Told when the pager starts to wait for the user (a running batch's clock stops).
    void setOnShown(std::function<void()> onShown) { m_onShown = std::move(onShown); }
    // The pageTop of the current track's page (plIndex + 2), or nothing while the player in
    // use has no file loaded.
    void setCurrentTrackTop(std::function<std::optional<int>()> top)
    {
        m_currentTrackTop = std::move(top);
    }

    // Shows text split at CR LF, each line cut into pieces of 92 cells, from the top.
    // More than 64001 pieces raise "Subscript out of range (9)" before anything is shown.
    void mline(const QString &text);
    // Cuts one line (without its line end) as mline does, adding the pieces to pieces
    // when given, and answers how many there are: one up to 92 cells, else pieces of 92
    // cells (91 where a wide character would straddle the cut), and a line whose last
    // piece is full ends with an empty piece.
    static qsizetype cut(QStringView line, QList<QStringView> *pieces = nullptr);
    // 0 first page, 1 line down, 2 line up, 3 page down, 4 page up, 5 last page,
    // 6 current track page, 7 redraw.
    void mLineDisp(int operation);

    // Line i of the buffer; past the lines stored it is empty.
    QString pageLine(int index) const
    {
        return index >= 0 && index < m_lines.size() ? m_lines[index] : QString();
    }
    int pageTop = 0;
    int pageCount() const { return static_cast<int>(m_lines.size()); }
    // The pager shows the playlist view: its two header lines are drawn grey by the first
    // page, a line up onto them, a page up onto them and a redraw from the second.
    bool plView = false;

private:
    static constexpr int kHeaderLines = 2;
    // Lines below greyBelow are grey in the playlist view.
    void drawPage(int greyBelow);
    void drawLine(int index, int row, bool grey);
    void drawArrows();

    Console &m_console;
    QStringList m_lines;
    std::function<void()> m_onShown;
    std::function<std::optional<int>()> m_currentTrackTop;
};

// A text for mline gathered line by line, for listings of any length: lines past the pager's
// capacity could never be shown, so once the pager would be full nothing more is taken.
class PagerText
{
public:
    // Adds whole lines, each ending with CR LF; answers false, adding none of them, when
    // the pager could not show them all.
    bool add(QStringView lines);
    bool full() const { return m_full; }
    const QString &text() const { return m_text; }

private:
    QString m_text;
    // The empty piece after the last CR LF counts too.
    qsizetype m_pieces = 1;
    bool m_full = false;
};
