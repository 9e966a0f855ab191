#include "system/FolderWalk.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

FolderWalk::FolderWalk(std::string root) : m_thread([this, root = std::move(root)] { walk(root); })
{
}

FolderWalk::~FolderWalk()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
}

FolderWalk::Listing FolderWalk::list(const std::string &path)
{
    Listing entries;
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

void FolderWalk::walk(std::string root)
{
    // Folders still to list; the last is listed next.
    std::vector<std::string> pending{std::move(root)};
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        Listing listing = list(path);
        // Sub-folders in sorted order: the first is listed first.
        for (auto it = listing.rbegin(); it != listing.rend(); ++it) {
            if (it->folder)
                pending.push_back(path + '/' + it->name);
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stop || m_ready.size() < kAhead; });
        if (m_stop)
            return;
        m_ready.push_back(std::move(listing));
        lock.unlock();
        m_changed.notify_all();
    }
    {
        const std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
}

bool FolderWalk::next(Listing &listing)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_ready.empty() || m_done; });
    if (m_ready.empty())
        return false;
    listing = std::move(m_ready.front());
    m_ready.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return true;
}
