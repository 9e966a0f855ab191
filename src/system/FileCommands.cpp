#include "system/FileCommands.h"

#include "foundation/FileOps.h"
#include "foundation/LineBreaks.h"
#include "foundation/LocaleFormat.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "session/CommandWait.h"
#include "session/Session.h"
#include "system/FileSearch.h"
#include "system/GetArg.h"
#include "tovarocx/FileNameBytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "Usage: ..." on row 1 when the command has no argument text; true when it was drawn.
bool usage(Session &s, const CommandArgs &args, const HelpPage &help)
{
    if (!args.allArgs.isEmpty())
        return false;
    s.console.DrawText(help.usage(), 1);
    return true;
}

const HelpPage kFiledelHelp = {
    {{1, "filedel <filename>"},
     {3, "Deletes a file.  You are asked to press 'y' to confirm the deletion first."}}};

void cmdFiledel(Session &s, const CommandArgs &args)
{
    if (usage(s, args, kFiledelHelp))
        return;
    s.batch.pausetimed();
    s.console.setMode(Console::Mode::ConfirmationAwaited);
    s.console.DrawText(QStringLiteral("Press 'y' to confirm that you want to delete the file '") +
                           args.allArgs +
                           QStringLiteral("' or press any other key to continue."),
                       1);
    // The keyboard deletes it, or not, on the next key (Keyboard::answerDeletion).
    s.opt[Options::PendingDeletion] = args.allArgs;
}

// The name line keeps to two rows: a longer name is shown by its tail.
QString fileinfoName(const QString &name)
{
    constexpr qsizetype kLongest = 186;
    constexpr qsizetype kTail = 183;
    return name.size() <= kLongest ? name : QStringLiteral("...") + name.right(kTail);
}

// A file in a folder that can be searched but not listed still has its details; only the short
// name, counted among the folder's entries, cannot be had, and is left empty.
QString shortNameOrNone(Session &s, const QString &f)
{
    try {
        return s.utility.call(Tovar::ShortPath, {f}).toString();
    } catch (const RuntimeError &error) {
        if (error.number() != RuntimeError::permissionDenied().number())
            throw;
        return {};
    }
}

// The type of a file from its name and its first bytes. The file is opened by its own bytes,
// as a name that is not UTF-8 cannot be opened again from Qt's text of it; without blocking,
// for a FIFO.
QMimeType typeOfFile(const QString &f, const struct stat &st)
{
    const QMimeDatabase types;
    if (!S_ISREG(st.st_mode))
        return types.mimeTypeForFile(QFileInfo(f));
    QFile file;
    const int fd = ::open(FileNameBytes::encode(f).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return types.mimeTypeForFile(f, QMimeDatabase::MatchExtension);
    }
    return types.mimeTypeForFileNameAndData(QFileInfo(f).fileName(), &file);
}

// clang-format off
const HelpPage kFileinfoHelp = {{
    {1, "fileinfo <filename>"},
    {3,
"Shows the details of a file: its type, its size, its MS-DOS name and when it was created,    "
"last modified and last accessed."}}};
// clang-format on

void cmdFileinfo(Session &s, const CommandArgs &args)
{
    if (usage(s, args, kFileinfoHelp))
        return;
    const QString &f = args.allArgs;
    struct stat st
    {
    };
    if (f.isEmpty() || ::stat(FileNameBytes::encode(f).constData(), &st) != 0 ||
        S_ISDIR(st.st_mode))
        throw RuntimeError::fileNotFound();
    // The plugin's answers first, so a missing plugin leaves no half-drawn page.
    const QString shortName = shortNameOrNone(s, f);
    const QDateTime created = s.utility.call(Tovar::FileCreated, {f}).toDateTime();
    const QDateTime modified = s.utility.call(Tovar::FileModified, {f}).toDateTime();
    const QDateTime accessed = s.utility.call(Tovar::FileAccessed, {f}).toDateTime();
    Console &c = s.console;
    c.DrawText(QStringLiteral("Details for file:"), 1);
    c.DrawText(fileinfoName(f), 2);
    c.DrawText(QStringLiteral("Type of file: ") + typeOfFile(f, st).comment(), 5);
    c.DrawText(QStringLiteral("Size: ") + LocaleFormat::groupedNumber(st.st_size) +
                   QStringLiteral(" byte(s)"),
               7);
    c.DrawText(QStringLiteral("MS-DOS name: ") + shortName, 9);
    c.DrawText(QStringLiteral("Created: ") + LocaleFormat::generalDate(created), 12);
    c.DrawText(QStringLiteral("Modified: ") + LocaleFormat::generalDate(modified), 14);
    c.DrawText(QStringLiteral("Accessed: ") + LocaleFormat::generalDate(accessed), 16);
}

