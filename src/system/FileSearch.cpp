#include "system/FileSearch.h"

#include "foundation/RuntimeError.h"
#include "system/FolderWalk.h"
#include "tovarocx/FileNameBytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// The name as text, in a buffer kept from name to name: ASCII names, nearly all of them,
// are copied across without the decoder's allocation. This is most of the work on a large tree.
void decodeInto(const std::string &name, QString &out)
{
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        out = FileNameBytes::decode(name);
        return;
    }
    out.resize(static_cast<qsizetype>(name.size()));
    std::copy(name.begin(), name.end(), out.data());
}

} // namespace

FileSearch::FileSearch(const QString &pattern, qsizetype capacity)
    : m_pattern(pattern.toLower(), Wildcard::FileName), m_capacity(capacity)
{
}

FileSearch::Result FileSearch::run(const QString &folder, const Progress &progress) const
{
    const QByteArray root = FileNameBytes::encode(folder);
    struct stat st
    {
    };
    if (folder.isEmpty() || ::stat(root.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw RuntimeError::pathNotFound();
    Result result;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    // A hit from a relative folder is shown in full, so it still names the file once the
    // current folder has changed.
    const QString given = QDir::isRelativePath(folder) ? QDir(folder).absolutePath() : folder;
    const QString shownRoot = given.endsWith(u'/') ? given.chopped(1) : given;
    // The folders still to search, as shown, in the order the walk lists them: the last is
    // searched next.
    std::vector<QString> pending{shownRoot};
    FolderWalk walk(root.toStdString());
    FolderWalk::Listing entries;
    qsizetype sinceCheck = 0;
    QString name;
    while (walk.next(entries)) {
        const QString shown = std::move(pending.back());
        pending.pop_back();
        const size_t firstSub = pending.size();
        for (const FolderWalk::Entry &entry : entries) {
            if (entry.folder) {
                pending.push_back(shown + u'/' + FileNameBytes::decode(entry.name));
                continue;
            }
            decodeInto(entry.name, name);
            if (!m_pattern.matchesLowered(name))
                continue;
            if (result.hits.size() == m_capacity) {
                result.overflowed = true;
                result.hits.resize(std::min(kShownOnOverflow, m_capacity));
                return result;
            }
            result.hits.append(shown + u'/' + name);
        }
        // Sub-folders in sorted order: the first found is searched first.
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstSub), pending.end());
        sinceCheck += static_cast<qsizetype>(entries.size());
        if (progress && sinceCheck >= 256) {
            sinceCheck = 0;
            if (sinceProgress.elapsed() >= kProgressIntervalMs) {
                if (!progress(result.hits.size()))
                    return result;
                sinceProgress.restart();
            }
        }
    }
    return result;
}
