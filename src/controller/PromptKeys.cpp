#include "controller/PromptKeys.h"

#include "console/VirtualKeys.h"
#include "foundation/RuntimeError.h"
#include "interpreter/Completion.h"
#include "session/Session.h"

#include <utility>

namespace {

// The row below the command line that shows a history search.
constexpr int kSearchRow = 37;

// Ctrl with a letter, as the key-press event delivers it.
constexpr int control(char letter)
{
    return letter - 'A' + 1;
}

} // namespace

PromptKeys::PromptKeys(Session &session)
    : m_session(session),
      m_history(session.config.folder.programFolder(QStringLiteral("history")))
{
}

CommandLineEdit PromptKeys::current() const
{
    const Console &console = m_session.console;
    CommandLineEdit line{console.cmdText, console.cmdText.size() - console.cmdTail, m_cut};
    return line;
}

void PromptKeys::show(const CommandLineEdit &line)
{
    m_cut = line.cut;
    m_session.console.showCommandLine(line.text, line.cursor);
}

bool PromptKeys::keyDown(int code, int shift)
{
    const bool secondTab = m_afterTab && code == Vk::Tab;
    m_afterTab = false;
    m_escapeLeftPager = false;
    const bool ctrl = shift == Vk::CtrlMask;
    if (ctrl && code == 'R') {
        search(m_searching && m_found >= 0 ? m_found : m_history.lines().size());
        return true;
    }
    if (m_searching) {
        // Keys that type, Backspace, Escape and Enter act on the search when their character
        // comes; any other key takes the line found and then does what it does.
        const bool typing = !(shift & (Vk::CtrlMask | Vk::AltMask)) && code != Vk::Left &&
                            code != Vk::Right && code != Vk::Home && code != Vk::End &&
                            code != Vk::Up && code != Vk::Down && code != Vk::Delete &&
                            code != Vk::Tab && code != Vk::Insert && code != Vk::Menu &&
                            (code < Vk::F1 || code > Vk::F12);
        if (typing)
            return false;
        endSearch(true);
    }
    CommandLineEdit line = current();
    if (shift == 0) {
        switch (code) {
        case Vk::Left:
            line.left();
            break;
        case Vk::Right:
            line.right();
            break;
        case Vk::Home:
            line.home();
            break;
        case Vk::End:
            line.end();
            break;
        case Vk::Delete:
            line.deleteForward();
            break;
        case Vk::Up:
            walkHistory(-1);
            return true;
        case Vk::Down:
            walkHistory(1);
            return true;
        case Vk::Tab:
            complete(secondTab);
            return true;
        default:
            return false;
        }
        show(line);
        return true;
    }
    if (!ctrl)
        return false;
    switch (code) {
    case 'A':
        line.home();
        break;
    case 'E':
        line.end();
        break;
    case 'K':
        line.cutToEnd();
        break;
    case 'U':
        line.cutToStart();
        break;
    case 'W':
        line.cutWordBefore();
        break;
    case 'Y':
        line.paste();
        break;
    default:
        return false;
    }
    show(line);
    return true;
}

bool PromptKeys::keyPress(int character)
{
    if (std::exchange(m_escapeLeftPager, false) && character == Vk::Escape)
        return true;
    if (m_searching) {
        if (character == Vk::Escape) {
            endSearch(false);
            return true;
        }
        if (character == Vk::Enter) {
            endSearch(true);
            return false;
        }
        if (character == Vk::Backspace) {
            m_query.chop(1);
            search(m_history.lines().size());
        } else if (character >= Vk::Space) {
            m_query += QChar(character);
            search(m_found < 0 ? m_history.lines().size() : m_found + 1);
        }
        return true;
    }
    switch (character) {
    case Vk::Tab:
    case control('A'):
    case control('E'):
    case control('K'):
    case control('R'):
    case control('U'):
    case control('W'):
    case control('Y'):
        return true;
    case Vk::Backspace:
        // At the end of the line Backspace keeps its own way (Console::eraseTyped).
        if (m_session.console.cmdTail == 0)
            return false;
        {
            CommandLineEdit line = current();
            line.backspace();
            show(line);
        }
        return true;
    default:
        return false;
    }
}

void PromptKeys::walkHistory(int step)
{
    const QStringList &lines = m_history.lines();
    if (m_walk < 0 || m_walk > lines.size())
        m_walk = lines.size();
    const qsizetype to = m_walk + step;
    if (to < 0 || to > lines.size())
        return;
    if (m_walk == lines.size())
        m_draft = m_session.console.cmdText;
    m_walk = to;
    CommandLineEdit line = current();
    line.set(to == lines.size() ? m_draft : lines[to]);
    show(line);
}

void PromptKeys::complete(bool secondTab)
{
    Session &s = m_session;
    const CommandLineEdit line = current();
    const Completion done = Completer::complete(
        line.text, line.cursor, Completer::commandWords(s.commands, s.CF));
    if (secondTab && !done.choices.isEmpty()) {
        s.pager.mline(done.choices.join(QStringLiteral("\r\n")));
        return;
    }
    if (done.line != line.text)
        show({done.line, done.cursor, m_cut});
    m_afterTab = !done.choices.isEmpty();
}

void PromptKeys::search(qsizetype before)
{
    Console &console = m_session.console;
    if (!m_searching) {
        m_searching = true;
        m_query.clear();
        m_found = -1;
        m_beforeSearch = console.cmdText;
    }
    const qsizetype found = m_query.isEmpty() ? -1 : m_history.findBefore(m_query, before);
    if (found >= 0) {
        m_found = found;
        const QString &text = m_history.lines()[found];
        show({text, text.indexOf(m_query, 0, Qt::CaseInsensitive), m_cut});
    }
    console.DrawText(QString(Cell::kTextColumns, u' '), kSearchRow, -1, 0);
    const bool failing = !m_query.isEmpty() && found < 0;
    console.DrawText(QStringLiteral("    SEARCH: ") + m_query +
                         (failing ? QStringLiteral("  (not found)") : QString()),
                     kSearchRow, -1, 0);
}

void PromptKeys::endSearch(bool keepFound)
{
    m_searching = false;
    Console &console = m_session.console;
    console.DrawText(QString(Cell::kTextColumns, u' '), kSearchRow, -1, 0);
    if (!keepFound)
        show({m_beforeSearch, m_beforeSearch.size(), m_cut});
}

void PromptKeys::entered(const QString &line)
{
    m_walk = -1;
    m_draft.clear();
    try {
        m_history.add(line);
    } catch (const RuntimeError &error) {
        // Said at the prompt only: the pager or a waiting command keeps its screen.
        if (m_session.console.mode() == Console::Mode::Prompt)
            m_session.reportError(error);
    }
}

void PromptKeys::reset()
{
    m_walk = -1;
    m_draft.clear();
    m_afterTab = false;
    if (m_searching)
        endSearch(true);
}

