#pragma once
// 8.3 short names, as a FAT-style file system would alias each name of a folder. Linux keeps
// none, so they are computed from the folder's listing (the rule is in docs/formats.md).

#include <QHash>
#include <QString>
#include <QStringList>

namespace Tovar {

// Whether a name is already a valid 8.3 name in some case: one to eight characters, at most
// one dot, then at most three, all of letters, digits and ! # $ % & ' ( ) - @ ^ _ ` { } ~.
bool fitsShortName(QStringView name);

// The short name of every entry of one folder, keyed by its long name. Names that fit are
// upper-cased; the others become up to six characters of their stem, "~", a number and up
// to three characters of their extension, numbered in the sorted order of the long names.
// No two entries get the same short name.
QHash<QString, QString> shortNames(QStringList names);

// The short name of an existing file or folder (raises "File not found (53)" or "Path not
// found (76)" when there is none; file tells which is expected; "Permission denied (70)"
// when a folder on the way can be searched but not listed, so no alias can be counted).
QString shortNameOf(const QString &path, bool file);
// The short path of an existing file or folder: "/" and the short name of every component.
QString shortPathOf(const QString &path, bool file);
// The short path of an existing file's folder.
QString shortLocationOf(const QString &file);
// The long path a path of long or short components stands for; "Path not found (76)" when a
// component matches nothing.
QString longPathOf(const QString &path);

} // namespace Tovar
