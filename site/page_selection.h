#pragma once
// Selecting the pages of a site folder: every file under it whose name matches
// the file mask, in a stable order, without following folder links in circles.
#include <string>
#include <string_view>
#include <deque>
#include <set>
#include <utility>
#include <vector>

namespace veskaron::site {

// A file mask as the settings keep it: "*.htm; *.html". The patterns are
// separated by ";" and matched against file names ignoring ASCII case, as on
// the system the mask comes from. A blank mask matches every file but the
// editor's preview files.
class FileMask {
public:
    explicit FileMask(std::string_view mask);
    bool Matches(const std::string& fileName) const;

private:
    std::vector<std::string> patterns_;
};

class PageCollector {
public:
    explicit PageCollector(FileMask mask) : mask_(std::move(mask)) {}

    // Adds the matching files under `root`, depth first with every folder's
    // entries sorted by name; folders reached only through links come after
    // the real ones. A folder reached twice (through a link, or below two
    // roots) is walked once, and a file reached twice is taken once.
    void AddFolder(const std::string& root);

    const std::vector<std::string>& Pages() const { return pages_; }
    // Folders that could not be read and links that lead nowhere, one text each.
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    using FileId = std::pair<unsigned long long, unsigned long long>;  // device, inode
    void Walk(const std::string& dir, FileId id);

    FileMask mask_;
    std::deque<std::pair<std::string, FileId>> linkedFolders_;
    std::set<FileId> folders_;
    std::set<FileId> files_;
    std::vector<std::string> pages_;
    std::vector<std::string> problems_;
};

}  // namespace veskaron::site
