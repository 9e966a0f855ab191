#include "IniFile.h"

#include "Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Tovar {

namespace {

// The largest INI file handled; larger ones are not profiles.
constexpr qint64 kMaxSize = 64 * 1024 * 1024;

bool sameName(QByteArrayView bytes, const QString &name)
{
    return QString::fromUtf8(bytes.trimmed()).compare(name.trimmed(), Qt::CaseInsensitive) == 0;
}

// The section a "[name]" line opens, if it is one.
std::optional<QByteArrayView> sectionOf(QByteArrayView line)
{
    line = line.trimmed();
    if (!line.startsWith('['))
        return std::nullopt;
    const qsizetype close = line.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return line.sliced(1, close - 1);
}

Error accessError(const QFileDevice &file)
{
    if (file.error() == QFileDevice::PermissionsError)
        return Errors::permissionDenied();
    return Errors::pathFileAccess();
}

} // namespace

QByteArray withoutIniKey(const QByteArray &ini, const QString &section, const QString &key)
{
    bool inSection = false;
    for (qsizetype start = 0; start < ini.size();) {
        qsizetype end = ini.indexOf('\n', start);
        end = end < 0 ? ini.size() : end + 1;
        const QByteArrayView line = QByteArrayView(ini).sliced(start, end - start);
        if (const auto name = sectionOf(line)) {
            // Only the first section of the name is searched.
            if (inSection)
                break;
            inSection = sameName(*name, section);
        } else if (inSection) {
            const qsizetype equals = line.indexOf('=');
            if (equals > 0 && sameName(line.first(equals), key)) {
                QByteArray out = ini;
                out.remove(start, end - start);
                return out;
            }
        }
        start = end;
    }
    return ini;
}

void removeIniKey(const QString &section, const QString &key, const QString &path)
{
    if (path.isEmpty())
        throw Errors::pathFileAccess();
    QFile in(path);
    if (!QFileInfo::exists(path))
        return;
    if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly))
        throw accessError(in);
    if (in.size() > kMaxSize)
        throw Errors::fileTooLarge();
    const QByteArray before = in.read(kMaxSize + 1);
    in.close();
    const QByteArray after = withoutIniKey(before, section, key);
    if (after.size() == before.size())
        return;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(after) != after.size() || !out.commit())
        throw accessError(out);
}

} // namespace Tovar
