// Tab completion on a real folder tree: command words in any letter case, folders with "/",
// hidden names only when asked for, quotes only for the commands that split at blanks.

#include "interpreter/Completion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *line;
    const char *completed; // "|" marks the cursor
    const char *choices;   // joined with ","
};

TEST(Completion, CompletesWordsAndNamesAsFarAsTheChoicesAgree)
{
    QTemporaryDir home;
    const QString before = QDir::currentPath();
    QDir::setCurrent(home.path());
    for (const char *file : {"my song.mp3", "my notes.txt", ".hidden", "sub dir/inner.txt"}) {
        QDir().mkpath(QFileInfo(QString::fromUtf8(file)).path());
        QFile made(QString::fromUtf8(file));
        ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    }
    const QStringList words = {QStringLiteral("greet"), QStringLiteral("vlpause"),
                               QStringLiteral("vlpl"), QStringLiteral("vlplay")};
    const Case cases[] = {
        {"VLPLA", "VLPLAy |", ""},
        {"vlp", "vlp|", "vlpause,vlpl,vlplay"},
        {"nothing", "nothing|", ""},
        {"gr|eet", "greet |eet", ""},
        {"id3 my", "id3 my |", "my notes.txt,my song.mp3"},
        {"id3 my s", "id3 my song.mp3 |", ""},
        {"id3 s", "id3 sub dir/|", ""},
        {"id3 sub dir/", "id3 sub dir/inner.txt |", ""},
        {"id3 .h", "id3 .hidden |", ""},
        {"fileren my s", "fileren my \"sub dir/|", ""},
        {"fileren \"my s", "fileren \"my song.mp3\" |", ""},
        {"run nosuch/x", "run nosuch/x|", ""},
    };
    for (const Case &c : cases) {
        QString line = QString::fromUtf8(c.line);
        const qsizetype cursor = line.contains(u'|') ? line.indexOf(u'|') : line.size();
        line.remove(u'|');
        const Completion done = Completer::complete(line, cursor, words);
        QString shown = done.line;
        shown.insert(done.cursor, u'|');
        EXPECT_EQ(shown, QString::fromUtf8(c.completed)) << c.line;
        EXPECT_EQ(done.choices.join(u','), QString::fromUtf8(c.choices)) << c.line;
    }
    QDir::setCurrent(before);
}

} // namespace
