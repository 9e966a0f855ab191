// The file commands on a real temporary tree: what they show, the files they leave, and
// their failures. Their usage lines and a search of the current folder are in
// transcripts/file-commands.txt.

#include "EventLoop.h"
#include "TestSession.h"
#include "foundation/LocaleFormat.h"
#include "foundation/RuntimeError.h"
#include "system/FileSearch.h"
#include "system/GetArg.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

void write(const QString &path, const QByteArray &bytes = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// What a name is now, without following a link: "file", "link to TARGET", "fifo",
// "socket", "folder" or "none".
QString kindOf(const QString &path)
{
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("none");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("link to ") + QFileInfo(path).symLinkTarget();
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("fifo");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("socket");
    return S_ISDIR(st.st_mode) ? QStringLiteral("folder") : QStringLiteral("file");
}

void makeSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(name.size(), static_cast<qsizetype>(sizeof address.sun_path));
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
}

TEST(GetArg, QuotesGroupAndBlankRunsSeparate)
{
    const std::tuple<const char *, int, const char *> cases[] = {
        {"\"a b\" \"c  d\"", 0, "a b"}, {"\"a b\" \"c  d\"", 1, "c  d"},
        {"a     b", 1, "b"},            {"a     b", 2, ""},
        {"  a", 0, "a"},                {"\"\" x", 0, "x"},
        {"a\"b c\"d", 0, "ab c"},       {"a\"b c\"d", 1, "d"},
        {"\" \" x", 0, " x"},           {"\"open", 0, "open"},
        {"", 0, ""},                    {"a\tb c", 0, "a\tb"},
    };
    for (const auto &[text, n, expected] : cases)
        EXPECT_EQ(GetArg(QString::fromLatin1(text), n), QString::fromLatin1(expected))
            << text << " #" << n;

    QStringList words;
    for (int i = 0; i <= 1000; ++i)
        words.append(QString::number(i));
    EXPECT_EQ(GetArg(words.join(u' '), 1000), QStringLiteral("1000"));
    words.append(QStringLiteral("x"));
    for (const auto &[text, n] : {std::pair{QStringLiteral("a"), 1001},
                                  std::pair{QStringLiteral("a"), -1},
                                  std::pair{words.join(u' '), 0}}) {
        try {
            GetArg(text, n);
            ADD_FAILURE() << n;
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), 9);
        }
    }
}

class FileTree : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return tmp.filePath(name); }
    QTemporaryDir tmp;
};

TEST_F(FileTree, SearchFindsFilesBelowInSortedOrderIgnoringCase)
{
    for (const char *name : {"My Music/b.MP3", "My Music/a.mp3", "My Music/sub/c.mp3",
                             "My Music/notes.txt", "My Music/zz/deep/d.mp3", "top.mp3"})
        write(path(QString::fromLatin1(name)));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("My Music/folder.mp3"))));
    // A link back up the tree is listed when its name matches but never followed.
    ASSERT_EQ(::symlink("..", QFile::encodeName(path(QStringLiteral("My Music/sub/up.mp3")))), 0);
    ASSERT_EQ(::symlink(".", QFile::encodeName(path(QStringLiteral("My Music/loop")))), 0);

    const QString root = path(QStringLiteral("My Music"));
    const FileSearch::Result found = FileSearch(QStringLiteral("*.mp3")).run(root);
    EXPECT_FALSE(found.overflowed);
    EXPECT_EQ(found.hits, (QStringList{root + QStringLiteral("/a.mp3"), root + QStringLiteral("/b.MP3"),
                                       root + QStringLiteral("/sub/c.mp3"),
                                       root + QStringLiteral("/sub/up.mp3"),
                                       root + QStringLiteral("/zz/deep/d.mp3")}));
    // The folder is shown as given, with no doubled "/".
    EXPECT_EQ(FileSearch(QStringLiteral("[n]otes.*")).run(root + u'/').hits,
              QStringList{root + QStringLiteral("/notes.txt")});
    EXPECT_TRUE(FileSearch(QStringLiteral("*.ogg")).run(root).hits.isEmpty());
    // Case is ignored beyond ASCII too.
    write(root + QStringLiteral("/\u00c4rger.txt"));
    EXPECT_EQ(FileSearch(QStringLiteral("\u00e4*")).run(root).hits,
              QStringList{root + QStringLiteral("/\u00c4rger.txt")});
}

