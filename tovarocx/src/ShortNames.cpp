#include "ShortNames.h"

#include "Errors.h"
#include "tovarocx/FileNameBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <optional>
#include <sys/stat.h>

namespace Tovar {

namespace {

constexpr qsizetype kStemChars = 6;
constexpr qsizetype kBaseChars = 8;
constexpr qsizetype kExtensionChars = 3;

bool validChar(QChar c)
{
    if (c.unicode() > 0x7e)
        return false;
    if (c.isLetterOrNumber())
        return true;
    return QStringView(u"!#$%&'()-@^_`{}~").contains(c);
}

// A long name's characters as they go into an alias: blanks and dots dropped, letters
// upper-cased, anything else not allowed in a short name made "_".
QString aliasChars(QStringView part, qsizetype limit)
{
    QString out;
    for (QChar c : part) {
        if (out.size() == limit)
            break;
        if (c == u' ' || c == u'.')
            continue;
        out += validChar(c) ? c.toUpper() : QChar(u'_');
    }
    return out;
}

// The names in a folder, those that are not UTF-8 kept byte for byte; none when it cannot
// be listed.
std::optional<QStringList> namesIn(const QString &folder)
{
    DIR *dir = ::opendir(FileNameBytes::encode(folder).constData());
    if (!dir)
        return std::nullopt;
    QStringList names;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(FileNameBytes::decode(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

QStringList entriesOf(const QString &folder)
{
    return namesIn(folder).value_or(QStringList());
}

// The entries a short name is counted among. A folder that can be searched but not listed
// gives none, which would pass for a name that is not there: "Permission denied (70)".
QStringList listedEntries(const QString &folder)
{
    std::optional<QStringList> names = namesIn(folder);
    if (!names)
        throw Errors::permissionDenied();
    return *std::move(names);
}

// The absolute, cleaned path of an existing file or folder, as typed (links not resolved).
QString existing(const QString &path, bool file)
{
    struct stat st
    {
    };
    if (path.isEmpty() || ::stat(FileNameBytes::encode(path).constData(), &st) != 0 ||
        S_ISDIR(st.st_mode) == file)
        throw file ? Errors::fileNotFound() : Errors::pathNotFound();
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

bool fitsShortName(QStringView name)
{
    const qsizetype dot = name.indexOf(u'.');
    const QStringView base = dot < 0 ? name : name.first(dot);
    const QStringView ext = dot < 0 ? QStringView() : name.sliced(dot + 1);
    if (base.isEmpty() || base.size() > kBaseChars || ext.size() > kExtensionChars)
        return false;
    if (dot >= 0 && (ext.isEmpty() || ext.contains(u'.')))
        return false;
    return std::all_of(base.begin(), base.end(), validChar) &&
           std::all_of(ext.begin(), ext.end(), validChar);
}

QHash<QString, QString> shortNames(QStringList names)
{
    std::sort(names.begin(), names.end());
    QHash<QString, QString> result;
    QSet<QString> taken;
    QStringList aliased;
    // Names that fit keep themselves, upper-cased, unless a name sorted before them already
    // has that form (names differing only in case); those are aliased like the rest.
    for (const QString &name : std::as_const(names)) {
        const QString upper = name.toUpper();
        if (fitsShortName(name) && !taken.contains(upper)) {
            result.insert(name, upper);
            taken.insert(upper);
        } else {
            aliased.append(name);
        }
    }
    // The next number to try for each stem and extension.
    QHash<QString, int> next;
    for (const QString &name : std::as_const(aliased)) {
        const qsizetype dot = name.lastIndexOf(u'.');
        const bool hasExtension = dot > 0;
        QString stem = aliasChars(hasExtension ? QStringView(name).first(dot) : name, kStemChars);
        if (stem.isEmpty())
            stem = QStringLiteral("_");
        const QString ext =
            hasExtension ? aliasChars(QStringView(name).sliced(dot + 1), kExtensionChars) : QString();
        const QString suffix = ext.isEmpty() ? QString() : QStringLiteral(".") + ext;
        int &n = next[stem + u'|' + ext];
        QString alias;
        do {
            const QString tail = QStringLiteral("~%1").arg(++n);
            alias = stem.left(kBaseChars - tail.size()) + tail + suffix;
        } while (taken.contains(alias));
        taken.insert(alias);
        result.insert(name, alias);
    }
    return result;
}

QString shortNameOf(const QString &path, bool file)
{
    const QFileInfo info(existing(path, file));
    if (info.isRoot())
        return QString();
    return shortNames(listedEntries(info.path())).value(info.fileName());
}

QString shortPathOf(const QString &path, bool file)
{
    const QString absolute = existing(path, file);
    QString out = QStringLiteral("/");
    QString folder = QStringLiteral("/");
    for (const QString &part : absolute.split(u'/', Qt::SkipEmptyParts)) {
        const QString alias = shortNames(listedEntries(folder)).value(part);
        if (alias.isEmpty())
            throw file ? Errors::fileNotFound() : Errors::pathNotFound();
        if (!out.endsWith(u'/'))
            out += u'/';
        out += alias;
        folder = QDir(folder).filePath(part);
    }
    return out;
}

QString shortLocationOf(const QString &file)
{
    const QString path = shortPathOf(file, true);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString longPathOf(const QString &path)
{
    if (path.isEmpty())
        throw Errors::pathNotFound();
    QString folder = QDir::isAbsolutePath(path) ? QStringLiteral("/") : QDir::currentPath();
    for (const QString &part : QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts)) {
        const QStringList entries = entriesOf(folder);
        QString found;
        if (part == u"..")
            found = part;
        else if (entries.contains(part))
            found = part;
        else {
            const QHash<QString, QString> aliases = shortNames(entries);
            for (auto it = aliases.cbegin(); it != aliases.cend() && found.isEmpty(); ++it) {
                if (it.value().compare(part, Qt::CaseInsensitive) == 0)
                    found = it.key();
            }
        }
        if (found.isEmpty())
            throw Errors::pathNotFound();
        folder = QDir::cleanPath(QDir(folder).filePath(found));
    }
    return folder;
}

} // namespace Tovar
