// Transcript tests: each tests/transcripts/*.txt file is a run of the console written down as
// the actions taken and the screens they must leave. Every file runs in a fresh session (a
// temporary home) and is one test, named after the file.
//
// The format, one item a line:
//
//   # text           a comment; blank lines are ignored
//   $ LINE           runs LINE through the interpreter, as Enter would ("$" alone: an empty line)
//   keys: SEQ        presses keys as the --keys option names them ("text:abc,Enter,F5")
//   answer: TEXT     queues TEXT as the answer to the next question (yes/no, input, file)
//   wait: MS         moves the session's clock on by MS milliseconds: batch lines, timed
//                    commands, the fade and the playlist's advance run as they fall due
//   file: NAME = TEXT  writes TEXT into the file NAME of the home folder; \0 or \xHH is a
//                    byte, \\ a backslash, and "{N}" right after a byte makes N of it in all
//   restart          a fresh session on the same home, as after closing and starting again
//   database: NAME   writes the sample music database of tests/library/Catalogue.h into
//                    the file NAME of the home folder ("NAME = scripts": the one with names
//                    in several scripts)
//   NN|text          row NN (1..37) reads text, exactly; blanks on the right do not count
//   NN colour|text   the same, and the row's first written cell is in that colour: a name
//                    of the colour chart (red, white, silver...) or a colour value number
//
// A run of row lines after one or more actions is a screen: it is compared with the console
// once the actions have run, and every row it does not list must be blank, so a screen is
// always stated whole. The prompt row (33, "   COMMAND:") is listed like any other row.
// "{version}" in a row stands for the program's version number, "{home}" for the session's
// home folder. The pager keeps its arrows in column 93 with the codes 233 (up) and 234 (down),
// so they read as "é" and "ê", as they do in the --screen-text export.
//
// The session has not run the start-up: the screen is empty, with no prompt, until the first
// command. The run's current folder is the session's home, so relative paths name its files. The
// format is also described, with examples, in tests/transcripts/README.md.
//
// A failure names the file and the line where the screen starts, and shows the expected and
// the actual screen in this same format, so the actual one can be pasted into the file.

#include "TestSession.h"
#include "app/KeyScript.h"
#include "foundation/Colours.h"
#include "library/Catalogue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

struct ExpectedRow
{
    QString text;
    std::optional<qint32> colour;
    QString colourName;
};

using Screen = std::map<int, ExpectedRow>;

// The bytes of a file: line text with \0, \xHH, \\ and repeats ("\0{27}"); nothing when an
// escape is not one of these.
std::optional<QByteArray> fileBytes(const QString &text)
{
    static const QRegularExpression escape(
        QStringLiteral("\\\\(?:(\\\\)|(0)|x([0-9A-Fa-f]{2}))(?:\\{(\\d+)\\})?"));
    QByteArray bytes;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype slash = text.indexOf(u'\\', at);
        bytes += text.mid(at, slash < 0 ? -1 : slash - at).toUtf8();
        if (slash < 0)
            break;
        const QRegularExpressionMatch m =
            escape.match(text, slash, QRegularExpression::NormalMatch,
                         QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return std::nullopt;
        const char byte = m.hasCaptured(1)   ? '\\'
                          : m.hasCaptured(2) ? '\0'
                                             : char(m.captured(3).toInt(nullptr, 16));
        bytes += QByteArray(m.hasCaptured(4) ? m.captured(4).toInt() : 1, byte);
        at = m.capturedEnd();
    }
    return bytes;
}

// Holds the current folder at a path while it lives.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &path) : m_before(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~CurrentFolder() { QDir::setCurrent(m_before); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    QString m_before;
};

