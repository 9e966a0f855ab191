#pragma once
// The display names of the genre numbers ("Blues (0)" ... "Big Beat [150]"), filled once at
// start-up and read by id3, listgenres and trackinfo.

#include <QString>
#include <QStringList>

class GenreTable
{
public:
    void FillGenres();
    // The number of entries: 151 once filled.
    int count() const { return static_cast<int>(m_entries.size()); }
    // Entry n. A number with no entry (a tag's 255 "no genre", any n outside 0..150) raises
    // "Subscript out of range (9)".
    const QString &entry(int n) const;

private:
    QStringList m_entries;
};