TEST_F(FileTree, SearchStopsAtTheListCapacityAndRefusesBadInput)
{
    for (int i = 0; i < 12; ++i)
        write(path(QStringLiteral("f%1.txt").arg(i, 2, 10, QChar(u'0'))));
    const FileSearch::Result exact = FileSearch(QStringLiteral("*"), 12).run(tmp.path());
    EXPECT_EQ(exact.hits.size(), 12);
    EXPECT_FALSE(exact.overflowed);
    const FileSearch::Result over = FileSearch(QStringLiteral("*"), 11).run(tmp.path());
    EXPECT_TRUE(over.overflowed);
    EXPECT_EQ(over.hits.size(), 11);
    EXPECT_EQ(over.hits.last(), path(QStringLiteral("f10.txt")));

    try {
        FileSearch(QStringLiteral("*")).run(path(QStringLiteral("none")));
        ADD_FAILURE() << "no such folder";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), 76);
    }
    EXPECT_THROW(FileSearch(QStringLiteral("[a")), RuntimeError);
}

TEST_F(FileTree, FileinfoShowsTypeSizeShortNameAndDates)
{
    TestSession t;
    const QString file = path(QStringLiteral("Quarterly Report.txt"));
    write(file, QByteArray(1234, 'x'));
    const QDateTime modified(QDate(2003, 4, 5), QTime(6, 7, 8));
    const QDateTime accessed(QDate(2004, 5, 6), QTime(7, 8, 9));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(modified, QFileDevice::FileModificationTime);
        f.setFileTime(accessed, QFileDevice::FileAccessTime);
    }
    const QString created =
        LocaleFormat::generalDate(t->utility.call(Tovar::FileCreated, {file}).toDateTime());

    t.exe({QStringLiteral("fileinfo ") + file});
    EXPECT_EQ(t.row(1), QStringLiteral("Details for file:"));
    EXPECT_EQ(t.row(2), file);
    EXPECT_EQ(t.row(5), QStringLiteral("Type of file: plain text document"));
    EXPECT_EQ(t.row(7), QStringLiteral("Size: 1,234 byte(s)"));
    // The temporary folder's own alias may change as other tests come and go beside it.
    EXPECT_TRUE(t.row(9).startsWith(QStringLiteral("MS-DOS name: /")));
    EXPECT_TRUE(t.row(9).endsWith(QStringLiteral("/QUARTE~1.TXT"))) << t.row(9).toStdString();
    EXPECT_EQ(t.row(12), QStringLiteral("Created: ") + created);
    EXPECT_EQ(t.row(14), QStringLiteral("Modified: ") + LocaleFormat::generalDate(modified));
    EXPECT_EQ(t.row(16), QStringLiteral("Accessed: ") + LocaleFormat::generalDate(accessed));

    // An empty file has an empty number; a long name is shown by its last 183 characters.
    const QString deep = path(QString(60, u'd') + u'/' + QString(60, u'e') + u'/' + QString(60, u'f'));
    ASSERT_GT(deep.size(), 186);
    write(deep);
    t.exe({QStringLiteral("fileinfo ") + deep});
    EXPECT_EQ(t.row(2) + t.row(3), QStringLiteral("...") + deep.right(183));
    EXPECT_EQ(t.row(7), QStringLiteral("Size:  byte(s)"));

    t.exe({QStringLiteral("fileinfo ") + path(QStringLiteral("none.txt"))});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: File not found (53)"));
    EXPECT_EQ(t.row(1), QString());
}

