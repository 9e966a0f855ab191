#include "settings/AppearanceCommands.h"

#include "drawing/PictureFile.h"
#include "foundation/Colours.h"
#include "session/Session.h"

namespace {

void cmdTextcol(Session &s, const CommandArgs &args)
{
    s.opt[Options::TextColour] = QString::number(Colours::GetColour(args.allArgs, Colours::kWhite));
    s.console.ClScreen();
}

void cmdTextbgc(Session &s, const CommandArgs &args)
{
    const QString argument = args.allArgs.isEmpty() ? QStringLiteral("0") : args.allArgs;
    if (argument.toLower() == u"none") {
        s.opt[Options::TextBackground].clear();
        return;
    }
    s.opt[Options::TextBackground] = QString::number(Colours::GetColour(argument, Colours::kWhite));
    s.console.ClScreen();
}

// A file that exists must be a picture; anything else is a colour, black when it names none.
void cmdBackground(Session &s, const CommandArgs &args)
{
    const QString &argument = args.allArgs;
    if (!argument.isEmpty() && s.PWAD.FileExists(argument)) {
        const QImage picture = PictureFile::load(argument);
        s.console.setBackground(s.console.backgroundColour(), picture);
    } else {
        s.console.setBackground(argument.isEmpty() ? Colours::kBlack
                                                   : Colours::GetColour(argument, Colours::kBlack));
    }
    s.opt[Options::Background] = argument;
    s.console.ClScreen();
}

} // namespace

void registerAppearanceCommands(CommandTable &table)
{
    table.add(QStringLiteral("textcol"), cmdTextcol);
    table.add(QStringLiteral("textbgc"), cmdTextbgc);
    table.add(QStringLiteral("background"), cmdBackground);
}
