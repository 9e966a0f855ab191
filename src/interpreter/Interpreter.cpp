#include "interpreter/Interpreter.h"

#include "foundation/Messages.h"
#include "foundation/RuntimeError.h"
#include "interpreter/CommandArgs.h"
#include "console/Console.h"
#include "formats/KeyValueStore.h"
#include "settings/EventLog.h"
#include "settings/Options.h"

Interpreter::Interpreter(InterpreterHost &host, State state) : m_host(host), m_state(state) {}

QString Interpreter::expandVariables(QString cmd) const
{
    // Positions are 0-based here; the search resumes one past where the closing "%" stood
    // before the replacement, whatever the value's length.
    qsizetype p1 = -1;
    int expansions = 0;
    for (;;) {
        const qsizetype p0 = cmd.indexOf(u'%', p1 + 1);
        if (p0 < 0)
            break;
        p1 = cmd.indexOf(u'%', p0 + 1);
        if (p1 < 0)
            break;
        const QString value = m_state.aliases.GetValue(cmd.mid(p0 + 1, p1 - p0 - 1));
        if (value == KeyValueStore::kNotFound)
            continue;
        if (++expansions > kMaxExpansions ||
            cmd.size() - (p1 - p0 + 1) + value.size() > kMaxExpandedLength)
            throw RuntimeError::outOfStringSpace();
        cmd.replace(p0, p1 - p0 + 1, value);
    }
    return cmd;
}

void Interpreter::exe(QString &cmd)
{
    // A command that waits lets events run; none of them may start a command inside it.
    if (m_host.commandWaiting())
        return;
    try {
        run(cmd);
    } catch (const RuntimeError &error) {
        trap(error);
    } catch (const std::bad_alloc &) {
        trap(RuntimeError::outOfMemory());
    }
}

void Interpreter::run(QString &cmd)
{
    Console &console = m_state.console;
    const QString received = cmd;
    if (!startsWithLastcmd(cmd))
        m_state.options[Options::LastCommand] = cmd;

    const CommandArgs args = CommandArgs::split(expandVariables(cmd));
    cmd = args.word;
    const QString word = args.word.toLower();

    if (console.mode() == Console::Mode::Prompt)
        m_recDepth = 0;
    m_state.log.EventLog(received, false);
    const CommandTable::Entry entry = m_state.commands.find(word);
    if (!entry.facts.keepsScreen)
        console.ClScreen();

    if (entry.handler) {
        if (entry.facts.confirmInBatch && !m_host.confirmInBatch(received))
            return;
        if (!entry.facts.needsDatabase || m_host.databaseReady())
            m_host.runHandler(entry.handler, args);
    } else {
        const QString alias = m_state.aliases.GetValue(word);
        if (alias == KeyValueStore::kNotFound) {
            console.setMode(Console::Mode::Prompt);
            m_host.ErorMsg(Msg::notDefined(args.word), 1);
        } else {
            console.setMode(Console::Mode::AliasExpansion);
            if (m_recDepth >= kMaxAliasDepth) {
                m_host.ErorMsg(Msg::infiniteLoop(m_recDepth), 1);
                console.setMode(Console::Mode::Prompt);
                return;
            }
            ++m_recDepth;
            QString line = args.allArgs.isEmpty() ? alias : alias + u' ' + args.allArgs;
            exe(line);
        }
    }
    if (console.mode() == Console::Mode::AliasExpansion)
        console.setMode(Console::Mode::Prompt);
}

void Interpreter::trap(const RuntimeError &error)
{
    Console &console = m_state.console;
    console.setMode(Console::Mode::Prompt);
    console.resetFont();
    m_host.resumeTimedCommands();
    m_host.reportError(error);
}
