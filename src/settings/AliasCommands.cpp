#include "settings/AliasCommands.h"

#include "foundation/Messages.h"
#include "session/Session.h"

namespace {

// The store's list with binding keys turned into the names of their keys.
QString assignments(const KeyValueStore &store)
{
    QString text = Msg::kSetUsage + store.ListAll();
    text.replace(QString(kBindingMark) + u'F', QStringLiteral("Key: F"));
    text.replace(QString(kBindingMark), QStringLiteral("Key combination: Alt+"));
    return text;
}

// clang-format off
const HelpPage kSetHelp = {{
    {1, "set [<assignment>] [<command/variable>]"},
    {3,
"Used to assign a word or letters to an existing command or variable.  E.g. 'set e exit' will "
"cause the program to exit when 'e' is entered as a command; 'set shared /usr/share' would    "
"cause '%shared%' to be replaced with '/usr/share' in a command"},
    {7,
"Type 'set' on its own to see current assignments.  Type set and an existing assignment       "
"(without a command) to delete the assignment."}}};
// clang-format on

void cmdSet(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.pager.mline(assignments(s.CF));
        return;
    }
    if (args.allArgs.contains(kBindingMark)) {
        s.ErorMsg(Msg::kInvalidNotSign, 1);
        return;
    }
    if (args.rest.isEmpty()) {
        s.CF.DeleteKey(args.arg1);
        s.console.DrawText(Msg::commandDeleted(args.arg1), 1);
        return;
    }
    s.CF.SetValue(args.arg1.toLower(), args.rest);
    s.console.DrawText(Msg::commandSet(args.arg1, args.rest), 1);
}

// Binds a command to a key, or unbinds the key when the command is empty.
void bindKey(Session &s, const QString &storeKey, const QString &command,
             const QString &boundMessage, const QString &unboundMessage)
{
    if (!command.isEmpty()) {
        s.CF.SetValue(storeKey, command);
        s.console.DrawText(boundMessage, 1);
        return;
    }
    s.CF.DeleteKey(storeKey);
    s.console.DrawText(unboundMessage, 1);
    s.console.DrawText(Msg::kSeeAssignments, 2);
}

// clang-format off
const HelpPage kFunctionKeyHelp = {{
    {1, "f1 - f12 <command>"},
    {3,
"Binds a command to a function key, so that pressing the key runs it.  Use without a command  "
"to unbind the key."}}};
// clang-format on

// f1..f12 bind the whole argument text.
void cmdFunctionKey(Session &s, const CommandArgs &args)
{
    const QString key = args.word.toUpper();
    bindKey(s, QString(kBindingMark) + key, args.allArgs, Msg::functionKeySet(key, args.allArgs),
            Msg::functionKeyUnbound(key));
}

// clang-format off
const HelpPage kAltHelp = {{
    {1, "alt <letter> <command>"},
    {3,
"Binds a command to the Alt key and a letter, so that pressing Alt and the letter runs it.    "
"Use without a command to unbind the key combination."}}};
// clang-format on

// alt takes the letter from the first argument and binds the rest.
void cmdAlt(Session &s, const CommandArgs &args)
{
    if (args.allArgs.isEmpty()) {
        s.ErorMsg(Msg::kAltUsage, 1);
        return;
    }
    const QChar first = args.arg1.isEmpty() ? QChar() : args.arg1[0].toLower();
    if (first < u'a' || first > u'z')
        return;
    const QString letter = args.arg1.toUpper();
    bindKey(s, QString(kBindingMark) + letter, args.rest, Msg::altKeySet(letter, args.rest),
            Msg::altKeyUnbound(letter));
}

} // namespace

void registerAliasCommands(CommandTable &table)
{
    table.add(QStringLiteral("set"), cmdSet, kSetHelp, {.confirmInBatch = true});
    table.add(QStringLiteral("alt"), cmdAlt, kAltHelp, {.confirmInBatch = true});
    for (int n = 1; n <= 12; ++n)
        table.add(QStringLiteral("f%1").arg(n), cmdFunctionKey, kFunctionKeyHelp,
                  {.confirmInBatch = true});
}
