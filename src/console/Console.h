#pragma once
// The character-cell console: three 1024 x 768 surfaces, the record of what each cell
// shows, the command-line cursor and the display mode, and the operations that draw text.

#include "console/BlendTable.h"
#include "console/CellRecord.h"
#include "console/GlyphCache.h"
#include "console/RowSpans.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

class Options;
class NowPlaying;

class Console
{
public:
    // What the console is doing, which decides what keys and batch lines do.
    enum class Mode {
        Prompt = 0,
        Pager = 1,
        AliasExpansion = 2,
        ConfirmationAwaited = 4,
        ExternalCommand = 7
    };
    static constexpr int kHomeColumn = 13;
    static constexpr int kHomeRow = 33;

    Console(const Options &options, const NowPlaying &nowPlaying);

    // picMain(0), the visible console; picMain(2), a working surface for the drawing
    // commands, made by the first that needs it. Whoever paints on the console says where
    // with markDirty: the window shows those pixels and the next clear wipes them.
    QImage &surface() { return m_surfaces[0]; }
    const QImage &surface() const { return m_surfaces[0]; }
    QImage &drawingSurface() { return m_surfaces[2]; }
    const CellRecord &scrCells() const { return m_cells; }

    // One character into one cell; colour -1 is replaced by the text colour. A cell
    // outside columns 1..94 or rows 1..37 (none of which reaches the surface) raises
    // "Subscript out of range (9)".
    void DrawChar(QChar character, int column, int row, qint32 &colour);
    // Text from column xpos + 1 of the row, wrapping after column 93 back to xpos + 1.
    // Characters take the cells TextCells gives them; a wide one that would start in
    // column 93 goes whole to the next row. Control characters show as their visible
    // stand-ins. Returns the row of the last character drawn.
    int DrawText(const QString &text, int row, qint32 colour = -1, int xpos = 0);
    // Types at the cursor into the command line; what falls past row 36 is dropped. A mark
    // joins the character before it; the half of a surrogate pair waits for its other half.
    void TypeText(const QString &text);
    // Backspace: blanks the cursor cell and takes the last character (with its marks) off
    // the command line, the cursor going back to its first cell.
    void eraseTyped();
    // Blanks over the command line as typed so far, "COMMAND: " again and the cursor home;
    // cmdText is left to the caller.
    void redrawPrompt();
    // The command line drawn again as text (a copy: it may be cmdText itself), laid out as
    // typing lays it out, with the cursor at the UTF-16 index cursor (cmdTail says how much
    // of the line lies after it).
    void showCommandLine(QString text, qsizetype cursor);
    // The blinking cursor: "_" in its cell, or what the line holds there.
    void drawCursor(bool visible);
    // The background copied over everything, the record emptied, the prompt redrawn.
    void ClScreen();
    // Fills one cell with a colour without touching the record.
    void ColourBlock(int row, int column, qint32 colour);
    // The chart of the sixteen built-in colours from the row given.
    void ColourText(double startline);

    // The font the next characters are drawn in.
    void setFace(GlyphCache::Face face) { m_face = face; }
    // Back to the console font, as after any failed command.
    void resetFont() { m_face = GlyphCache::Face::Console; }

    // The background behind the text: a colour, with a picture at the top-left corner at its
    // natural size when one is given (its transparent parts show the colour). The console
    // shows it at the next ClScreen.
    void setBackground(qint32 colour, const QImage &picture = QImage());
    qint32 backgroundColour() const { return m_backgroundColour; }

    // The drawing commands paint straight onto the console surface and say where.
    void markDirty(const QRect &rect);

    // Pixel rows moved within the console surface (the pager scrolls this way).
    void scrollPixels(const QRect &source, QPoint target);
    // The cell record follows a scroll of the first columns of whole rows.
    void moveRecordRows(int fromRow, int count, int toRow, int columns)
    {
        m_cells.moveRows(fromRow, count, toRow, columns);
    }

    // The window is told once when the surface starts to differ from what it painted.
    void setOnDirty(std::function<void()> onDirty) { m_onDirty = std::move(onDirty); }
    QRegion takeDirty();

    int curCol = kHomeColumn;
    int curRow = kHomeRow;
    QString cmdText;
    // UTF-16 units of cmdText after the cursor: 0 while the cursor is at the end, where typing
    // and Backspace work on the line directly.
    qsizetype cmdTail = 0;
    Mode mode() const { return m_mode; }
    // Into a screen of its own (the pager, a question, an external command), from one, or
    // between two of them, the console starts afresh: cleared, in the console font; back at
    // the prompt, "COMMAND: " and the line being typed are drawn again. The prompt and an
    // alias being expanded share the screen, so moving between them changes nothing shown.
    void setMode(Mode next);

private:
    Mode m_mode = Mode::Prompt;
    void copyFromBackground(const QRect &rect);
    void copyRowsFromBackground(const QRect &rect);
    void fill(const QRect &rect, qint32 colour);
    // The background (or text background) of cells, with a glyph's coverage (stride
    // values a row) over them when given.
    void paintCell(const QRect &cells, const uchar *coverage, int stride, qint32 colour);
    // One character into one cell, recorded and painted, leaving the row's order alone.
    void putChar(QChar character, int column, int row, qint32 colour);
    // One cluster of one or two cells; control characters become their stand-ins.
    void putCluster(QStringView cluster, int width, bool rightToLeft, int column, int row,
                    qint32 colour);
    // Before cells are written over: the half of a wide character they leave is blanked.
    void unpair(int column, int row, int width);
    void blankCell(int column, int row);
    // Paints a recorded cell again (the lead of a wide character paints both cells).
    void paintRecorded(int column, int row);
    // The first cell of the character starting at clusterStart of a command line.
    static QPoint typedCell(QStringView line, qsizetype clusterStart);
    // Blanks from column 1 of the prompt row to the cell after the typed line.
    void blankTyped();
    // Shows the right-to-left runs of a row shaped and in visual order, or the row in its
    // logical order again once it holds none.
    void layoutRow(int row);

    const Options &m_options;
    const NowPlaying &m_nowPlaying;
    // picMain(1), what lies behind the text: a picture, or none while the background is
    // one colour, which is then filled in (a start makes and touches 3 MB less).
    QImage m_surfaces[3];
    QRgb m_plainBackground;
    BlendTable m_blends;
    CellRecord m_cells;
    GlyphCache m_glyphs;
    GlyphCache::Face m_face = GlyphCache::Face::Console;
    qint32 m_backgroundColour = 0;
    // Changed since the window last took them; and where the console may differ from the
    // background, all a clear has to copy (a batch clears before each of its lines).
    RowSpans m_dirty{Cell::kSurfaceHeight};
    RowSpans m_unlikeBackground{Cell::kSurfaceHeight};
    std::function<void()> m_onDirty;
};
