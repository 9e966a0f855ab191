#include "system/FileSearch.h"

#include "foundation/RuntimeError.h"
#include "tovarocx/FileNameBytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Entry
{
    std::string name;
    bool folder;
};

// The entries of one folder, sorted by name; empty when it cannot be read.
std::vector<Entry> listFolder(const std::string &path)
{
    std::vector<Entry> entries;
    DIR *dir = ::opendir(path.c_str());
    if (!dir)
        return entries;
    while (const dirent *d = ::readdir(dir)) {
        const char *name = d->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        bool folder = d->d_type == DT_DIR;
        if (d->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                     S_ISDIR(st.st_mode);
        }
        entries.push_back({name, folder});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return entries;
}

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
    // Folders still to search, as paths on disk and as shown; the last is searched next. A
    // hit from a relative folder is shown in full, so it still names the file once the
    // current folder has changed.
    const QString given = QDir::isRelativePath(folder) ? QDir(folder).absolutePath() : folder;
    const QString shownRoot = given.endsWith(u'/') ? given.chopped(1) : given;
    std::vector<std::pair<std::string, QString>> pending{
        {root.toStdString(), shownRoot}};
    qsizetype sinceCheck = 0;
    QString name;
    while (!pending.empty()) {
        const auto [path, shown] = std::move(pending.back());
        pending.pop_back();
        const std::vector<Entry> entries = listFolder(path);
        const size_t firstSub = pending.size();
        for (const Entry &entry : entries) {
            if (entry.folder) {
                pending.emplace_back(path + '/' + entry.name,
                                     shown + u'/' + FileNameBytes::decode(entry.name));
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
