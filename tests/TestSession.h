#pragma once
// A session in a temporary home, with helpers to read what the console shows.

#include "FakeMediaPlayer.h"
#include "foundation/Timers.h"
#include "session/Session.h"

#include <QColor>
#include <QTemporaryDir>
#include <array>
#include <memory>

class TestSession
{
public:
    // The session's three media players are fakes the test reaches through player().
    TestSession();

    Session &operator*() { return *m_session; }
    Session *operator->() { return m_session.get(); }

    // Runs the lines through the interpreter, in order.
    void exe(std::initializer_list<QString> lines);
    // Presses keys as --keys names them ("text:abc,Enter,F5"), queued keystrokes included.
    void keys(const QString &sequence);
    // Answers the next modal question.
    void answer(const QString &text) { m_session->scripted.addAnswer(text); }
    // The text of a row, blanks for empty cells, trimmed on the right.
    QString row(int row) const;
    // The same without column 93, where the pager keeps its arrows.
    QString pagerRow(int row) const;
    // The colour value a row's first written cell was drawn in, or -1.
    qint32 rowColour(int row) const;
    // Pixel at (x, y) of the console surface.
    QColor pixel(int x, int y) const;
    QString home() const { return m_home.path(); }
    QString file(const QString &name) const { return m_home.filePath(name); }
    QString optionsFile() const { return m_home.filePath(QStringLiteral("options.ini")); }

    // The batch's and the players' timers run on a clock the test moves.
    void wait(qint64 milliseconds) { m_clock.advance(milliseconds); }

    // A fresh session on the same home and options file (a restart).
    void restart();

    // wmp(index), as the session made it.
    FakeMediaPlayer &player(int index) const { return *m_players.at(static_cast<size_t>(index)); }
    // A loaded database of linked tracks: artists 1..artists, each with tracks 1..tracks,
    // artist a track t in the file "/music/a-t.mp3", genre 17.
    void linkTracks(int artists, int tracks);

private:
    QTemporaryDir m_home;
    ManualClock m_clock;
    std::array<FakeMediaPlayer *, 3> m_players{};
    std::unique_ptr<Session> m_session;
};

// A session's configuration for real libmpv players with silent output, in a home folder.
Session::Config realPlayers(const QTemporaryDir &home);

// Readable test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