TEST_F(FileTree, FilerenRenamesQuotedNamesAndNeverOverwrites)
{
    TestSession t;
    write(path(QStringLiteral("old name.txt")), "1");
    t.exe({QStringLiteral("fileren \"%1\"   \"%2\"")
               .arg(path(QStringLiteral("old name.txt")), path(QStringLiteral("new name.txt")))});
    EXPECT_EQ(t.row(1), QStringLiteral("'%1' renamed to '%2'")
                            .arg(path(QStringLiteral("old name.txt")),
                                 path(QStringLiteral("new name.txt"))));
    EXPECT_EQ(read(path(QStringLiteral("new name.txt"))), QByteArray("1"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("old name.txt"))));

    // Into another folder; onto a taken name is an error and both files stay as they were.
    QDir().mkpath(path(QStringLiteral("sub")));
    write(path(QStringLiteral("taken.txt")), "2");
    t.exe({QStringLiteral("fileren \"%1\" %2")
               .arg(path(QStringLiteral("new name.txt")), path(QStringLiteral("taken.txt")))});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: File already exists (58)"));
    EXPECT_EQ(read(path(QStringLiteral("new name.txt"))), QByteArray("1"));
    EXPECT_EQ(read(path(QStringLiteral("taken.txt"))), QByteArray("2"));
    t.exe({QStringLiteral("fileren %1     %2")
               .arg(path(QStringLiteral("taken.txt")), path(QStringLiteral("sub/moved.txt")))});
    EXPECT_EQ(read(path(QStringLiteral("sub/moved.txt"))), QByteArray("2"));
    t.exe({QStringLiteral("fileren %1 x").arg(path(QStringLiteral("gone.txt")))});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: File not found (53)"));
    t.exe({QStringLiteral("fileren %1").arg(path(QStringLiteral("sub/moved.txt")))});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Bad file name or number (52)"));
}

TEST_F(FileTree, FiledelDeletesOnlyOnY)
{
    TestSession t;
    const QString file = path(QStringLiteral("victim.txt"));
    write(file, "x");
    const QString question = QStringLiteral(
        "Press 'y' to confirm that you want to delete the file '%1' or press any other key to "
        "continue.").arg(file);
    for (const char *key : {"text:n", "Escape", "text:Y"}) {
        t.exe({QStringLiteral("cls"), QStringLiteral("filedel ") + file});
        EXPECT_EQ(t->console.mode(), Console::Mode::ConfirmationAwaited);
        EXPECT_EQ(t->opt[Options::PendingDeletion], file);
        EXPECT_EQ(t.row(1) + t.row(2), question);
        t.keys(QString::fromLatin1(key));
        runFor(50);
        EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
        EXPECT_TRUE(t->opt[Options::PendingDeletion].isEmpty());
        EXPECT_EQ(t.row(1), QString());
        EXPECT_EQ(QFile::exists(file), key[5] != 'Y') << key;
    }
}

