// The command-line editor and the keys, driven through the real keyboard handler.

#include "TestSession.h"
#include "console/VirtualKeys.h"
#include "foundation/Colours.h"
#include "player/PlaylistCommands.h"
#include "session/CommandWait.h"

#include <QFile>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

QString typed(TestSession &t)
{
    return t->console.cmdText;
}

TEST(Keyboard, BoundKeysRunOnceAndUnboundKeysSayWhichKey)
{
    TestSession t;
    t.keys(QStringLiteral("text:half typed,F5"));
    EXPECT_EQ(t.row(1), QStringLiteral("The F5 key has not been defined"));
    EXPECT_EQ(t.rowColour(1), Colours::kRed);
    EXPECT_EQ(typed(t), QString());
    t.keys(QStringLiteral("Alt+Q"));
    EXPECT_EQ(t.row(1), QStringLiteral("The Alt+Q key combination has not been defined"));
    EXPECT_EQ(t.rowColour(1), Colours::kRed);

    t.exe({QStringLiteral("f5 write hi"), QStringLiteral("alt q write %greeting%"),
           QStringLiteral("set greeting hello"), QStringLiteral("f3 lastcmd")});
    t.keys(QStringLiteral("Ctrl+F5"));
    EXPECT_EQ(t.row(1), QStringLiteral("hi"));
    EXPECT_EQ(t.row(2), QString());
    t.keys(QStringLiteral("Alt+Q"));
    EXPECT_EQ(t.row(1), QStringLiteral("hello"));
    // Alt with a letter types nothing.
    EXPECT_EQ(typed(t), QString());

    // A lastcmd binding puts the last line on the command line without running anything.
    t.exe({QStringLiteral("write x")});
    t.keys(QStringLiteral("F3"));
    EXPECT_EQ(typed(t), QStringLiteral("write x"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("write x"));
    EXPECT_EQ(t.row(1), QStringLiteral("x"));
}

TEST(Keyboard, ClipboardKeysCopyCutAndPasteTheWholeLine)
{
    TestSession t;
    ScriptedDesktop &desktop = t->scripted;
    t.keys(QStringLiteral("text:write abc,Ctrl+C"));
    EXPECT_EQ(desktop.clipboardText(), QStringLiteral("write abc"));
    EXPECT_EQ(typed(t), QStringLiteral("write abc"));
    t.keys(QStringLiteral("Backspace,Ctrl+X"));
    EXPECT_EQ(desktop.clipboardText(), QStringLiteral("write ab"));
    EXPECT_EQ(typed(t), QString());
    EXPECT_EQ(t.row(33), QStringLiteral("   COMMAND:"));

    // A paste with line breaks is typed whole into the one line and runs as one command.
    desktop.setClipboardText(QStringLiteral("write a\r\nb"));
    t.keys(QStringLiteral("Ctrl+V"));
    EXPECT_EQ(typed(t), QStringLiteral("write a\r\nb"));
    t.keys(QStringLiteral("Enter"));
    EXPECT_EQ(t->opt[Options::LastCommand], QStringLiteral("write a\r\nb"));

    // A paste longer than the space left is cut at the end of row 36.
    desktop.setClipboardText(QString(500, u'p'));
    t.keys(QStringLiteral("Ctrl+V"));
    EXPECT_EQ(typed(t).size(), 81 + 3 * 93);

    // Shift+Insert pastes the clipboard as well, wide characters by their cells.
    t.keys(QStringLiteral("Escape"));
    desktop.setClipboardText(QString(50, QChar(0x5742)));
    t->keyboard.keyDown(Vk::Insert, Vk::ShiftMask);
    EXPECT_EQ(typed(t), QString(50, QChar(0x5742)));
    EXPECT_EQ(QPoint(t->console.curCol, t->console.curRow), QPoint(21, 34));
}

TEST(Keyboard, PagerKeysPageAndEscapeLeaves)
{
    TestSession t;
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines.append(QStringLiteral("line %1").arg(i));
    t->pager.mline(lines.join(QStringLiteral("\r\n")));
    t->console.setMode(Console::Mode::Pager);
    t.keys(QStringLiteral("Down,Down,Up"));
    EXPECT_EQ(t->pager.pageTop, 1);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("line 1"));
    t.keys(QStringLiteral("PageDown"));
    EXPECT_EQ(t->pager.pageTop, 36);
    t.keys(QStringLiteral("PageUp"));
    EXPECT_EQ(t->pager.pageTop, 1);
    t.keys(QStringLiteral("End"));
    EXPECT_EQ(t->pager.pageTop, 64);
    EXPECT_EQ(t.pagerRow(36), QStringLiteral("line 99"));
    // Typing does nothing in the pager.
    t.keys(QStringLiteral("text:xyz,Home"));
    EXPECT_EQ(t->pager.pageTop, 0);
    EXPECT_EQ(typed(t), QString());
    t->setWindowTitle(QStringLiteral("0:01 / 3:00 - idrisk2k Command"));
    t->pager.plView = true;
    t.keys(QStringLiteral("Escape"));
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
    EXPECT_FALSE(t->pager.plView);
    EXPECT_EQ(t->windowTitle(), QStringLiteral("idrisk2k Command"));
    EXPECT_EQ(t.row(1), QString());
    EXPECT_EQ(t.row(33), QStringLiteral("   COMMAND:"));
}

