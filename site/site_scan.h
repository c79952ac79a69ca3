#pragma once
// One page of a site folder as the site table shows it: its head texts, their
// widths in a search result, its charset and what the audit finds on it.
// Reading a page touches nothing shared, so many pages are read at once.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/loader.h"
#include "site/audit.h"
#include "site/indexability.h"

namespace veskaron::site {

// What a page file looked like when it was read; another stamp later means
// the file was written since.
struct PageStamp {
    long long size = -1;
    long long modifiedNs = 0;
    friend bool operator==(const PageStamp&, const PageStamp&) = default;
};
PageStamp StampOf(const std::string& path);

struct SiteRow {
    std::string path;      // as the selection gives it
    std::string relative;  // to the scanned folder, with '/'
    bool read = false;
    std::string error;     // why nothing of the page could be read
    // UTF-8, as the page holds them (not trimmed).
    std::string title, description, keywords, canonical;
    std::size_t titlePx = 0, descriptionPx = 0;  // desktop result widths
    std::string encoding;                        // "windows-1251", "utf-8", ...
    // The page's own findings; the ones between pages are added by the table.
    std::vector<Finding> findings;
    PageStamp stamp;
    // Whether the site's robot may index the page; the reason's code and its
    // detail when not (site/indexability.h).
    bool indexable = true;
    std::string indexReason, indexDetail;
};

// A page loaded and audited on its own, before the checks between pages:
// what the site table and the command line's audit both take from it.
struct PageScan {
    bool read = false;      // the head was read (maybe not all of it) and audited
    std::string fileError;  // the file could not be read; names the file
    std::string loadError;  // the load stopped: before the head when !read, else part way
    PageAudit audit;        // with the indexability findings when judged
    Indexability verdict;   // when judged
};
// With `site` the page's indexability is judged too.
PageScan ScanPageAudit(const std::string& path, const LoadOptions& options, const SiteIndexing* site = nullptr);

// `root` is the folder the relative path is taken from; with `site` the
// page's indexability is judged too.
SiteRow ScanPage(const std::string& root, const std::string& path, const LoadOptions& options,
                 const SiteIndexing* site = nullptr);

// "dir/page.html" for a path under `root`; the path itself otherwise.
std::string RelativePath(const std::string& root, const std::string& path);

std::optional<Level> WorstLevel(const std::vector<Finding>& findings);

// The head texts a table cell can be edited to.
enum class TextField { Title, Description, Canonical };
bool IsTextFieldCode(TextField field, std::string_view code);
// What the audit says about a title, a description or a canonical address
// alone (its length, its width, its absence, a relative address), with the
// audit's own codes and messages.
std::vector<Finding> TextFindings(TextField field, std::string_view utf8);

// Duplicates between pages over the texts as they are now, per page: the
// audit's title-duplicate and description-duplicate findings.
std::vector<std::vector<Finding>> DuplicateFindings(const std::vector<std::string_view>& titles,
                                                    const std::vector<std::string_view>& descriptions,
                                                    const std::vector<std::string>& paths);

}  // namespace veskaron::site