// Hostile names for the commands that remove or write: only regular files and links are
// deleted, a link that leads nowhere is never replaced, a FIFO with no reader is never waited
// for, and "-" is a file like any other. Each row: the command (NAME stands for the tree),
// what row 2 then says, and what the names touched are afterwards.
TEST_F(FileTree, SpecialFilesAndLinksAreNeverDeletedReplacedOrWaitedFor)
{
    const QString fifo = path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    makeSocket(path(QStringLiteral("socket")));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("folder/sub"))));
    write(path(QStringLiteral("plain")), "x");
    const auto link = [this](const char *name, const QString &target) {
        ASSERT_TRUE(QFile::link(target, path(QString::fromLatin1(name))));
    };
    link("to-fifo", fifo);
    link("dangling", path(QStringLiteral("nowhere/none")));
    link("loop-a", path(QStringLiteral("loop-b")));
    link("loop-b", path(QStringLiteral("loop-a")));
    link("dangling-del", path(QStringLiteral("none")));
    const QString error = QStringLiteral("An error has occurred: ");
    struct Case
    {
        const char *line;
        QString row2;
        std::vector<std::pair<const char *, QString>> after;
    };
    const Case cases[] = {
        {"filedel NAME/fifo", error + QStringLiteral("File not found (53)"), {{"fifo", "fifo"}}},
        {"filedel NAME/socket",
         error + QStringLiteral("File not found (53)"),
         {{"socket", "socket"}}},
        {"filedel NAME/folder",
         error + QStringLiteral("File not found (53)"),
         {{"folder", "folder"}}},
        {"filedel NAME/to-fifo", {}, {{"to-fifo", "none"}, {"fifo", "fifo"}}},
        {"filedel NAME/dangling-del", {}, {{"dangling-del", "none"}}},
        {"filedel NAME/plain", {}, {{"plain", "none"}}},
        {"export NAME/dangling",
         error + QStringLiteral("Path not found (76)"),
         {{"dangling", QStringLiteral("link to ") + path(QStringLiteral("nowhere/none"))}}},
        {"export NAME/loop-a",
         error + QStringLiteral("Path/File access error (75)"),
         {{"loop-a", QStringLiteral("link to ") + path(QStringLiteral("loop-b"))}}},
        {"export NAME/fifo", error + QStringLiteral("Device unavailable (68)"), {{"fifo", "fifo"}}},
        {"export -", {}, {{"-", "file"}}},
        {"export NAME/LONG", error + QStringLiteral("Bad file name (64)"), {}},
        {"fileren NAME/folder NAME/folder/sub/in",
         error + QStringLiteral("Path/File access error (75)"),
         {{"folder", "folder"}}},
    };
    TestSession t;
    const QString home = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    for (const Case &c : cases) {
        const QString line = QString::fromLatin1(c.line)
                                 .replace(QStringLiteral("NAME"), tmp.path())
                                 .replace(QStringLiteral("LONG"), QString(300, u'n'));
        t.exe({QStringLiteral("cls"), line});
        if (line.startsWith(QStringLiteral("filedel"))) {
            t.keys(QStringLiteral("text:y"));
            runFor(50);
        }
        EXPECT_EQ(t.row(2), c.row2) << c.line;
        if (!c.row2.isEmpty()) {
            EXPECT_EQ(t.row(3), QString()) << c.line;
        }
        for (const auto &[name, kind] : c.after)
            EXPECT_EQ(kindOf(path(QString::fromLatin1(name))), kind) << c.line << ": " << name;
    }
    EXPECT_EQ(read(path(QStringLiteral("-"))).size(), 37 * 96);
    ASSERT_TRUE(QDir::setCurrent(home));
}

// Run as a user that folders' permissions apply to: as root, the test runs itself again as
// "nobody" when setpriv is there to do it.
TEST(FileinfoUnlisted, AFolderThatCanBeSearchedButNotListedLeavesTheShortNameEmpty)
{
    if (::geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            GTEST_SKIP()
                << "running as root, which lists every folder, and no setpriv to drop that";
        QProcess child;
        child.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), QStringLiteral("--"),
                              QCoreApplication::applicationFilePath(),
                              QStringLiteral("--gtest_filter=FileinfoUnlisted.*")});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QString output =
            QString::fromLocal8Bit(child.readAllStandardOutput() + child.readAllStandardError());
        if (!output.contains(QStringLiteral("[==========] Running")))
            GTEST_SKIP() << "running as root, and the test could not run itself as nobody: "
                         << output.toStdString();
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
        return;
    }
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("search-only"));
    const QString file = folder + QStringLiteral("/notes.txt");
    write(file, "abc");
    const QByteArray name = QFile::encodeName(folder);
    ASSERT_EQ(::chmod(name.constData(), 0311), 0);
    TestSession t;
    t.exe({QStringLiteral("fileinfo ") + file});
    ::chmod(name.constData(), 0755);
    EXPECT_EQ(t.row(1), QStringLiteral("Details for file:"));
    EXPECT_EQ(t.row(7), QStringLiteral("Size: 3 byte(s)"));
    EXPECT_EQ(t.row(9), QStringLiteral("MS-DOS name:"));
    EXPECT_TRUE(t.row(14).startsWith(QStringLiteral("Modified: ")));
}