TEST(Keyboard, F10SendsAnEscapeThatTheNextModeHandles)
{
    TestSession t;
    // Bound to a command that opens the pager, the queued Escape closes it again.
    t.exe({QStringLiteral("f10 set")});
    t.keys(QStringLiteral("F10"));
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
    EXPECT_EQ(t.row(33), QStringLiteral("   COMMAND:"));
    // F9 opens the pager and stays there.
    t.exe({QStringLiteral("f9 set")});
    t.keys(QStringLiteral("F9"));
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
}

TEST(Keyboard, WhileABatchRunsOnlyBreakActsAndConfirmationIsAsked)
{
    TestSession t;
    t->batch.initbatch(t.file(QStringLiteral("running.txt")));
    t.keys(QStringLiteral("text:abc,F5,Enter,Menu"));
    EXPECT_EQ(typed(t), QString());
    EXPECT_EQ(t.row(1), QString());
    EXPECT_TRUE(t->scripted.lastMenu().isEmpty());

    // Risky commands ask first; No skips them, Yes runs them, no answer counts as No.
    t.answer(QStringLiteral("no"));
    t.exe({QStringLiteral("set a first")});
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("a")), KeyValueStore::kNotFound);
    t.answer(QStringLiteral("Yes"));
    t.exe({QStringLiteral("set a second")});
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("a")), QStringLiteral("second"));
    t.exe({QStringLiteral("f4 write x")});
    EXPECT_EQ(t->CF.GetValue(QStringLiteral("\u00acF4")), KeyValueStore::kNotFound);
    ASSERT_EQ(t->scripted.questions().size(), 3);
    EXPECT_EQ(t->scripted.questions()[0],
              QStringLiteral(
                  "Batch File Warning: The below command could potentially cause damage to your "
                  "system:\r\n\r\nset a first\r\n\r\nAre you sure you want to execute it?"));
    // Commands that cannot harm are not questioned.
    t.exe({QStringLiteral("write fine")});
    EXPECT_EQ(t.row(1), QStringLiteral("fine"));
    EXPECT_EQ(t->scripted.questions().size(), 3);

    t.keys(QStringLiteral("Break"));
    EXPECT_FALSE(t->batch.running());
    t.keys(QStringLiteral("text:abc"));
    EXPECT_EQ(typed(t), QStringLiteral("abc"));
}

