#include "interpreter/Completion.h"

#include "formats/KeyValueStore.h"
#include "interpreter/CommandTable.h"
#include "settings/AliasCommands.h"

#include <QDir>
#include <algorithm>

namespace {

// The commands whose arguments are blank-separated words, where a name with blanks needs
// quotes.
bool splitsArguments(const QString &word)
{
    static const QStringList kWords = {QStringLiteral("fileren"), QStringLiteral("run"),
                                       QStringLiteral("cmd")};
    return kWords.contains(word.toLower());
}

QString commonStart(const QStringList &texts, Qt::CaseSensitivity cs)
{
    QString common = texts.isEmpty() ? QString() : texts.front();
    for (const QString &text : texts) {
        qsizetype n = 0;
        while (n < common.size() && n < text.size() &&
               QStringView(common).mid(n, 1).compare(QStringView(text).mid(n, 1), cs) == 0)
            ++n;
        common.truncate(n);
    }
    return common;
}

// The names in the folder of a typed path that start with its last part; folders end in "/".
QStringList fileChoices(const QString &typed)
{
    const qsizetype slash = typed.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : typed.left(slash + 1);
    const QString start = typed.mid(slash + 1);
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    QDir::Filters filters = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System;
    // Hidden names only when asked for, as shells do.
    if (start.startsWith(u'.'))
        filters |= QDir::Hidden;
    QStringList choices;
    for (const QFileInfo &info : dir.entryInfoList(filters, QDir::Name)) {
        if (info.fileName().startsWith(start))
            choices.append(folder + info.fileName() + (info.isDir() ? QStringLiteral("/") : QString()));
    }
    return choices;
}

} // namespace

namespace Completer {

QStringList commandWords(const CommandTable &table, const KeyValueStore &settings)
{
    QStringList words = table.words();
    // ListAll shows one "key = value" a line; keys are single words.
    for (const QString &entry : settings.ListAll().split(QStringLiteral("\r\n"))) {
        const qsizetype equals = entry.indexOf(QStringLiteral(" = "));
        if (equals > 0 && !entry.startsWith(kBindingMark))
            words.append(entry.left(equals).toLower());
    }
    words.sort();
    words.removeDuplicates();
    return words;
}

Completion complete(const QString &line, qsizetype cursor, const QStringList &words)
{
    Completion done{line, cursor, {}};
    const QString before = line.left(cursor);
    const qsizetype firstBlank = before.indexOf(u' ');
    if (firstBlank < 0) {
        QStringList choices;
        for (const QString &word : words) {
            if (word.startsWith(before, Qt::CaseInsensitive))
                choices.append(word);
        }
        if (choices.isEmpty())
            return done;
        QString common = commonStart(choices, Qt::CaseInsensitive);
        // What was typed keeps its letters; only the rest is added.
        common.replace(0, before.size(), before);
        if (choices.size() == 1)
            common += u' ';
        else
            done.choices = choices;
        done.line = common + line.mid(cursor);
        done.cursor = common.size();
        return done;
    }
    const QString word = before.left(firstBlank);
    const bool quoting = splitsArguments(word);
    // The argument starts after the command word, or for splitting commands after the last
    // blank outside quotes.
    qsizetype argStart = firstBlank + 1;
    if (quoting) {
        bool inQuotes = false;
        for (qsizetype i = argStart; i < before.size(); ++i) {
            if (before[i] == u'"')
                inQuotes = !inQuotes;
            else if (before[i] == u' ' && !inQuotes)
                argStart = i + 1;
        }
    }
    QString typed = before.mid(argStart);
    const bool quoted = typed.startsWith(u'"');
    if (quoted)
        typed.remove(0, 1);
    const QStringList choices = fileChoices(typed);
    if (choices.isEmpty())
        return done;
    QString name = commonStart(choices, Qt::CaseSensitive);
    const bool whole = choices.size() == 1;
    const bool needsQuotes = quoted || (quoting && name.contains(u' '));
    QString text = needsQuotes ? u'"' + name : name;
    if (whole && !name.endsWith(u'/'))
        text += needsQuotes ? QStringLiteral("\" ") : QStringLiteral(" ");
    if (!whole) {
        for (const QString &choice : choices)
            done.choices.append(choice.mid(choice.lastIndexOf(u'/', choice.size() - 2) + 1));
    }
    done.line = line.left(argStart) + text + line.mid(cursor);
    done.cursor = argStart + text.size();
    return done;
}

} // namespace Completer
