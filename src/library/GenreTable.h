#pragma once
// The display names of the ID3v1 genre numbers, filled once at start-up.

class GenreTable
{
public:
    // The names arrive with the tag reader; until then the table has none.
    void FillGenres() {}
};
