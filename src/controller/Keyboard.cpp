#include "controller/Keyboard.h"

#include "controller/PopupMenus.h"
#include "console/VirtualKeys.h"
#include "foundation/FileOps.h"
#include "foundation/Messages.h"
#include "foundation/RuntimeError.h"
#include "session/CommandWait.h"
#include "session/Session.h"
#include "settings/AliasCommands.h"

#include <QHash>
#include <algorithm>
#include <cmath>

void Keyboard::keystroke(int code, int shift, int character)
{
    keyDown(code, shift);
    if (character != 0)
        keyPress(character);
}

void Keyboard::keyDown(int code, int shift)
{
    if (CommandWait *wait = m_session.wait) {
        // Keys typed while a command waits would otherwise edit or run a second command
        // line inside it: only Escape and Break are heard, and both give up the wait.
        if (code == Vk::Pause && m_session.batch.running())
            m_session.batch.stopbatch();
        if (code == Vk::Escape || code == Vk::Pause)
            wait->cancel();
        return;
    }
    Console &console = m_session.console;
    switch (console.mode()) {
    case Console::Mode::Prompt:
        if (!m_session.batch.running())
            promptKeyDown(code, shift);
        break;
    case Console::Mode::Pager:
        pagerKeyDown(code);
        break;
    case Console::Mode::ConfirmationAwaited:
        answerDeletion(code);
        break;
    default:
        if (code == Vk::Menu)
            openScreenMenu(m_session, cursorPoint());
        break;
    }
    if (m_session.batch.running() && code == Vk::Pause)
        m_session.batch.stopbatch();
}

void Keyboard::promptKeyDown(int code, int shift)
{
    // F10 would start the window system's menu activation; the Escape cancels it.
    if (code == Vk::F10)
        sendKeystroke(Vk::Escape, Vk::Escape);
    if (m_prompt.keyDown(code, shift))
        return;

    if (shift == Vk::AltMask && code >= Vk::A && code <= Vk::Z) {
        const QChar letter(code);
        runBinding(QString(kBindingMark) + letter, Msg::altKeyNotDefined(letter));
        return;
    }
    if (shift == Vk::CtrlMask) {
        Desktop &desktop = m_session.desktop();
        if (code == Vk::V) {
            m_session.console.TypeText(desktop.clipboardText());
        } else if (code == Vk::C) {
            desktop.setClipboardText(m_session.console.cmdText);
        } else if (code == Vk::X) {
            desktop.setClipboardText(m_session.console.cmdText);
            resetCommandLine();
            m_session.console.ClScreen();
        }
    }
    // Shift+Insert pastes the clipboard as Ctrl+V does, as in terminals.
    if (shift == Vk::ShiftMask && code == Vk::Insert)
        m_session.console.TypeText(m_session.desktop().clipboardText());
    if (code >= Vk::F1 && code <= Vk::F12) {
        const int n = code - Vk::F1 + 1;
        runBinding(QString(kBindingMark) + u'F' + QString::number(n),
                   Msg::functionKeyNotDefined(n));
    } else if (code == Vk::Menu) {
        clickX = 0;
        clickY = 0;
        openScreenMenu(m_session, cursorPoint());
    }
}

void Keyboard::runBinding(const QString &storeKey, const QString &notDefinedMessage)
{
    const QString binding = m_session.CF.GetValue(storeKey);
    resetCommandLine();
    if (binding == KeyValueStore::kNotFound) {
        m_session.console.ClScreen();
        m_session.ErorMsg(notDefinedMessage, 1);
        return;
    }
    if (startsWithLastcmd(binding))
        m_session.console.TypeText(m_session.opt[Options::LastCommand]);
    else
        m_session.exe(binding);
}

void Keyboard::pagerKeyDown(int code)
{
    Session &s = m_session;
    Pager &pager = s.pager;
    // The keys that move through the text, with their pager operations.
    static const QHash<int, int> moves = {
        {Vk::Down, 1}, {Vk::Up, 2}, {Vk::PageDown, 3}, {Vk::PageUp, 4}, {Vk::End, 5},
    };
    if (const auto move = moves.constFind(code); move != moves.constEnd()) {
        pager.mLineDisp(*move);
        return;
    }
    switch (code) {
    case Vk::Escape:
        pager.plView = false;
        s.setWindowTitle(Msg::kWindowTitle);
        s.console.setMode(Console::Mode::Prompt);
        m_prompt.leftPager();
        s.batch.resumetimed();
        return;
    case Vk::Home:
        s.console.ClScreen();
        pager.mLineDisp(0);
        return;
    case Vk::Menu:
        openPagerMenu(s, QPoint(0, 0));
        return;
    default:
        break;
    }
    if (!pager.plView)
        return;
    MediaPlayer &player = s.players.inUse();
    switch (code) {
    case Vk::Enter:
        s.players.skipTo(pager.pageTop >= 2 ? pager.pageTop - 2 : 0);
        break;
    case Vk::F9:
        s.players.playPause();
        break;
    case Vk::F11:
        s.players.skipPrevious();
        break;
    case Vk::F12:
        s.players.skipNext();
        break;
    case Vk::BracketLeft: {
        const double p = player.position();
        player.setPosition(std::floor(p) - 10 <= -1 ? 0 : p - 10);
        break;
    }
    case Vk::BracketRight: {
        const double p = player.position();
        const double d = player.duration();
        player.setPosition(std::floor(d) <= std::floor(p) + 10 ? std::floor(d) - 1 : p + 10);
        break;
    }
    default:
        break;
    }
}

