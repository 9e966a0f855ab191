#pragma once
// The search of filesearch: every file under a folder whose name matches a wildcard file
// name pattern (case ignored), found folder by folder in sorted order. Symbolic links are
// listed when their names match but never followed, so a link back up the tree cannot loop.

#include "foundation/Wildcard.h"

#include <QStringList>
#include <functional>

class FileSearch
{
public:
    // The hits a list holds; one more and the search stops, keeping kShownOnOverflow.
    static constexpr qsizetype kCapacity = 32767;
    static constexpr qsizetype kShownOnOverflow = 32000;

    struct Result
    {
        // full paths: the folder as given (made absolute when relative), "/", the path below it
        QStringList hits;
        bool overflowed = false;
    };

    // An invalid pattern raises "Invalid pattern string (93)". capacity is the list's.
    explicit FileSearch(const QString &pattern, qsizetype capacity = kCapacity);

    // Told the number of hits so far, every progressInterval or so of searching; answering
    // false stops the search, with the hits found so far.
    using Progress = std::function<bool(qsizetype hits)>;
    static constexpr int kProgressIntervalMs = 250;

    // A folder that is not there raises "Path not found (76)"; sub-folders that cannot be
    // read are passed over.
    Result run(const QString &folder, const Progress &progress = {}) const;

private:
    Wildcard m_pattern;
    qsizetype m_capacity;
};