TEST(Keyboard, ADeletionAwaitsItsAnswerKey)
{
    TestSession t;
    const QString victim = t.file(QStringLiteral("victim.txt"));
    QFile(victim).open(QIODevice::WriteOnly);

    t->opt[Options::PendingDeletion] = victim;
    t->console.setMode(Console::Mode::ConfirmationAwaited);
    t.keys(QStringLiteral("N"));
    EXPECT_TRUE(QFile::exists(victim));
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
    EXPECT_EQ(t->opt[Options::PendingDeletion], QString());
    // The answering key does not stay on the command line.
    EXPECT_EQ(typed(t), QString());

    t->opt[Options::PendingDeletion] = victim;
    t->console.setMode(Console::Mode::ConfirmationAwaited);
    t.keys(QStringLiteral("Y"));
    EXPECT_FALSE(QFile::exists(victim));
    EXPECT_EQ(typed(t), QString());
    // The key's character stays drawn in the cursor cell until the cursor blinks over it.
    EXPECT_EQ(t->console.curCol, 13);
    EXPECT_EQ(t->console.scrCells().character(13, 33), u'y');

    t->opt[Options::PendingDeletion] = victim;
    t->console.setMode(Console::Mode::ConfirmationAwaited);
    t.keys(QStringLiteral("Y"));
    EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: File not found (53)"));
    EXPECT_EQ(t.rowColour(2), Colours::kRed);
    EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);

    // While a command waits, keys are turned away; Escape alone is heard, and gives it up.
    {
        const CommandWait wait(*t);
        t.keys(QStringLiteral("text:q,Enter"));
        EXPECT_EQ(typed(t), QString());
        EXPECT_FALSE(wait.cancelled());
        t.keys(QStringLiteral("Escape"));
        EXPECT_TRUE(wait.cancelled());
    }
}

TEST(Keyboard, PlaylistViewKeysDriveThePlayers)
{
    TestSession t;
    t.linkTracks(5, 1);
    for (int i = 0; i < 5; ++i)
        t->playlist[i] = {QString::number(i + 1), QStringLiteral("1")};
    t->pager.mline(QStringLiteral("h1\r\nh2\r\na\r\nb\r\nc\r\nd\r\ne"));
    const auto playing = [&] { return t->players.inUse().fileName(); };

    // Without the playlist view these keys do nothing.
    t.keys(QStringLiteral("F12,Enter"));
    EXPECT_EQ(playing(), QString());

    // Enter plays the track on the top row (pager line 3 is entry 1), fading the old one.
    t->pager.plView = true;
    t.keys(QStringLiteral("Down,Down,Down,Enter"));
    EXPECT_EQ(t->playlist.plIndex, 1);
    EXPECT_EQ(playing(), QStringLiteral("/music/2-1.mp3"));
    EXPECT_TRUE(t->players.fading());
    QStringList files;
    for (const QString key : {"F12", "F11", "F11", "F11"}) {
        t.keys(key);
        files.append(playing());
    }
    EXPECT_EQ(files,
              QStringList({QStringLiteral("/music/3-1.mp3"), QStringLiteral("/music/2-1.mp3"),
                           QStringLiteral("/music/1-1.mp3"), QStringLiteral("/music/1-1.mp3")}));
    EXPECT_EQ(t->playlist.plIndex, 0);

    // F9: nothing loaded starts the first entry, playing pauses, paused plays.
    t->players.inUse().setFileName(QString());
    t->playlist.plIndex = 3;
    t.keys(QStringLiteral("F9"));
    EXPECT_EQ(t->playlist.plIndex, 0);
    EXPECT_EQ(playing(), QStringLiteral("/music/1-1.mp3"));
    EXPECT_EQ(t->players.inUse().playState(), MediaPlayer::kPlaying);
    t.keys(QStringLiteral("F9"));
    EXPECT_EQ(t->players.inUse().playState(), MediaPlayer::kPaused);
    t.keys(QStringLiteral("F9"));
    EXPECT_EQ(t->players.inUse().playState(), MediaPlayer::kPlaying);
    // A track that has ended (the end of the list) starts again from its beginning.
    auto &ended = static_cast<FakeMediaPlayer &>(t->players.inUse());
    ended.state = MediaPlayer::kStopped;
    ended.pos = 199;
    t.keys(QStringLiteral("F9"));
    EXPECT_EQ(ended.state, MediaPlayer::kPlaying);
    EXPECT_EQ(ended.pos, 0);
    EXPECT_EQ(playing(), QStringLiteral("/music/1-1.mp3"));

    // [ and ] jump 10 seconds by whole seconds near the ends.
    MediaPlayer &player = t->players.inUse();
    auto &fake = static_cast<FakeMediaPlayer &>(player);
    const std::tuple<const char *, double, double, double> jumps[] = {
        {"[", 7.5, 300, 0},   {"[", 15.5, 300, 5.5},    {"]", 191, 200.4, 199},
        {"]", 50, 200.4, 60}, {"]", 190.4, 200.4, 199},
    };
    for (const auto &[key, from, length, to] : jumps) {
        fake.pos = from;
        fake.dur = length;
        t.keys(QString::fromLatin1(key));
        EXPECT_DOUBLE_EQ(fake.pos, to) << key << " from " << from;
    }
}