// clang-format off
const HelpPage kFilerenHelp = {{
    {1, "fileren <old filename> <new filename>"},
    {3,
"Renames a file, or moves it to another folder.  Put a filename that contains spaces in       "
"double quotes."}}};
// clang-format on

void cmdFileren(Session &s, const CommandArgs &args)
{
    if (usage(s, args, kFilerenHelp))
        return;
    const QString from = GetArg(args.allArgs, 0);
    const QString to = GetArg(args.allArgs, 1);
    FileOps::Name(from, to);
    s.console.DrawText(QStringLiteral("'") + from + QStringLiteral("' renamed to '") + to +
                           QStringLiteral("'"),
                       1);
}

// clang-format off
const HelpPage kFilesearchHelp = {{
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
"the CD drive"}}};
// clang-format on

void cmdFilesearch(Session &s, const CommandArgs &args)
{
    if (usage(s, args, kFilesearchHelp))
        return;
    const QString &pattern = args.arg1;
    const QString &folder = args.rest;
    const QString quoted =
        QStringLiteral("'") + pattern + QStringLiteral("' in '") + folder + QStringLiteral("'");
    s.console.DrawText(QStringLiteral("Searching for ") + quoted + QStringLiteral("..."), 1);
    const FileSearch search(pattern);
    FileSearch::Result result;
    {
        // The window goes on painting while the search runs; Escape gives it up.
        const CommandWait wait(s);
        result = search.run(folder, [&s, &wait](qsizetype hits) {
            s.console.DrawText(LocaleFormat::groupedNumber(hits) + QStringLiteral(" found so far"),
                               3);
            QCoreApplication::processEvents();
            return !wait.cancelled();
        });
        if (wait.cancelled()) {
            s.console.DrawText(QStringLiteral("Cancelled"), 3);
            return;
        }
    }
    const QString count =
        result.overflowed ? QStringLiteral("first 32,000 results only")
                          : LocaleFormat::groupedNumber(result.hits.size()) +
                                QStringLiteral(" results");
    PagerText text;
    text.add(QStringLiteral("Search results for ") + quoted + QStringLiteral(" (") + count +
             QStringLiteral(")\r\n\r\n"));
    for (const QString &hit : std::as_const(result.hits)) {
        if (!text.add(hit + QStringLiteral("\r\n")))
            break;
    }
    s.pager.mline(text.text());
}

const HelpPage kShowfileHelp = {
    {{1, "showfile <filename>"}, {3, "Shows the text of a file, a page at a time."}}};

void cmdShowfile(Session &s, const CommandArgs &args)
{
    if (usage(s, args, kShowfileHelp))
        return;
    if (!s.PWAD.FileExists(args.allArgs)) {
        s.ErorMsg(QStringLiteral("The file '") + args.allArgs +
                      QStringLiteral("' could not be found"),
                  1);
        return;
    }
    // Files written on Linux end their lines with a lone LF; the pager breaks at CR LF.
    s.pager.mline(toCrLf(TextFile::read(args.allArgs)));
}

const HelpPage kExportHelp = {{{1, "export <filename>"},
                               {3, "Exports the text on the screen to a text file.  E.g.:"},
                               {5, "export /home/idrisk/screen.txt"}}};

void cmdExport(Session &s, const CommandArgs &args)
{
    if (usage(s, args, kExportHelp))
        return;
    // Written as --screen-text writes it: a regular file replaced whole or not at all, a
    // FIFO or device written into, a link that leads nowhere refused. "-" is a file name.
    TextFile::save(args.allArgs, TextFile::encode(s.console.scrCells().screenText()));
    s.console.DrawText(QStringLiteral("Screen exported to: '") + args.allArgs +
                           QStringLiteral("'."),
                       3);
}

} // namespace

void registerFileCommands(CommandTable &table)
{
    table.add(QStringLiteral("filedel"), cmdFiledel, kFiledelHelp);
    table.add(QStringLiteral("fileinfo"), cmdFileinfo, kFileinfoHelp);
    table.add(QStringLiteral("fileren"), cmdFileren, kFilerenHelp, {.confirmInBatch = true});
    table.add(QStringLiteral("filesearch"), cmdFilesearch, kFilesearchHelp);
    table.add(QStringLiteral("showfile"), cmdShowfile, kShowfileHelp);
    table.add(QStringLiteral("export"), cmdExport, kExportHelp,
              {.confirmInBatch = true, .keepsScreen = true});
}
