#pragma once
// The folders of a tree, listed ahead on a thread of their own: reading folders is waiting on
// the kernel, matching names is work for the processor, and a search that does both on one
// core leaves the other idle. The walk is depth first in sorted order, the order in which a
// search goes through the tree, and the listings come in that order.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FolderWalk
{
public:
    struct Entry
    {
        std::string name;
        bool folder;
    };
    // The entries of one folder, sorted by name (the bytes): empty when it cannot be read.
    using Listing = std::vector<Entry>;

    // Starts listing the tree under root (a path on disk). Symbolic links are never followed.
    explicit FolderWalk(std::string root);
    // Stops the walk where it is.
    ~FolderWalk();
    FolderWalk(const FolderWalk &) = delete;
    FolderWalk &operator=(const FolderWalk &) = delete;

    // The next folder's listing, first the root's; false when every folder has been listed.
    // A folder's sub-folders come after it, in sorted order, each followed by everything
    // below it.
    bool next(Listing &listing);

    static Listing list(const std::string &path);

private:
    void walk(std::string root);

    // A few hundred folders ahead at most, so that a search stopped early (a full list) has
    // not read the whole disk, and memory stays bounded on any tree.
    static constexpr size_t kAhead = 256;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Listing> m_ready;
    bool m_done = false;
    bool m_stop = false;
    std::jthread m_thread;
};
