#include "TestSession.h"

#include "app/KeyScript.h"
#include "player/MpvPlayer.h"

#include <gtest/gtest.h>

TestSession::TestSession()
{
    restart();
}

void TestSession::restart()
{
    m_session.reset();
    Players::Factory fakes = [this](int index) {
        auto made = std::make_unique<FakeMediaPlayer>();
        m_players.at(static_cast<size_t>(index)) = made.get();
        return made;
    };
    m_session = std::make_unique<Session>(
        Session::Config{ProgramFolder(m_home.path()), optionsFile(), fakes, {}, &m_clock});
    m_session->opt.ResetOpts();
    // The start-up fills the genre table; sessions here skip the start-up.
    m_session->genres.FillGenres();
}

void TestSession::exe(std::initializer_list<QString> lines)
{
    for (const QString &line : lines)
        m_session->exe(line);
}

QString TestSession::row(int row) const
{
    QString text = m_session->console.scrCells().rowText(row);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

QString TestSession::pagerRow(int row) const
{
    QString text = m_session->console.scrCells().rowText(row, Cell::kTextColumns - 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

qint32 TestSession::rowColour(int row) const
{
    const CellRecord &cells = m_session->console.scrCells();
    for (int column = 1; column <= Cell::kRecordColumns; ++column) {
        if (cells.character(column, row).unicode() != 0)
            return cells.colour(column, row);
    }
    return -1;
}

QColor TestSession::pixel(int x, int y) const
{
    return m_session->console.surface().pixelColor(x, y);
}

void TestSession::keys(const QString &sequence)
{
    QString error;
    const std::optional<QList<KeyAction>> actions = KeyScript::parse(sequence, &error);
    ASSERT_TRUE(actions.has_value()) << error.toStdString();
    KeyScript::deliver(*m_session, *actions);
}

void TestSession::linkTracks(int artists, int tracks)
{
    Catalogue &vld = m_session->vld;
    vld.SetValue(QStringLiteral("Artists"), QString::number(artists));
    for (int a = 1; a <= artists; ++a) {
        vld.SetValue(QStringLiteral("Artist%1").arg(a), QStringLiteral("Artist %1").arg(a));
        vld.SetValue(QStringLiteral("Tracks%1").arg(a), QString::number(tracks));
        for (int t = 1; t <= tracks; ++t) {
            vld.SetValue(QStringLiteral("%1Track%2").arg(a).arg(t),
                         QStringLiteral("Track %1").arg(t));
            vld.SetValue(QStringLiteral("%1Filename%2").arg(a).arg(t),
                         QStringLiteral("L/music/%1-%2.mp3").arg(a).arg(t));
            vld.SetValue(QStringLiteral("%1Genre%2").arg(a).arg(t), QStringLiteral("17"));
        }
    }
}

Session::Config realPlayers(const QTemporaryDir &home)
{
    return {ProgramFolder(home.path()), home.filePath(QStringLiteral("options.ini")),
            MpvPlayer::factory(QStringLiteral("null")), QStringLiteral("null")};
}
