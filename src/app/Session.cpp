#include "app/Session.h"

#include "batch/BatchCommands.h"
#include "drawing/ShapeCommands.h"
#include "drawing/TextCommands.h"
#include "interpreter/Messages.h"
#include "interpreter/RuntimeError.h"
#include "interpreter/SimpleCommands.h"
#include "settings/AliasCommands.h"
#include "settings/AppearanceCommands.h"
#include "settings/Colours.h"
#include "settings/EventLogCommand.h"
#include "settings/OptionCommands.h"

#include <QSettings>

Session::Session(Config cfg)
    : config(std::move(cfg)),
      players(config.makePlayers ? config.makePlayers() : std::make_unique<IdlePlayers>()), console(opt, *players),
      pager(console),
      log(config.folder.programFolder(QStringLiteral("eventlog.txt")), opt), interpreter(*this),
      batch(*this), keyboard(*this), cursorTimer(*this), m_windowTitle(Msg::kWindowTitle)
{
    pager.setOnShown([this] { batch.pausetimed(); });
    registerSimpleCommands(commands);
    registerOptionCommands(commands);
    registerEventLogCommands(commands);
    registerAliasCommands(commands);
    registerAppearanceCommands(commands);
    registerShapeCommands(commands);
    registerTextCommands(commands);
    registerBatchCommands(commands);
}

Session::~Session() = default;

void Session::exe(const QString &line)
{
    QString cmd = line;
    interpreter.exe(cmd);
}

void Session::ErorMsg(const QString &msg, int lne)
{
    console.DrawText(msg, lne, Colours::kRed, 0);
    log.EventLog(msg, true);
}

std::unique_ptr<QSettings> Session::optionSettings() const
{
    if (!config.optionsFile.isEmpty())
        return std::make_unique<QSettings>(config.optionsFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Idrisk Tovar"), QStringLiteral("Idrisk Tovar"));
}

void Session::requestClose()
{
    m_closeRequested = true;
    if (m_onCloseRequested)
        m_onCloseRequested();
}

void Session::handleEvent(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const RuntimeError &error) {
        interpreter.trap(error);
    }
}

void Session::setWindowTitle(const QString &title)
{
    if (title == m_windowTitle)
        return;
    m_windowTitle = title;
    if (m_onTitleChanged)
        m_onTitleChanged(title);
}
