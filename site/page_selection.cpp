#include "site/page_selection.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "engine/file_io.h"
#include "engine/save.h"
#include "engine/translations.h"

namespace veskaron::site {

FileMask::FileMask(std::string_view mask) {
    std::size_t from = 0;
    while (from <= mask.size()) {
        const std::size_t end = std::min(mask.find(';', from), mask.size());
        std::string pattern = TrimBlanks(mask.substr(from, end - from));
        if (!pattern.empty()) patterns_.push_back(std::move(pattern));
        from = end + 1;
    }
}

bool FileMask::Matches(const std::string& fileName) const {
    // The editor's preview beside a page is no page of the site.
    if (IsPreviewFileName(fileName)) return false;
    if (patterns_.empty()) return true;
    for (const std::string& p : patterns_)
        if (::fnmatch(p.c_str(), fileName.c_str(), FNM_CASEFOLD) == 0) return true;
    return false;
}

void PageCollector::AddFolder(const std::string& root) {
    struct stat st {};
    if (::stat(root.c_str(), &st) != 0) {
        problems_.push_back(DescribeErrno("Cannot read folder", root, errno));
        return;
    }
    if (!S_ISDIR(st.st_mode)) {
        problems_.push_back(root + ": not a folder");
        return;
    }
    std::string dir = root;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    Walk(dir, {st.st_dev, st.st_ino});
    while (!linkedFolders_.empty()) {
        const auto [path, id] = linkedFolders_.front();
        linkedFolders_.pop_front();
        Walk(path, id);
    }
}

void PageCollector::Walk(const std::string& dir, FileId id) {
    if (!folders_.insert(id).second) return;
    DIR* d = ::opendir(dir.c_str());
    if (!d) {
        problems_.push_back(DescribeErrno("Cannot read folder", dir, errno));
        return;
    }
    struct Entry {
        std::string name;
        unsigned char type;
        unsigned long long inode;
    };
    std::vector<Entry> entries;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        entries.push_back({std::string(name), e->d_type, e->d_ino});
    }
    const int readError = errno;
    ::closedir(d);
    if (readError != 0) problems_.push_back(DescribeErrno("Cannot read folder", dir, readError));
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });

    const std::string prefix = dir == "/" ? dir : dir + "/";
    for (const Entry& e : entries) {
        const std::string path = prefix + e.name;
        if (e.type == DT_REG) {
            // The common case needs no stat: the folder's device and the entry's inode.
            if (mask_.Matches(e.name) && files_.insert({id.first, e.inode}).second) pages_.push_back(path);
            continue;
        }
        if (e.type != DT_DIR && e.type != DT_LNK && e.type != DT_UNKNOWN) continue;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            // Only links and vanished entries get here; a dangling link to a
            // page is worth a word, one to anything else is not.
            if (e.type != DT_LNK || mask_.Matches(e.name))
                problems_.push_back(DescribeErrno("Cannot follow", path, errno));
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (e.type == DT_LNK) linkedFolders_.push_back({path, {st.st_dev, st.st_ino}});
            else Walk(path, {st.st_dev, st.st_ino});
        } else if (S_ISREG(st.st_mode) && mask_.Matches(e.name) &&
                   files_.insert({st.st_dev, st.st_ino}).second) {
            pages_.push_back(path);
        }
    }
}

}  // namespace veskaron::site
