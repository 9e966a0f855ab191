#include "console/CommandLineEdit.h"

#include "foundation/TextCells.h"

void CommandLineEdit::insert(const QString &typed)
{
    text.insert(cursor, typed);
    cursor += typed.size();
}

qsizetype CommandLineEdit::previousStart() const
{
    if (cursor <= 0)
        return 0;
    return TextCells::lastCluster(QStringView(text).left(cursor)).start;
}

void CommandLineEdit::left()
{
    cursor = previousStart();
}

void CommandLineEdit::right()
{
    if (!atEnd())
        cursor = TextCells::clusterAt(text, cursor).next;
}

void CommandLineEdit::deleteForward()
{
    if (!atEnd())
        text.remove(cursor, TextCells::clusterAt(text, cursor).next - cursor);
}

void CommandLineEdit::backspace()
{
    const qsizetype start = previousStart();
    text.remove(start, cursor - start);
    cursor = start;
}

void CommandLineEdit::cutRange(qsizetype from, qsizetype to)
{
    // An empty cut leaves the last one to paste, as in shells.
    if (to <= from)
        return;
    cut = text.mid(from, to - from);
    text.remove(from, to - from);
    cursor = from;
}

void CommandLineEdit::cutToEnd()
{
    cutRange(cursor, text.size());
}

void CommandLineEdit::cutToStart()
{
    cutRange(0, cursor);
}

void CommandLineEdit::cutWordBefore()
{
    qsizetype from = cursor;
    while (from > 0 && text[from - 1] == u' ')
        --from;
    while (from > 0 && text[from - 1] != u' ')
        --from;
    cutRange(from, cursor);
}
