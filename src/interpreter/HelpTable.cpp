#include "interpreter/HelpTable.h"

namespace {

// One entry a command; exit and quit share one, as do f1 to f12. A text that wraps is written
// one console row to a literal, flush left, so each literal reads as the row shows:
// 93 characters, its trailing blanks included. Some rows run two words together where a word
// ends in column 93 ("seen" and "here"); the console shows them on two rows, as meant.
// clang-format off
const HelpEntry kEntries[] = {
    {"about", {
        {1, "about"},
        {3, "Shows the program's name, version, copyright and web address."}}},
    {"addat", {
        {1, "addat <artist number> <track number>"},
        {3,
"Adds a track of the Velmora database to the end of the playlist and shows the playlist."}}},
    {"at", {
        {1, "at <milliseconds> <command>"},
        {3,
"Runs a command after a certain number of milliseconds has passed since a batch file started  "
"executing."},
        {6,
"'at' commands can be placed anywhere within a batch file, but it is best to place them at the"
"beginning.  After an 'at' command has been encountered in a batch file, the only way to stop "
"the file running is to press the Break key (unless it is able to stop itself with the 'end'  "
"command)."}}},
    {"audio", {
        {1, "audio <repetitions>,<filename>"},
        {3,
"Plays a sound or music file the given number of times (0 repeats it until stopped), while    "
"the playlist plays on.  Use with no argument to stop it."}}},
    {"alt", {
        {1, "alt <letter> <command>"},
        {3,
"Binds a command to the Alt key and a letter, so that pressing Alt and the letter runs it.    "
"Use without a command to unbind the key combination."}}},
    {"background", {
        {1, "background [<picture filename/colour>]"},
        {3,
"Changes the background picture or colour.  Use with no argument for black screen.  Supported "
"file types: bitmap (.bmp) files, icon (.ico) files, cursor (.cur) files, run-length encoded  "
"(.rle) files, PNG (.png) files, GIF (.gif) files, JPEG (.jpg) files, PPM (.ppm) files, WebP  "
"(.webp) files, TIFF (.tif) files, and TGA (.tga) files.  Pictures should ideally be 1024x768 "
"resolution."}}},
    {"batch", {
        {1, "batch <filename>"},
        {3,
"Runs a idrisk2k Command batch file.  Batch files are lists of commands that are executed in  "
"order.  You can make a batch file yourself in a text editor such as gedit.  Each command     "
"must be on its own line."},
        {7, "To end a batch file before it finishes itself, press the Break key."},
        {9, "See the 'at' command for how to execute a command after a certain time."},
        {11, "The 'end' command will stop execution of a batch file."}}},
    {"box", {
        {1, "box <x1>,<y1>,<x2>,<y2>,[<colour>],[<width>],[<fill>]"},
        {3,
"Draws a box on the screen with its corners at the pixel coordinates x1,y1 and x2,y2.  The    "
"width is the thickness of its edge in pixels.  Set the fill argument to '1' to fill the box  "
"with the colour."}}},
    {"circle", {
        {1, "circle <x>,<y>,<radius>,[<colour>],[<width>],[<fill>]"},
        {3,
"Draws a circle on the screen centred at the pixel coordinates x,y.  The width is the         "
"thickness of its edge in pixels.  Any fill argument fills the circle with the colour."}}},
    {"clipboard", {
        {1, "clipboard [<set> <text>]"},
        {3,
"Displays the text on the clipboard (if there is any).  Use the set argument to set the       "
"contents of the clipboard e.g.:"},
        {6, "clipboard set This text will now be on the clipboard."}}},
    {"cls", {
        {1, "cls"},
        {3, "Clears the screen."}}},
    {"cmd", {
        {1, "cmd <command>"},
        {3,
"Runs a command line in the system's shell (/bin/sh) and displays what it printed.  Press     "
"Escape to return to idrisk2k Command without waiting for its output."}}},
    {"block", {
        {1,
"block <x (column)>,<y (row)>,[<colour>],[<repetitions right>],[<repetitions down>]"},
        {3,
"Fills the character cell at the column and row given with a colour.  The repetitions fill    "
"more cells to the right and downwards."}}},
    {"crazy", {
        {1, "crazy [<mode>]"},
        {3, "Draws random blocks, boxes, circles, lines and pixels on the screen."},
        {5,
"Modes: 0 = off, 1 = blocks, 2 = boxes, 3 = circles, 4 = lines, 5 = pixels, 6 = all.  Omitting"
"the mode either turns 'crazy' off or on to mode 6."}}},
    {"curfol", {
        {1, "curfol"},
        {3, "Shows the full path of the current folder."}}},
    {"end", {
        {1, "end"},
        {3,
"Stops the execution of a batch file.  If the batch file contains no 'at' commands, it will   "
"stop itself after all commands have been executed.  Otherwise it is a good idea to use an    "
"'at' command to end a batch file after all other 'at' commands have been executed to save the"
"user from having to press the Break key."}}},
    {"eventlog", {
        {1, "eventlog [<max log size>]"},
        {3,
"Displays the event log - the log of commands and error messages.  To set the maximum log size"
"type a number as the argument.  Default is 1,048,576 bytes (1 MB)."}}},
    {"exit quit", {
        {1, "exit/quit"},
        {3,
"Closes idrisk2k Command.  The aliases, variables, key bindings, options and playlist are     "
"saved first."}}},
    {"export", {
        {1, "export <filename>"},
        {3, "Exports the text on the screen to a text file.  E.g.:"},
        {5, "export /home/idrisk/screen.txt"}}},
    {"f1 f2 f3 f4 f5 f6 f7 f8 f9 f10 f11 f12", {
        {1, "f1 - f12 <command>"},
        {3,
"Binds a command to a function key, so that pressing the key runs it.  Use without a command  "
"to unbind the key."}}},
    {"filedel", {
        {1, "filedel <filename>"},
        {3, "Deletes a file.  You are asked to press 'y' to confirm the deletion first."}}},
    {"fileinfo", {
        {1, "fileinfo <filename>"},
        {3,
"Shows the details of a file: its type, its size, its MS-DOS name and when it was created,    "
"last modified and last accessed."}}},
    {"fileren", {
        {1, "fileren <old filename> <new filename>"},
        {3,
"Renames a file, or moves it to another folder.  Put a filename that contains spaces in       "
"double quotes."}}},
    {"filesearch", {
        {1, "filesearch <pattern> <folder>"},
        {3,
"Searches for files and displays the results.  The pattern specifies what to search for.  You "
"can use wild cards to search for multiple files.  You must also specify the folder to start  "
"the search in.  Examples:"},
        {7, "filesearch * / - searches for all files on the whole file system"},
        {8,
"filesearch *.doc /home/idrisk/Documents - searches for all Microsoft Word Documents in the   "
"Documents folder"},
        {10,
"filesearch picture1.jpg /media/cdrom/Pics - searches for picture1.jpg files in a folder on   "
"the CD drive"}}},
    {"textbgc", {
        {1, "textbgc <colour,none>"},
        {3,
"Sets the colour behind each character of text.  Use 'none' to draw text straight onto the    "
"background.  Use with no argument for black."}}, 6},
    {"textcol", {
        {1, "textcol <colour>"},
        {3, "Sets the colour of text.  Use with no argument for white text."}}, 6},
    {"help", {
        {1, "help [<command>]"},
        {3,
"Shows help on the command given, or the list of all commands when no command (or an unknown  "
"one) is given."}}},
    {"id3", {
        {1, "id3 [<artist number> <track number>/<mp3 filename>]"},
        {3,
"Shows the id3v1 tag of mp3 files.  Without arguments the currently playing track's details   "
"are displayed.  You can specify the artist and track numbers to show details for another     "
"track in the Velmora database or you can specify a filename of any other .mp3 file."},
        {7,
"The details shown may not necessarily be the same as the details held for the track in the   "
"Velmora database."}}},
    {"lastcmd", {
        {1, "lastcmd"},
        {3,
"Puts the text of last command entered in the Command line.  This command is bound to the F3  "
"key by default."}}},
    {"line", {
        {1, "line <x1>,<y1>,<x2>,<y2>,[<colour>],[<width>]"},
        {3,
"Draws a line on the screen from the pixel coordinates x1,y1 to x2,y2.  The width is the      "
"thickness of the line in pixels."}}},
    {"listartists", {
        {1, "listartists"},
        {3, "Lists the artists in the Velmora database with their artist numbers."}}},
    {"listbatches", {
        {1, "listbatches"},
        {3,
"Lists the batches (named lists of tracks) in the Velmora database with their batch numbers."}}},
    {"listfonts", {
        {1, "listfonts"},
        {3, "Lists the fonts installed on the system, for use with the text2 command."}}},
    {"listgenres", {
        {1, "listgenres"},
        {3, "Lists the genres with their genre numbers, for use with the pgenren command."}}},
    {"lyrics", {
        {1, "lyrics [<artist number> <track number>]"},
        {3,
"Shows the lyrics of a track in the Velmora database.  Without arguments the lyrics of the    "
"current track in the playlist are shown."},
        {6,
"The artist number alone (e.g. 'lyrics 5') takes the track number of the current track."}}},
    {"notes", {
        {1, "notes [<artist number> <track number>]"},
        {3,
"Shows the notes of a track in the Velmora database.  Without arguments the notes of the      "
"current track in the playlist are shown."},
        {6,
"The artist number alone (e.g. 'notes 5') takes the track number of the current track."}}},
    {"now", {
        {1, "now"},
        {3, "Shows the current date and time."}}},
    {"pixel", {
        {1, "pixel <x>,<y>,[<colour>]"},
        {3, "Sets the pixel at the coordinates x,y to a colour."}}},
    {"set", {
        {1, "set [<assignment>] [<command/variable>]"},
        {3,
"Used to assign a word or letters to an existing command or variable.  E.g. 'set e exit' will "
"cause the program to exit when 'e' is entered as a command; 'set shared /usr/share' would    "
"cause '%shared%' to be replaced with '/usr/share' in a command"},
        {7,
"Type 'set' on its own to see current assignments.  Type set and an existing assignment       "
"(without a command) to delete the assignment."}}},
    {"showfile", {
        {1, "showfile <filename>"},
        {3, "Shows the text of a file, a page at a time."}}},
    {"write", {
        {1, "write <text>"},
        {3, "Writes the text on the screen."}}},
    {"loadvld", {
        {1, "loadvld <filename>"},
        {3,
"Loads a Velmora music database and empties the playlist.  The database loaded last is loaded "
"again when idrisk2k Command starts."}}},
    {"showvld", {
        {1, "showvld"},
        {3,
"Shows the internal index of the loaded Velmora database.  This could take a few minutes."}}},
    {"dbatch", {
        {1, "dbatch <batch number>"},
        {3,
"Shows the tracks in a batch of the Velmora database.  See the list of batches by using the   "
"listbatches command."}}},
    {"openurl", {
        {1, "openurl <url>"},
        {3, "Downloads data from a URL and displays the HTML source code."},
        {5, "E.g. openurl https://example.com/"}}},
    {"optvars", {
        {1, "optvars"},
        {3,
"Shows the internal variables used by the program for certain settings.  They can also be seen"
"here in the settings file: ~/.config/Idrisk Tovar/Idrisk Tovar.ini, group [i2kCmd]"}}},
    {"partist", {
        {1, "partist <search criteria>"},
        {3,
"Creates a playlist of the tracks of every artist whose name contains the search criteria."}}},
    {"partistn", {
        {1, "partistn <artist number>"},
        {3,
"Creates a playlist of the tracks of one artist.  See the list of artists by using the        "
"listartists command."}}},
    {"pat", {
        {1, "pat <artist number> <track number>"},
        {3,
"Plays a track of the Velmora database at once.  The playlist is replaced by that one track."}}},
    {"pbatch", {
        {1, "pbatch <search criteria>"},
        {3,
"Creates a playlist of the tracks in every batch whose name contains the search criteria."}}},
    {"pbatchn", {
        {1, "pbatchn <search criteria>"},
        {3,
"Creates a playlist of the tracks in the batch with the number given.  See the list of        "
"batches by using the listbatches command."}}},
    {"picture", {
        {1, "picture <x>,<y>,<repetitions right>,<repetitions down>,<filename>"},
        {3,
"Draws a picture file on the screen with its top left corner at the pixel coordinates x,y.    "
"The repetitions draw more copies of it to the right and downwards."}}},
    {"vlpl", {
        {1, "vlpl"},
        {3,
"Shows the current playlist.  While the playlist is visible, the following keys can be        "
"pressed:"},
        {6, "* Enter  - plays the track displayed at the top of the screen"},
        {7, "* F9     - pause/resume"},
        {8, "* F11    - start playing previous track"},
        {9, "* F12    - start playing next track"},
        {10, "* [      - rewind track by 10 seconds"},
        {11, "* ]      - fast-forward track by 10 seconds"},
        {12, "* Escape - exit playlist mode"}}},
    {"randpl", {
        {1, "randpl <y,n>"},
        {3,
"If set to on, the tracks of new playlists are put in a random order.  Type y or n to turn    "
"this feature on or off."}}},
    {"pgenren", {
        {1, "pgenren"},
        {3,
"Creates a playlist based in the specified genre number.  See the list of genres by using the "
"listgenres command."}}},
    {"ptrack", {
        {1, "ptrack <search criteria>"},
        {3, "Creates a playlist of every track whose name contains the search criteria."}}},
    {"rpas", {
        {1, "rpas <y,n>"},
        {3,
"If set to on, the playlist will reset before searching for tracks using any of the 'p' prefix"
"search commands.  Type y or n to turn this feature on or off."}}},
    {"run", {
        {1, "run <program/file> [<arguments>]"},
        {3,
"Starts a program found on the PATH (or given with its path) with any arguments given, or     "
"opens a file or web address with its default program."}}},
    {"sartist", {
        {1, "sartist <search criteria>"},
        {3,
"Searches the Velmora database for artists whose names contain the search criteria."}}},
    {"shuffle", {
        {1, "shuffle"},
        {3,
"Shuffles the playlist.  The playlist shuffles even if randpl has been set to not randomising "
"the playlist.  The playlist will play from the beginning."}}},
    {"strack", {
        {1, "strack <search criteria>"},
        {3, "Searches the Velmora database for tracks whose names contain the search criteria."}}},
    {"text", {
        {1, "text <x (column)>,<y (row)>,<colour>,<text>"},
        {3,
"Writes text on the screen in a colour, starting at the column and row given.  The text       "
"cannot contain commas."}}},
    {"text2", {
        {1,
"text2 <x>,<y>,<colour>,<font name>,<font size>,<bold>,<italic>,<underline>,<strikethrough>,  "
"<characters per line>,<text>"},
        {4,
"Displayed text on the screen at the specified coordinates.  The font name, size, bold,       "
"italic, underline, strikethrough attributes can be activated by setting the argument to '1'. "
"To wrap the text, set the charactersper line argument."}}},
    {"trackinfo", {
        {1, "trackinfo [<artist number> <track number>]"},
        {3,
"Shows all the details of a track in the Velmora database, its lyrics and notes included.     "
"Without arguments the details of the current track in the playlist are shown."}}},
    {"url2text", {
        {1, "url2text <url>"},
        {3, "Downloads a web page from a URL and displays its text without the HTML code."}}},
    {"video", {
        {1, "video <repetitions>,<x>,<y>,<width>,<height>,<filename>"},
        {3,
"Plays a video file the given number of times (0 repeats it until stopped) in a window at x,y "
"of the width and height given, all in twips (15 twips = 1 pixel).  Use with no argument to   "
"close it."}}},
    {"vldetails", {
        {1, "vldetails"},
        {3, "Switches the display of the track now playing, with its time, on or off."}}},
    {"vlpause", {
        {1, "vlpause"},
        {3, "Pauses the playlist, or resumes it when it is paused."}}},
    {"vlplay", {
        {1, "vlplay"},
        {3, "Plays the playlist from its first track, or resumes the track that is paused."}}},
    {"vlreset", {
        {1, "vlreset"},
        {3, "Stops the playlist and empties it."}}},
    {"vlvol", {
        {1, "vlvol [<0..100>]"},
        {3,
"Sets the volume of the playlist, from 0 (silent) to 100 (full), kept for the next runs.  Use "
"with no argument to show it."}}},
};
// clang-format on

const QString kGeneralList = QStringLiteral(
    "Standard commands:\r\n"
    "about, alt, background, clipboard, cls, cmd, crazy, curfol, eventlog, exit, export, f1 - f12, "
    "filedel, fileinfo, fileren, filesearch, lastcmd, listfonts, help, now, openurl, optvars, "
    "quit, "
    "run, set, showfile, textbgc, textcol, url2text, write\r\n"
    "\r\n"
    "Velmora commands:\r\n"
    "id3, loadvld, lyrics, notes, showvld, trackinfo\r\n"
    "\r\n"
    "Velmora play/search commands ('s' prefix = search, 'p' prefix = play):\r\n"
    "addat, dbatch, vldetails, vlpause, vlpl, vlplay, vlreset, vlvol, listartists, listbatches, "
    "listgenres, partist, partistn, pat, pbatch, pbatchn, pgenren, ptrack, randpl, rpas, sartist, "
    "strack\r\n"
    "\r\n"
    "Batch file commands:\r\n"
    "at, audio, batch, block, box, circle, end, line, picture, pixel, text, text2, video\r\n"
    "\r\n"
    "Type 'help <command>' to get help on a specific command.\r\n");

} // namespace

namespace Help {

std::span<const HelpEntry> entries()
{
    return kEntries;
}

QStringList words(const HelpEntry &entry)
{
    return QString::fromLatin1(entry.words).split(u' ');
}

const HelpEntry *find(const QString &word)
{
    for (const HelpEntry &entry : kEntries)
        if (words(entry).contains(word))
            return &entry;
    return nullptr;
}

QString generalList()
{
    return kGeneralList;
}

} // namespace Help