// A skip fades the old track in 400 steps of 10 hundredths of a decibel, 12 ms apart; a
// second skip during the fade stops the first old track at once.
TEST(Keyboard, SkippingFadesTheOldTrackAndASecondSkipCutsTheFadeShort)
{
    TestSession t;
    t.linkTracks(3, 1);
    for (int i = 0; i < 3; ++i)
        t->playlist[i] = {QString::number(i + 1), QStringLiteral("1")};
    t->players.playCurrent(); // entry 0 on wmp(1)
    t->pager.mline(QStringLiteral("h1\r\nh2\r\na"));
    t->pager.plView = true;
    const auto press = [&](int code) { t->keyboard.keystroke(code, 0, 0); };
    press(Vk::F12);
    Players &players = t->players;
    EXPECT_EQ(players.fadingPlayer(), 1);
    t.wait(399 * Players::kFadeInterval);
    EXPECT_EQ(t.player(1).vol, -3990);
    EXPECT_TRUE(players.fading());
    EXPECT_EQ(t.player(1).stops, 0);
    t.wait(Players::kFadeInterval);
    EXPECT_EQ(t.player(1).stops, 1);
    EXPECT_EQ(t.player(1).vol, 0);
    EXPECT_FALSE(players.fading());

    press(Vk::F12); // wmp(0) fades, wmp(1) plays entry 2
    t.wait(2 * Players::kFadeInterval);
    EXPECT_EQ(t.player(0).vol, -20);
    press(Vk::F11); // cut short: wmp(0) stops at once, wmp(1) fades
    EXPECT_EQ(t.player(0).stops, 1);
    EXPECT_EQ(t.player(0).vol, 0);
    EXPECT_EQ(players.fadingPlayer(), 1);
    EXPECT_EQ(t.player(0).file, QStringLiteral("/music/2-1.mp3"));
}

// The cursor belongs to the command line: a dialog opened from the pager takes the focus
// and gives it back without drawing into the pager's text.
TEST(Keyboard, FocusChangesInThePagerLeaveItsTextAlone)
{
    TestSession t;
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines.append(QString(92, QChar(u'a' + i % 26)));
    t->pager.mline(lines.join(QStringLiteral("\r\n")));
    const QString before = t->console.scrCells().rowText(Console::kHomeRow);
    t->keyboard.lostFocus();
    t->keyboard.gotFocus();
    EXPECT_EQ(t->console.scrCells().rowText(Console::kHomeRow), before);
    EXPECT_EQ(t->console.scrCells().character(Console::kHomeColumn, Console::kHomeRow),
              QChar(u'a' + 32 % 26));
    // At the prompt the cursor is drawn and taken away as before.
    t.keys(QStringLiteral("Escape"));
    t->keyboard.gotFocus();
    EXPECT_EQ(t->console.scrCells().character(Console::kHomeColumn, Console::kHomeRow),
              QChar(u'_'));
    t->keyboard.lostFocus();
    EXPECT_EQ(t->console.scrCells().character(Console::kHomeColumn, Console::kHomeRow),
              QChar(u' '));
}

} // namespace