QString trimmedRight(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// A colour value by its name in the colour chart, else as a number.
QString nameOf(qint32 colour)
{
    for (const auto *chart : {&Colours::chartLeft(), &Colours::chartRight()}) {
        for (const Colours::ChartEntry &entry : *chart) {
            if (Colours::byName(entry.name) == colour)
                return entry.name;
        }
    }
    return QString::number(colour);
}

QString rowLine(int row, const QString &colourName, const QString &text)
{
    const QString number = QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
    return (colourName.isEmpty() ? number : number + u' ' + colourName) + u'|' + text + u'\n';
}

class TranscriptRun
{
public:
    explicit TranscriptRun(QString name) : m_name(std::move(name)) {}

    // Runs the transcript; the failures, one message each, empty when every screen matched.
    QStringList run(const QString &transcript)
    {
        static const QRegularExpression rowPattern(
            QStringLiteral("^(\\d{1,2})(?: ([A-Za-z]+|-?\\d+))?\\|(.*)$"));
        const QStringList lines = transcript.split(u'\n');
        const CurrentFolder inHome(m_session.home());
        bool checked = false;
        for (int i = 0; i < lines.size(); ++i) {
            QString line = lines[i];
            if (line.endsWith(u'\r'))
                line.chop(1);
            const int number = i + 1;
            if (line.trimmed().isEmpty() || line.startsWith(u'#'))
                continue;
            const QRegularExpressionMatch row = rowPattern.match(line);
            if (row.hasMatch()) {
                if (m_screen.empty())
                    m_screenLine = number;
                addRow(number, row.captured(1).toInt(), row.captured(2), row.captured(3));
                continue;
            }
            // An action after a screen: that screen is due first.
            if (!m_screen.empty()) {
                compare();
                checked = true;
            }
            m_lastActionLine = number;
            if (line == u'$' || line.startsWith(QStringLiteral("$ ")))
                m_session->exe(line.mid(2));
            else if (line.startsWith(QStringLiteral("keys:")))
                pressKeys(number, line.mid(5).trimmed());
            else if (line.startsWith(QStringLiteral("answer:")))
                m_session.answer(line.mid(7).trimmed());
            else if (line.startsWith(QStringLiteral("wait:")))
                waitFor(number, line.mid(5).trimmed());
            else if (line.startsWith(QStringLiteral("file:")))
                writeFile(number, line.mid(5)); // blanks at the end belong to TEXT
            else if (line.startsWith(QStringLiteral("database:")))
                writeDatabase(line.mid(9));
            else if (line == u"restart")
                m_session.restart();
            else
                fail(number, QStringLiteral("not a comment, action or row: ") + line);
        }
        if (!m_screen.empty()) {
            compare();
            checked = true;
        }
        if (m_lastActionLine > m_screenLine)
            fail(m_lastActionLine,
                 QStringLiteral("actions after the last screen are never checked"));
        if (!checked)
            fail(1, QStringLiteral("no screen to check"));
        return m_failures;
    }

private:
    // "NAME" writes the sample database, "NAME = scripts" the one with names in several
    // scripts.
    void writeDatabase(const QString &item)
    {
        const qsizetype equals = item.indexOf(u'=');
        if (equals >= 0 && item.mid(equals + 1).trimmed() == u"scripts")
            writeScriptsDatabase(m_session.file(item.left(equals).trimmed()));
        else
            writeSampleDatabase(m_session.file(item.trimmed()));
    }

    void waitFor(int line, const QString &milliseconds)
    {
        bool ok = false;
        const int ms = milliseconds.toInt(&ok);
        if (ok && ms >= 0)
            m_session.wait(ms);
        else
            fail(line, QStringLiteral("not a number of milliseconds: ") + milliseconds);
    }

    void fail(int line, const QString &message)
    {
        m_failures << QStringLiteral("%1:%2: %3").arg(m_name).arg(line).arg(message);
    }

    void addRow(int line, int row, const QString &colourName, const QString &text)
    {
        if (row < 1 || row > Cell::kRecordRows) {
            fail(line, QStringLiteral("row %1 is not in 1..%2").arg(row).arg(Cell::kRecordRows));
            return;
        }
        if (m_screen.contains(row)) {
            fail(line, QStringLiteral("row %1 is listed twice").arg(row));
            return;
        }
        ExpectedRow expected{trimmedRight(text), std::nullopt, colourName};
        expected.text.replace(QStringLiteral("{version}"), Options::CV());
        expected.text.replace(QStringLiteral("{home}"), m_session.home());
        if (!colourName.isEmpty()) {
            bool isNumber = false;
            const qint32 number = colourName.toInt(&isNumber);
            expected.colour = isNumber ? std::optional(number) : Colours::byName(colourName);
            if (!expected.colour) {
                fail(line, QStringLiteral("'%1' is not a colour name").arg(colourName));
                return;
            }
        }
        m_screen[row] = expected;
    }

    void writeFile(int line, const QString &nameAndText)
    {
        const qsizetype eq = nameAndText.indexOf(QStringLiteral(" = "));
        const QString name = nameAndText.left(eq).trimmed();
        const std::optional<QByteArray> bytes =
            eq > 0 ? fileBytes(nameAndText.mid(eq + 3)) : std::nullopt;
        if (!bytes || name.isEmpty()) {
            fail(line, QStringLiteral("not NAME = TEXT with \\0, \\xHH or \\\\: ") + nameAndText);
            return;
        }
        QSaveFile file(m_session.file(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() ||
            !file.commit())
            fail(line, QStringLiteral("cannot write ") + file.fileName());
    }

    void pressKeys(int line, const QString &sequence)
    {
        QString error;
        const std::optional<QList<KeyAction>> actions = KeyScript::parse(sequence, &error);
        if (actions)
            KeyScript::deliver(*m_session, *actions);
        else
            fail(line, error);
    }

    // Compares the console with the screen collected, then starts a new one.
    void compare()
    {
        QString expected;
        QString actual;
        QStringList differing;
        for (int row = 1; row <= Cell::kRecordRows; ++row) {
            const auto listed = m_screen.find(row);
            const ExpectedRow want = listed != m_screen.end() ? listed->second : ExpectedRow{};
            const QString text = m_session.row(row);
            const qint32 colour = m_session.rowColour(row);
            bool same = text == want.text;
            QString colourSeen;
            if (want.colour) {
                same = same && colour == *want.colour;
                colourSeen = colour == *want.colour ? want.colourName : nameOf(colour);
            }
            if (!same)
                differing << QString::number(row);
            if (listed != m_screen.end())
                expected += rowLine(row, want.colourName, want.text);
            if (!text.isEmpty() || want.colour)
                actual += rowLine(row, colourSeen, text);
        }
        if (!differing.isEmpty()) {
            fail(m_screenLine,
                 QStringLiteral("the screen differs in rows %1 (rows not listed are blank)\n"
                                "expected:\n%2actual:\n%3")
                     .arg(differing.join(QStringLiteral(", ")), expected, actual));
        }
        m_screen.clear();
    }

    QString m_name;
    TestSession m_session;
    Screen m_screen;
    int m_screenLine = 0;
    int m_lastActionLine = 0;
    QStringList m_failures;
};

QStringList transcriptFiles()
{
    return QDir(QStringLiteral(I2K_TRANSCRIPTS))
        .entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

class Transcript : public ::testing::TestWithParam<QString>
{
};

TEST_P(Transcript, Screens)
{
    QFile file(QDir(QStringLiteral(I2K_TRANSCRIPTS)).filePath(GetParam()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QStringList failures = TranscriptRun(GetParam()).run(QString::fromUtf8(file.readAll()));
    for (const QString &failure : failures)
        ADD_FAILURE() << failure.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, Transcript, ::testing::ValuesIn(transcriptFiles()),
                         [](const ::testing::TestParamInfo<QString> &info) {
                             QString name = info.param.chopped(4); // without ".txt"
                             for (QChar &c : name) {
                                 if (!c.isLetterOrNumber() || c.unicode() > 127)
                                     c = u'_';
                             }
                             return name.toStdString();
                         });

// The runner itself must be able to fail: a wrong row, a row left out, a wrong colour, a line
// it does not understand and actions nothing checks are each reported at their line.
TEST(TranscriptRunner, ReportsWhatDoesNotMatch)
{
    EXPECT_EQ(TranscriptRun(QStringLiteral("right"))
                  .run(QStringLiteral("$ write hi\n"
                                      "01|hi\n"
                                      "33|   COMMAND:\n")),
              QStringList());

    const QStringList wrongRow =
        TranscriptRun(QStringLiteral("wrong"))
            .run(QStringLiteral("# comment\n$ write hi\n01|ho\n33|   COMMAND:\n"));
    ASSERT_EQ(wrongRow.size(), 1);
    EXPECT_TRUE(wrongRow[0].startsWith(QStringLiteral("wrong:3: the screen differs in rows 1 ")))
        << wrongRow[0].toStdString();
    EXPECT_TRUE(wrongRow[0].contains(QStringLiteral("actual:\n01|hi\n33|   COMMAND:\n")));

    const QStringList missingRow =
        TranscriptRun(QStringLiteral("missing")).run(QStringLiteral("$ write hi\n01|hi\n"));
    ASSERT_EQ(missingRow.size(), 1);
    EXPECT_TRUE(
        missingRow[0].startsWith(QStringLiteral("missing:2: the screen differs in rows 33 ")));

    const QStringList wrongColour =
        TranscriptRun(QStringLiteral("colour"))
            .run(QStringLiteral("$ write hi\n01 red|hi\n33|   COMMAND:\n"));
    ASSERT_EQ(wrongColour.size(), 1);
    EXPECT_TRUE(wrongColour[0].contains(QStringLiteral("actual:\n01 white|hi\n")));

    EXPECT_EQ(TranscriptRun(QStringLiteral("bad"))
                  .run(QStringLiteral("$ write hi\nwrite hi\n01|hi\n33|   COMMAND:\n")),
              QStringList{QStringLiteral("bad:2: not a comment, action or row: write hi")});
    EXPECT_EQ(
        TranscriptRun(QStringLiteral("unchecked")).run(QStringLiteral("$ write hi\n")),
        (QStringList{QStringLiteral("unchecked:1: actions after the last screen are never checked"),
                     QStringLiteral("unchecked:1: no screen to check")}));
}

// Files written by a transcript hold exactly the bytes their escapes name; a wrong escape is
// reported rather than written as something else.
TEST(TranscriptRunner, WritesFileBytes)
{
    EXPECT_EQ(fileBytes(QStringLiteral("a\\x41\\0{3}\\\\b\\x20")), QByteArray("aA\0\0\0\\b ", 8));
    EXPECT_EQ(fileBytes(QStringLiteral("\u00e9")), QByteArray("\xc3\xa9"));
    EXPECT_FALSE(fileBytes(QStringLiteral("\\q")));
    EXPECT_FALSE(fileBytes(QStringLiteral("ab\\x4")));
    EXPECT_EQ(fileBytes(QStringLiteral("\\0{2}19")), QByteArray(2, '\0') + "19");
    const QStringList bad =
        TranscriptRun(QStringLiteral("bad"))
            .run(QStringLiteral("file: x.mp3 = \\y\n$ write hi\n01|hi\n33|   COMMAND:\n"));
    ASSERT_EQ(bad.size(), 1);
    EXPECT_TRUE(bad[0].startsWith(QStringLiteral("bad:1: not NAME = TEXT")))
        << bad[0].toStdString();
}

} // namespace
