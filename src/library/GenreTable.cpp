#include "library/GenreTable.h"

#include "foundation/RuntimeError.h"
#include "formats/GenreNames.h"

void GenreTable::FillGenres()
{
    m_entries.clear();
    for (int n = 0; n < kGenreCount; ++n)
        m_entries.append(genreEntry(n));
}

const QString &GenreTable::entry(int n) const
{
    if (n < 0 || n >= count())
        throw RuntimeError::subscriptOutOfRange();
    return m_entries.at(n);
}
