#include "library/DatabaseFiles.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "foundation/TempFolder.h"
#include "formats/Archive.h"
#include "formats/Catalogue.h"

#include <QFileInfo>
#include <limits>

namespace {

// The fields after the flag character; fewer than wanted is a damaged reference.
QStringList fieldsOf(const QString &reference, qsizetype wanted)
{
    QStringList fields = reference.mid(1).split(u'|');
    if (fields.size() < wanted)
        throw RuntimeError::subscriptOutOfRange();
    return fields;
}

ByteRange rangeOf(const QStringList &fields)
{
    return {Numeric::toLong(fields[0]), Numeric::toLong(fields[1])};
}

// The extension is glued to the name in the private folder: it must stay a plain file name.
void checkExtension(const QString &extension)
{
    if (extension.contains(u'/') || extension.contains(QChar(0)))
        throw RuntimeError::badFileName();
}

// tmp1.ext, tmp2.ext, ...: the first name nothing holds, made new so that a file or link
// put there meanwhile is never followed or overwritten.
std::pair<QString, std::unique_ptr<TextFile::NewFile>> newTempFile(PrivateTempFolder &temp,
                                                                   const QString &extension)
{
    for (qint32 n = 1; n <= std::numeric_limits<qint16>::max(); ++n) {
        const QString name = temp.file(QStringLiteral("tmp%1.%2").arg(n).arg(extension));
        try {
            return {name, std::make_unique<TextFile::NewFile>(name)};
        } catch (const RuntimeError &error) {
            if (error.number() != RuntimeError::fileAlreadyExists().number())
                throw;
        }
    }
    throw RuntimeError::overflow();
}

} // namespace

ByteRange rangeOf(const QString &reference)
{
    return rangeOf(fieldsOf(reference, 2));
}

QString rangeText(const LoadedDatabase &db, const QString &reference)
{
    const ByteRange range = rangeOf(reference);
    // A text longer than any file the program reads whole is no lyrics or notes: a damaged
    // reference into a large (or sparse) file would otherwise take the memory.
    if (range.length > TextFile::kMaxReadSize)
        throw RuntimeError::fileTooLarge();
    return db.archive.ReadRange(db.file, range.offset, range.length);
}

QString vldFN(const LoadedDatabase &db, qint16 a, qint16 t)
{
    const QString value =
        db.catalogue.GetValue(QString::number(a) + QStringLiteral("Filename") + QString::number(t));
    if (value.startsWith(u'L'))
        return value.mid(1);
    const QStringList fields = fieldsOf(value, 3);
    const ByteRange range = rangeOf(fields);
    checkExtension(fields[2]);
    // One copy a run of each track: playing it again, or id3 on it, reuses it. A database
    // rewritten since (loadvld of a new file of the same name) is another thing to copy.
    const QString &database = db.file;
    const QFileInfo databaseFile(database);
    const QString key =
        QStringList{databaseFile.absoluteFilePath(),
                    QString::number(databaseFile.lastModified().toMSecsSinceEpoch()),
                    QString::number(databaseFile.size()),
                    QString::number(range.offset),
                    QString::number(range.length),
                    fields[2]}
            .join(u'|');
    if (const std::optional<QString> copy = db.temp.copyOf(key, range.length))
        return *copy;
    db.temp.checkRoom(range.length);
    auto [name, file] = newTempFile(db.temp, fields[2]);
    db.archive.CopyRange(database, range.offset, range.length,
                     [&file](const QByteArray &piece) { file->write(piece); });
    file->close();
    db.temp.keepCopy(key, name);
    QString &list = db.copies;
    list = list.isEmpty() ? name : list + u'|' + name;
    return name;
}