TEST_F(FileTree, ShowfilePagesTheTextOrSaysItIsMissing)
{
    TestSession t;
    write(path(QStringLiteral("a.txt")), "first\r\nsecond \xc3\xa9\nthird \xe9\n");
    t.exe({QStringLiteral("showfile ") + path(QStringLiteral("a.txt"))});
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("first"));
    // Not UTF-8 as a whole, so read as Windows-1252; a lone LF ends a line too.
    EXPECT_EQ(t.pagerRow(2), QStringLiteral("second \u00c3\u00a9"));
    EXPECT_EQ(t.pagerRow(3), QStringLiteral("third \u00e9"));

    t.exe({QStringLiteral("cls"), QStringLiteral("showfile ") + path(QStringLiteral("b.txt"))});
    const QString missing = QStringLiteral("The file '%1' could not be found").arg(path(QStringLiteral("b.txt")));
    EXPECT_EQ(t.row(1), missing);
    EXPECT_EQ(t.rowColour(1), 255);
    t->log.save();
    EXPECT_TRUE(read(t.file(QStringLiteral("eventlog.txt"))).contains(missing.toUtf8()));
}

TEST_F(FileTree, ANameThatIsNotUtf8OpensAsFilesearchListsIt)
{
    // Latin-1 bytes in a name, as copied from an old disk.
    const QByteArray name = QFile::encodeName(tmp.path()) + "/caf\xe9 \xff.txt";
    const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "tea\n", 4), 4);
    ::close(fd);
    TestSession t;
    t.exe({QStringLiteral("filesearch caf* ") + tmp.path()});
    const QString listed = t->pager.pageLine(2);
    ASSERT_EQ(listed, tmp.path() + QString::fromUtf16(u"/caf\xdce9 \xdcff.txt"));

    // The name as the console shows it (a copy off the screen reads the record) opens the file.
    t.exe({QStringLiteral("cls"), QStringLiteral("fileinfo ") + listed});
    EXPECT_EQ(t.row(2), listed);
    EXPECT_EQ(t.row(5), QStringLiteral("Type of file: plain text document"));
    EXPECT_EQ(t.row(7), QStringLiteral("Size: 4 byte(s)"));
    EXPECT_TRUE(t.row(9).endsWith(QStringLiteral("/CAF__~1.TXT"))) << t.row(9).toStdString();
    struct stat st
    {
    };
    ASSERT_EQ(::stat(name.constData(), &st), 0);
    EXPECT_EQ(t.row(14), QStringLiteral("Modified: ") +
                             LocaleFormat::generalDate(QDateTime::fromSecsSinceEpoch(st.st_mtime)));
    // Each undecodable byte is drawn as U+FFFD.
    const QImage shown = t->console.surface().copy(Cell::rect(static_cast<int>(listed.size()) - 4, 2));
    t.exe({QStringLiteral("cls"), QString::fromUtf16(u"write \ufffd")});
    EXPECT_EQ(shown, t->console.surface().copy(Cell::rect(1, 1)));

    t.exe({QStringLiteral("showfile ") + listed});
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("tea"));
    t.exe({QStringLiteral("fileren \"") + listed + QStringLiteral("\" ") + path(QStringLiteral("tea.txt"))});
    EXPECT_EQ(read(path(QStringLiteral("tea.txt"))), QByteArray("tea\n"));
}

