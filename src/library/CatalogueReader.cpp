#include "library/CatalogueReader.h"

#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"
#include "formats/KeyValueStore.h"

qint32 catalogueCount(const KeyValueStore &catalogue, const QString &key, qsizetype atMost)
{
    const QString value = catalogue.GetValue(key);
    const double count = Numeric::toDouble(value);
    if (count > double(atMost))
        throw RuntimeError::badFileFormat(
            QStringLiteral("damaged database (%1 = %2)").arg(key, value.left(40)));
    return Numeric::roundToLong(count);
}

QString shownValue(QStringView value)
{
    if (value.isNull())
        return KeyValueStore::kNotFound;
    if (value.size() <= kLongestShownValue)
        return value.toString();
    return value.first(kLongestShownValue).toString() +
           QStringLiteral(" [cut: %1 more characters]").arg(value.size() - kLongestShownValue);
}

Wildcard searchPattern(const QString &text)
{
    return Wildcard(u'*' + text.toLower() + u'*');
}

void forEachTrackValue(
    const KeyValueStore &catalogue, QStringView field,
    const std::function<bool(const QString &artist, QStringView track, QStringView value)> &visit)
{
    const qint32 artists = catalogueCount(catalogue, QStringLiteral("Artists"), catalogue.count());
    // Every track has a title key of its own: all the artists' tracks together cannot
    // outnumber the store's keys either.
    qsizetype keysLeft = catalogue.count();
    QString key;
    for (qint32 a = 1; a <= artists; ++a) {
        const QString artist = QString::number(a);
        const qint32 tracks = catalogueCount(catalogue, QStringLiteral("Tracks") + artist, keysLeft);
        keysLeft -= qMax(tracks, 0);
        // One buffer for every key, the values read without a copy.
        key = artist;
        key += field;
        const qsizetype prefix = key.size();
        for (qint32 t = 1; t <= tracks; ++t) {
            key.truncate(prefix);
            key += QString::number(t);
            const QStringView value = catalogue.valueView(key);
            if (!visit(artist, QStringView(key).sliced(prefix),
                       value.isNull() ? QStringView(KeyValueStore::kNotFound) : value))
                return;
        }
    }
}

bool forEachBatchItem(QStringView contents,
                      const std::function<bool(QStringView artist, QStringView track)> &visit)
{
    if (contents.size() < 2)
        throw RuntimeError::invalidProcedureCall();
    const QStringView inner = contents.sliced(1, contents.size() - 2);
    if (inner.isEmpty())
        return true;
    for (qsizetype start = 0; start <= inner.size();) {
        qsizetype end = inner.indexOf(u"}{", start);
        if (end < 0)
            end = inner.size();
        const QStringView item = inner.sliced(start, end - start);
        const qsizetype split = item.indexOf(u'_');
        if (split < 0)
            throw RuntimeError::invalidProcedureCall();
        if (!visit(item.left(split), item.sliced(split + 1)))
            return false;
        start = end + 2;
    }
    return true;
}
