#include "controller/CursorTimer.h"

#include "foundation/Messages.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "session/Session.h"

#include <chrono>
#include <cmath>

namespace {

QString joined(const QString &word, std::initializer_list<int> values)
{
    QString text = word + u' ';
    bool first = true;
    for (const int value : values) {
        if (!first)
            text += u',';
        text += QString::number(value);
        first = false;
    }
    return text;
}

} // namespace

CursorTimer::CursorTimer(Session &session) : m_session(session)
{
    timFlash.setInterval(100);
    QObject::connect(&timFlash, &QTimer::timeout,
                     [this] { m_session.handleEvent([this] { tick(); }); });
}

void CursorTimer::tick()
{
    Session &s = m_session;
    if (s.console.mode() == Console::Mode::Prompt) {
        if (!s.batch.running())
            blinkCursor();
        drawStatus();
        randomDrawing();
    } else if (s.console.mode() == Console::Mode::Pager && s.opt[Options::ShowNowPlaying] == u"1" &&
               s.players.fileLoaded() && s.pager.plView) {
        s.setWindowTitle(num2time(s.players.inUse().position()) + QStringLiteral(" / ") +
                         num2time(s.players.inUse().duration()) + QStringLiteral(" - ") +
                         Msg::kWindowTitle);
    }
}

void CursorTimer::blinkCursor()
{
    m_session.console.drawCursor(!cursorOn);
    cursorOn = !cursorOn;
}

void CursorTimer::drawStatus()
{
    Session &s = m_session;
    if (s.opt[Options::ShowNowPlaying] != u"1" || !s.players.fileLoaded())
        return;
    const MediaPlayer &player = s.players.inUse();
    if (player.playState() == MediaPlayer::kPaused)
        s.console.DrawText(QStringLiteral("PAUSED"), 25, -1, 0);
    s.console.DrawText(QStringLiteral("Time:"), 29, -1, 0);
    s.console.DrawText(QString(30, u' '), 30, -1, 0);
    s.console.DrawText(num2time(player.position()) + QStringLiteral(" / ") +
                           num2time(player.duration()),
                       30, -1, 0);
}

void CursorTimer::randomDrawing()
{
    const QString &mode = m_session.opt[Options::RandomDrawing];
    if (!Numeric::isNumeric(mode))
        return;
    const double value = Numeric::toDouble(mode);
    if (value <= 0)
        return;
    m_random.seed(
        static_cast<quint32>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    const int kind = value == 6                                 ? rnd(5)
                     : value == std::floor(value) && value <= 5 ? static_cast<int>(value) - 1
                                                                : -1;
    const QString command = randomCommand(kind);
    if (!command.isEmpty())
        m_session.exe(command);
}

QString CursorTimer::randomCommand(int kind)
{
    switch (kind) {
    case 0: {
        const int column = rnd(93) + 1;
        const int row = rnd(36) + 1;
        const int colour = rnd(16777215);
        const int width = rnd(80) + 1;
        const int height = rnd(30) + 1;
        return joined(QStringLiteral("block"), {column, row, colour, width, height});
    }
    case 1: {
        const int x1 = rnd(2048) - 1024;
        const int y1 = rnd(1536) - 768;
        const int x2 = x1 + rnd(1024);
        const int y2 = y1 + rnd(768);
        const int colour = rnd(16777215);
        const int width = rnd(100) + 1;
        if (rnd(2) == 1)
            return joined(QStringLiteral("box"), {x1, y1, x2, y2, colour, width, 1});
        return joined(QStringLiteral("box"), {x1, y1, x2, y2, colour, width});
    }
    case 2: {
        const int x = rnd(2048) - 1024;
        const int y = rnd(1536) - 768;
        const int radius = rnd(1024) + 1;
        const int colour = rnd(16777215);
        const int width = rnd(100) + 1;
        if (rnd(2) == 1)
            return joined(QStringLiteral("circle"), {x, y, radius, colour, width, 1});
        return joined(QStringLiteral("circle"), {x, y, radius, colour, width});
    }
    case 3: {
        const int x1 = rnd(1025);
        const int y1 = rnd(769);
        const int x2 = rnd(1025);
        const int y2 = rnd(769);
        const int colour = rnd(16777215);
        const int width = rnd(100) + 1;
        return joined(QStringLiteral("line"), {x1, y1, x2, y2, colour, width});
    }
    case 4: {
        const int x = rnd(1025);
        const int y = rnd(769);
        const int colour = rnd(16777215);
        return joined(QStringLiteral("pixel"), {x, y, colour});
    }
    default:
        return {};
    }
}
