#pragma once
// The display names of the ID3v1 genre numbers, filled once at start-up.

#include <QString>
#include <array>

class GenreTable
{
public:
    static constexpr int kCount = 151;

    // The names arrive with the tag reader; until then every entry stays empty.
    void FillGenres() {}
    const QString &name(int index) const { return m_names.at(static_cast<size_t>(index)); }

private:
    std::array<QString, kCount> m_names;
};
