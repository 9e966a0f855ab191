#include "settings/AppearanceCommands.h"

#include "drawing/PictureFile.h"
#include "foundation/Colours.h"
#include "session/Session.h"

namespace {

const HelpPage kTextcolHelp = {
    {{1, "textcol <colour>"},
     {3, "Sets the colour of text.  Use with no argument for white text."}},
    6};

void cmdTextcol(Session &s, const CommandArgs &args)
{
    s.opt[Options::TextColour] = QString::number(Colours::GetColour(args.allArgs, Colours::kWhite));
    s.console.ClScreen();
}

// clang-format off
const HelpPage kTextbgcHelp = {{
    {1, "textbgc <colour,none>"},
    {3,
"Sets the colour behind each character of text.  Use 'none' to draw text straight onto the    "
"background.  Use with no argument for black."}}, 6};
// clang-format on

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

// clang-format off
const HelpPage kBackgroundHelp = {{
    {1, "background [<picture filename/colour>]"},
    {3,
"Changes the background picture or colour.  Use with no argument for black screen.  Supported "
"file types: bitmap (.bmp) files, icon (.ico) files, cursor (.cur) files, run-length encoded  "
"(.rle) files, PNG (.png) files, GIF (.gif) files, JPEG (.jpg) files, PPM (.ppm) files, WebP  "
"(.webp) files, TIFF (.tif) files, and TGA (.tga) files.  Pictures should ideally be 1024x768 "
"resolution."}}};
// clang-format on

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
    table.add(QStringLiteral("textcol"), cmdTextcol, kTextcolHelp);
    table.add(QStringLiteral("textbgc"), cmdTextbgc, kTextbgcHelp);
    table.add(QStringLiteral("background"), cmdBackground, kBackgroundHelp);
}
