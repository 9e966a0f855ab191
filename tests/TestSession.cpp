#include "TestSession.h"

#include "app/KeyScript.h"

#include <gtest/gtest.h>

TestSession::TestSession(std::function<std::unique_ptr<PlaylistPlayers>()> makePlayers)
    : m_makePlayers(std::move(makePlayers))
{
    restart();
}

void TestSession::restart()
{
    m_session.reset();
    m_session = std::make_unique<Session>(Session::Config{ProgramFolder(m_home.path()), optionsFile(), m_makePlayers});
    m_session->opt.ResetOpts();
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
    QString text = m_session->console.scrCells().rowText(row).left(Cell::kTextColumns - 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

qint32 TestSession::rowColour(int row) const
{
    for (int column = 1; column <= Cell::kRecordColumns; ++column) {
        const QString entry = m_session->console.scrCells().entry(column, row);
        if (entry[0].unicode() != 0)
            return entry.mid(1).trimmed().toInt();
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
