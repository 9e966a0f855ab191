#include "Tovar.h"

#include "Errors.h"
#include "FileQueries.h"
#include "IniFile.h"
#include "ShortNames.h"
#include "TextConversions.h"
#include "WindowServices.h"

#include <QPixmap>

namespace Tovar {

namespace {

void expectArgs(const QVariantList &args, qsizetype count)
{
    if (args.size() != count)
        throw Errors::wrongArgumentCount();
}

bool takesOneText(int dispid)
{
    return (dispid >= FExists && dispid <= FolderCreated) || dispid == GetSmallIcon ||
           dispid == GetBigIcon;
}

// A text argument; anything that cannot stand for a text is a type mismatch.
QString text(const QVariant &arg)
{
    if (!arg.canConvert<QString>())
        throw Errors::typeMismatch();
    return arg.toString();
}

// A window argument: a QObject pointer, or nothing at all.
QObject *object(const QVariant &arg)
{
    if (!arg.isValid())
        return nullptr;
    if (!arg.canConvert<QObject *>())
        throw Errors::typeMismatch();
    return arg.value<QObject *>();
}

// The one-text members: the argument's text in, a result out.
QVariant oneText(int dispid, const QString &path)
{
    switch (dispid) {
    case FExists:
        return fileExists(path);
    case DExists:
        return driveState(path);
    case DirExists:
        return folderExists(path);
    case ColConv:
        return colConv(path);
    case ShortFileLocation:
        return shortLocationOf(path);
    case ShortFile:
        return shortNameOf(path, true);
    case ShortPath:
        return shortPathOf(path, true);
    case Reserved:
        return longPathOf(path);
    case FileCreated:
        return fileDate(path, FileDate::Created);
    case FileAccessed:
        return fileDate(path, FileDate::Accessed);
    case FileModified:
        return fileDate(path, FileDate::Modified);
    case ShortFolder:
        return shortPathOf(path, false);
    case FolderCreated:
        return folderCreated(path);
    case GetSmallIcon:
    case GetBigIcon: {
        const QPixmap icon = fileIcon(path, dispid == GetSmallIcon ? IconSize::Small : IconSize::Big);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    default:
        throw Errors::unknownMember();
    }
}

} // namespace

QVariant Tovar::invoke(int dispid, QVariantList &args)
{
    switch (dispid) {
    case HTML2PT:
        expectArgs(args, 1);
        args[0] = html2pt(text(args[0]));
        return args[0];
    case PT2HTML:
        expectArgs(args, 2);
        args[0] = pt2html(text(args[0]), args[1].toBool());
        return args[0];
    case RemoveINIKey:
        expectArgs(args, 3);
        removeIniKey(text(args[0]), text(args[1]), text(args[2]));
        return {};
    case TopMost:
        expectArgs(args, 2);
        setTopMost(object(args[0]), args[1].toBool());
        return {};
    case ShellAndWait:
        expectArgs(args, 2);
        shellAndWait(object(args[0]), text(args[1]));
        return {};
    default:
        if (!takesOneText(dispid))
            throw Errors::unknownMember();
        expectArgs(args, 1);
        return oneText(dispid, text(args[0]));
    }
}

} // namespace Tovar
