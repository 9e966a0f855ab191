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
//   NN|text          row NN (1..37) reads text, exactly; blanks on the right do not count
//   NN colour|text   the same, and the row's first written cell is in that colour: a name
//                    of the colour chart (red, white, silver...) or a colour value number
//
// A run of row lines after one or more actions is a screen: it is compared with the console
// once the actions have run, and every row it does not list must be blank, so a screen is
// always stated whole. The prompt row (33, "   COMMAND:") is listed like any other row.
// "{version}" in a row stands for the program's version number. The pager keeps its arrows
// in column 93 with the codes 233 (up) and 234 (down), so they read as "é" and "ê", as they do
// in the --screen-text export.
//
// The session has not run the start-up: the screen is empty, with no prompt, until the first
// command. The format is also described, with examples, in tests/transcripts/README.md.
//
// A failure names the file and the line where the screen starts, and shows the expected and
// the actual screen in this same format, so the actual one can be pasted into the file.

#include "TestSession.h"
#include "app/KeyScript.h"
#include "foundation/Colours.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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

} // namespace