TEST_F(FileTree, ExportWritesThirtySevenLinesOfNinetyFourCharacters)
{
    TestSession t;
    const QString file = path(QStringLiteral("screen.txt"));
    t.exe({QStringLiteral("export ") + file});
    QByteArray blank;
    for (int row = 0; row < 37; ++row)
        blank += QByteArray(94, ' ') + "\r\n";
    EXPECT_EQ(read(file), blank);
    EXPECT_EQ(t.row(3), QStringLiteral("Screen exported to: '%1'.").arg(file));

    // What is on the console is exported as it stands, the report of the last export too.
    t.exe({QStringLiteral("export ") + file});
    const QByteArray text = read(file);
    EXPECT_EQ(text.size(), 37 * 96);
    EXPECT_EQ(text.mid(2 * 96, 94).trimmed(), QStringLiteral("Screen exported to: '%1'.").arg(file).toUtf8());

    // Into a FIFO it writes, instead of replacing it.
    const QString fifo = path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    t.exe({QStringLiteral("export ") + fifo});
    QByteArray piped(8192, 0);
    const ssize_t got = ::read(reader, piped.data(), piped.size());
    ::close(reader);
    EXPECT_EQ(got, 37 * 96);
    EXPECT_EQ(piped.left(96 * 3), text.left(96 * 3));

    t.exe({QStringLiteral("export ") + path(QStringLiteral("no/such/folder/x.txt"))});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Path not found (76)"));
}

TEST_F(FileTree, FilesearchPagesItsHitsAndCountsThem)
{
    TestSession t;
    const QString root = path(QStringLiteral("two words"));
    write(root + QStringLiteral("/a.log"));
    write(root + QStringLiteral("/in/b.log"));
    t.exe({QStringLiteral("filesearch *.log ") + root});
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("Search results for '*.log' in '%1' (2 results)").arg(root));
    EXPECT_EQ(t.pagerRow(2), QString());
    EXPECT_EQ(t.pagerRow(3), root + QStringLiteral("/a.log"));
    EXPECT_EQ(t.pagerRow(4), root + QStringLiteral("/in/b.log"));
    EXPECT_EQ(t->wait, nullptr);

    t.exe({QStringLiteral("filesearch *.log ") + path(QStringLiteral("none"))});
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: Path not found (76)"));
    EXPECT_EQ(t->wait, nullptr);
}

TEST_F(FileTree, FilesearchPastTheListCapacityShowsTheFirst32000)
{
    // 32 folders of 1,024 files: one more than the list holds.
    for (int folder = 0; folder < 32; ++folder) {
        const QString sub = path(QStringLiteral("d%1/").arg(folder, 2, 10, QChar(u'0')));
        ASSERT_TRUE(QDir().mkpath(sub));
        for (int i = 0; i < 1024; ++i)
            write(sub + QStringLiteral("%1.dat").arg(i, 4, 10, QChar(u'0')));
    }
    ASSERT_EQ(32 * 1024, FileSearch::kCapacity + 1);
    TestSession t;
    t.exe({QStringLiteral("filesearch *.dat ") + tmp.path()});
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("Search results for '*.dat' in '%1' (first 32,000 results only)").arg(tmp.path()));
    EXPECT_EQ(t->pager.pageLine(2 + 31999), path(QStringLiteral("d31/0255.dat")));
    EXPECT_EQ(t->pager.pageLine(2 + 32000), QString());

    // One file fewer is within the list, and counted.
    QFile::remove(path(QStringLiteral("d00/0000.dat")));
    t.exe({QStringLiteral("filesearch *.dat ") + tmp.path()});
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("Search results for '*.dat' in '%1' (32,767 results)").arg(tmp.path()));
}

TEST_F(FileTree, WithoutThePluginOnlyFileinfoFailsAndSaysWhatIsMissing)
{
    TestSession t;
    t->utility.setFolders({tmp.path()});
    write(path(QStringLiteral("a.txt")), "text");
    t.exe({QStringLiteral("fileinfo ") + path(QStringLiteral("a.txt"))});
    EXPECT_EQ(t.row(2) + t.row(3),
              QStringLiteral("An error has occurred: Cannot load the utility plugin (looked for %1) (429)")
                  .arg(QDir(tmp.path()).filePath(QStringLiteral("libtovarocx.so"))));
    t.exe({QStringLiteral("showfile ") + path(QStringLiteral("a.txt"))});
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("text"));
}

} // namespace
