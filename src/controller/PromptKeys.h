#pragma once
// The keys that edit the command line at the prompt, as a shell's: moves and cuts
// (CommandLineEdit), the history of typed lines (Up, Down, Ctrl+R searching backwards) and
// Tab completion. Keyboard hands it the prompt's keys first.

#include "console/CommandHistory.h"
#include "console/CommandLineEdit.h"

class Session;

class PromptKeys
{
public:
    explicit PromptKeys(Session &session);

    // Key down at the prompt; true when the key was an editing key handled here.
    bool keyDown(int code, int shift);
    // A character at the prompt; true when it was taken here (it is then not typed).
    bool keyPress(int character);
    // A line typed and entered: into the history, which is walked from its end again.
    void entered(const QString &line);
    // The line is empty again (Escape, a key binding).
    void reset();
    // Escape left the pager, which drew the line again: the Escape's character, still to come,
    // must not empty it.
    void leftPager() { m_escapeLeftPager = true; }

private:
    CommandLineEdit current() const;
    void show(const CommandLineEdit &line);
    void walkHistory(int step);
    void complete(bool secondTab);
    void search(qsizetype before);
    void endSearch(bool keepFound);

    Session &m_session;
    CommandHistory m_history;
    // What the cuts took, for Ctrl+Y.
    QString m_cut;
    // The history line shown by Up and Down, lines().size() for the line being written,
    // which waits in m_draft.
    qsizetype m_walk = -1;
    QString m_draft;
    bool m_afterTab = false;
    bool m_escapeLeftPager = false;
    // Ctrl+R: what is searched for, the line found (an index into the history) and the line
    // as it was before the search.
    bool m_searching = false;
    QString m_query;
    qsizetype m_found = -1;
    QString m_beforeSearch;
};