void Keyboard::answerDeletion(int code)
{
    Session &s = m_session;
    std::optional<RuntimeError> failure;
    try {
        if (code == Vk::Y)
            FileOps::Kill(s.opt[Options::PendingDeletion]);
    } catch (const RuntimeError &error) {
        // Reported once the console is back at the prompt.
        failure = error;
    }
    s.opt[Options::PendingDeletion].clear();
    // The answering key is about to arrive as a character; this takes it back off the line.
    sendKeystroke(Vk::Backspace, Vk::Backspace);
    s.console.setMode(Console::Mode::Prompt);
    s.batch.resumetimed();
    if (failure)
        s.reportError(*failure);
}

void Keyboard::keyPress(int &character)
{
    Console &console = m_session.console;
    if (m_session.wait || m_session.batch.running() || console.mode() != Console::Mode::Prompt)
        return;
    if (m_prompt.keyPress(character)) {
        character = 0;
        return;
    }
    switch (character) {
    case Vk::Backspace:
        console.eraseTyped();
        break;
    case Vk::Enter:
        enter();
        break;
    case Vk::Escape:
        character = 0;
        console.redrawPrompt();
        resetCommandLine();
        break;
    case Vk::CtrlC:
    case Vk::CtrlV:
    case Vk::CtrlX:
        character = 0;
        break;
    default:
        console.TypeText(QString(QChar(character)));
        break;
    }
}

void Keyboard::enter()
{
    Console &console = m_session.console;
    console.redrawPrompt();
    const QString typed = console.cmdText;
    if (!typed.isEmpty()) {
        QString line = typed;
        m_session.interpreter.exe(line);
        console.cmdText = line;
    }
    m_prompt.entered(typed);
    if (startsWithLastcmd(console.cmdText)) {
        console.cmdText.clear();
        console.TypeText(m_session.opt[Options::LastCommand]);
    } else {
        console.cmdText.clear();
    }
}

void Keyboard::resetCommandLine()
{
    Console &console = m_session.console;
    console.curCol = Console::kHomeColumn;
    console.curRow = Console::kHomeRow;
    console.cmdText.clear();
    console.cmdTail = 0;
    m_prompt.reset();
}

void Keyboard::mouseUp(int button, int, int x, int y)
{
    // The menus run commands: none while one waits.
    if (m_session.wait)
        return;
    // The middle button pastes the X selection where Ctrl+V pastes the clipboard.
    if (button == Vk::MiddleButton && m_session.console.mode() == Console::Mode::Prompt &&
        !m_session.batch.running())
        m_session.console.TypeText(m_session.desktop().selectionText());
    if (button != Vk::RightButton)
        return;
    if (m_session.console.mode() == Console::Mode::Pager) {
        openPagerMenu(m_session, QPoint(x, y));
        return;
    }
    clickX = static_cast<qint16>(std::clamp(x, -32768, 32767));
    clickY = static_cast<qint16>(std::clamp(y, -32768, 32767));
    openScreenMenu(m_session, QPoint(x, y));
}

void Keyboard::gotFocus()
{
    m_session.cursorTimer.timFlash.start();
    drawCursor(u'_');
}

void Keyboard::lostFocus()
{
    m_session.cursorTimer.timFlash.stop();
    drawCursor(u' ');
}

void Keyboard::drawCursor(QChar shape)
{
    // The cursor belongs to the command line: in the pager or another mode its cell holds
    // other text.
    Console &console = m_session.console;
    if (console.mode() != Console::Mode::Prompt)
        return;
    console.drawCursor(shape == u'_');
}

QPoint Keyboard::cursorPoint() const
{
    return Cell::origin(m_session.console.curCol, m_session.console.curRow);
}

void Keyboard::sendKeystroke(int code, int character)
{
    QMetaObject::invokeMethod(
        &m_queue,
        [this, code, character] { m_session.handleEvent([&] { keystroke(code, 0, character); }); },
        Qt::QueuedConnection);
}
