#pragma once
// The ID3v1 tag in the last 128 bytes of an MP3 file: title, artist, album, year, comment
// and genre byte. Reading never writes to the file.

#include <QString>

class ID3Reader
{
public:
    // Reads the tag of path. The read fails, leaving filename() empty and the other fields as
    // they were, when path names no regular file (a folder, a pipe or a device counts as
    // none and is never opened), its last four characters are not ".MP3" in any case, the
    // file is shorter than 128 bytes or its last 128 bytes do not start with "TAG". A file
    // that exists but cannot be opened raises the file guard's error.
    void setFilename(const QString &path);

    // Each field while filename names an existing file; otherwise empty, and 0 for genre.
    QString filename() const;
    QString title() const { return named() ? m_title : QString(); }
    QString artist() const { return named() ? m_artist : QString(); }
    QString album() const { return named() ? m_album : QString(); }
    QString year() const { return named() ? m_year : QString(); }
    QString comment() const { return named() ? m_comment : QString(); }
    // The genre byte, 0..255.
    qint16 genre() const { return named() ? m_genre : qint16(0); }

    static constexpr int kTagSize = 128;

private:
    bool named() const;

    QString m_filename;
    QString m_title;
    QString m_artist;
    QString m_album;
    QString m_year;
    QString m_comment;
    qint16 m_genre = 13;
};
