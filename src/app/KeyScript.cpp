#include "app/KeyScript.h"

#include "console/VirtualKeys.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QHash>
#include <QKeySequence>

namespace {

// Items split at commas not preceded by a backslash, the backslashes taken out.
QStringList splitItems(const QString &sequence)
{
    QStringList items;
    QString item;
    for (qsizetype i = 0; i < sequence.size(); ++i) {
        const QChar c = sequence[i];
        if (c == u'\\' && i + 1 < sequence.size()) {
            item += sequence[++i];
        } else if (c == u',') {
            items.append(item);
            item.clear();
        } else {
            item += c;
        }
    }
    items.append(item);
    return items;
}

// Names people use for keys that Qt spells another way.
QString qtName(const QString &name)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("pagedown"), QStringLiteral("PgDown")},
        {QStringLiteral("pageup"), QStringLiteral("PgUp")},
        {QStringLiteral("escape"), QStringLiteral("Esc")},
        {QStringLiteral("enter"), QStringLiteral("Return")},
        {QStringLiteral("break"), QStringLiteral("Pause")},
        {QStringLiteral("contextmenu"), QStringLiteral("Menu")},
    };
    return names.value(name.toLower(), name);
}

std::optional<Keystroke> namedKey(const QString &item)
{
    QStringList parts = item.split(u'+');
    parts.last() = qtName(parts.last().trimmed());
    const QKeySequence sequence =
        QKeySequence::fromString(parts.join(u'+'), QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return std::nullopt;
    const QKeyCombination combination = sequence[0];
    const int key = combination.key();
    // The text the key would bring, so the same mapping as the window's applies.
    QString text;
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        text = combination.keyboardModifiers() & Qt::ShiftModifier ? QString(QChar(key))
                                                                   : QString(QChar(key)).toLower();
    const Keystroke stroke = QtKeys::fromQt(key, combination.keyboardModifiers(), text);
    if (stroke.code == 0 && stroke.character == 0)
        return std::nullopt;
    return stroke;
}

} // namespace

std::optional<QList<KeyAction>> KeyScript::parse(const QString &sequence, QString *error)
{
    QList<KeyAction> actions;
    for (const QString &item : splitItems(sequence)) {
        if (item.startsWith(QStringLiteral("text:"))) {
            for (const QChar c : item.mid(5))
                actions.append({QtKeys::fromCharacter(c), std::nullopt});
            continue;
        }
        const QString trimmed = item.trimmed();
        if (trimmed.startsWith(QStringLiteral("Menu:"), Qt::CaseInsensitive)) {
            actions.append({{Vk::Menu, 0, 0}, trimmed.mid(5).trimmed()});
            continue;
        }
        const std::optional<Keystroke> stroke = namedKey(trimmed);
        if (!stroke) {
            if (error)
                *error = QStringLiteral("unknown key '%1' in --keys").arg(trimmed);
            return std::nullopt;
        }
        actions.append({*stroke, std::nullopt});
    }
    return actions;
}

void KeyScript::deliver(Session &session, const QList<KeyAction> &actions)
{
    for (const KeyAction &action : actions) {
        if (session.closeRequested())
            return;
        session.scripted.pickMenuEntry(action.menuEntry);
        session.handleEvent([&] {
            session.keyboard.keystroke(action.stroke.code, action.stroke.shift,
                                       action.stroke.character);
        });
        session.scripted.pickMenuEntry(std::nullopt);
        // Keystrokes the handling sent to the window run before the next key.
        QCoreApplication::processEvents();
    }
}
