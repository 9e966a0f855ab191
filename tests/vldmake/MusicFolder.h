#pragma once
// Audio files for the database maker's tests, made in a temporary folder: WAV tones, silent
// MP3 streams and empty FLAC files, tagged through TagLib as a tagging program would.

#include "ToneFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

// Readable test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '{';
    for (const QString &text : list)
        *out << "\n  \"" << text.toStdString() << '"';
    *out << " }";
}

// Tag names as TagLib's property map has them: ARTIST, TITLE, GENRE, DATE, LYRICS, COMMENT.
using Tags = std::initializer_list<std::pair<const char *, QString>>;

class MusicFolder
{
public:
    MusicFolder() { EXPECT_TRUE(m_dir.isValid()); }

    QString path(const QString &relative = {}) const
    {
        return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
    }

    // A short tone, tagged when tags are given.
    QString wav(const QString &relative, Tags tags = {})
    {
        const QString file = prepare(relative);
        EXPECT_TRUE(ToneFile::writeWav(file, {{440.0, 60}}));
        tag(file, tags);
        return file;
    }
    QString mp3(const QString &relative, Tags tags = {})
    {
        const QString file = prepare(relative);
        EXPECT_TRUE(ToneFile::writeSilentMp3(file, 4));
        tag(file, tags);
        return file;
    }
    QString flac(const QString &relative, Tags tags = {})
    {
        const QString file = prepare(relative);
        EXPECT_TRUE(ToneFile::writeEmptyFlac(file));
        tag(file, tags);
        return file;
    }
    // Any other file: bytes as given.
    QString file(const QString &relative, const QByteArray &bytes)
    {
        const QString file = prepare(relative);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return file;
    }

    static void tag(const QString &file, Tags tags)
    {
        if (tags.size() == 0)
            return;
        const QByteArray name = QFile::encodeName(file);
        TagLib::FileRef ref(name.constData());
        ASSERT_FALSE(ref.isNull()) << qPrintable(file);
        TagLib::PropertyMap map;
        for (const auto &[key, value] : tags)
            map.insert(key, TagLib::StringList(
                                TagLib::String(value.toUtf8().constData(), TagLib::String::UTF8)));
        ref.file()->setProperties(map);
        ASSERT_TRUE(ref.save()) << qPrintable(file);
    }

private:
    QString prepare(const QString &relative)
    {
        const QString file = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        return file;
    }

    QTemporaryDir m_dir;
};
