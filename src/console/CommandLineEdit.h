#pragma once
// The command line as a text and a cursor in it, with no screen: the cursor moves over whole
// characters (a character with its marks, a surrogate pair), and the cuts are a shell's:
// to the end, to the start, the word before (blanks, then what is not a blank).

#include <QString>

struct CommandLineEdit
{
    QString text;
    // A UTF-16 index at the start of a character, or text.size() at the end.
    qsizetype cursor = 0;
    // What the last cut took, put back by paste().
    QString cut;

    bool atEnd() const { return cursor >= text.size(); }
    void set(const QString &line)
    {
        text = line;
        cursor = line.size();
    }
    void insert(const QString &typed);
    void left();
    void right();
    void home() { cursor = 0; }
    void end() { cursor = text.size(); }
    // Delete: the character at the cursor; Backspace: the one before it.
    void deleteForward();
    void backspace();
    void cutToEnd();
    void cutToStart();
    void cutWordBefore();
    void paste() { insert(cut); }

private:
    // Where the character before the cursor starts.
    qsizetype previousStart() const;
    void cutRange(qsizetype from, qsizetype to);
};
