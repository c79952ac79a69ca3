#pragma once
// Whether a search engine's robot may index a page, and why not: robots.txt
// at the site's root, the page's robots words for that robot, its canonical
// address and an immediate refresh redirect, in that order.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/loader.h"
#include "engine/robots_directives.h"
#include "site/audit.h"
#include "site/robots_txt.h"

namespace veskaron::site {

// What the verdicts of a site's pages share.
struct SiteIndexing {
    std::string root;     // the site's folder; page addresses are paths under it
    std::string baseUrl;  // "https://example.com", empty when not given
    Robot robot = Robot::Google;
    std::optional<RobotsTxt> robotsTxt;  // the root's robots.txt, when it has one
};

// Reads ROOT/robots.txt when there is one; an unreadable one is an error text
// (naming the file) and the site is taken as having none.
SiteIndexing LoadSiteIndexing(const std::string& root, const std::string& baseUrl, Robot robot,
                              std::string* error = nullptr);

enum class IndexReason { None, Disallowed, Noindex, CanonicalElsewhere, Redirect };
// "", "disallowed", "noindex", "canonical-elsewhere", "redirect"
std::string_view IndexReasonCode(IndexReason reason);

struct Indexability {
    bool indexable = true;
    IndexReason reason = IndexReason::None;
    std::string detail;  // UTF-8: the robots.txt line, the tag, the address
    // Disallowed and noindex both: the robot never reads the noindex.
    bool disallowedNoindex = false;
    std::string disallowRule;  // "robots.txt:LINE: RULE" when robots.txt disallows
    std::string urlPath;       // the page's address path under the root
    std::string canonicalPath;  // the path its canonical names on this site, empty for none
    RobotsDirectives directives;
};

// The verdict on a loaded page at `file`. With `robotsWords` the general
// robots tag says those words (the editor's field as it stands) instead of
// the page's.
Indexability JudgeIndexability(const Document& doc, const std::string& file, const SiteIndexing& site,
                               const std::string* robotsWords = nullptr);

// The root of the site a page belongs to, as the editor guesses it: the
// nearest folder above the page that holds a robots.txt, else the page's own.
std::string SiteRootOf(const std::string& page);

// The findings of one page's verdict: disallowed, disallowed-noindex, noindex
// (when a robot's own tag says it; the general one is the audit's), and
// unknown-robots-word.
void AddIndexabilityFindings(std::vector<Finding>& findings, const Indexability& v);
// canonical-to-noindex on every page whose canonical names a page of the site
// that asks not to be indexed. `verdicts[i]` is the verdict on page i.
void AddCanonicalToNoindexFindings(std::vector<std::vector<Finding>*> findings,
                                   const std::vector<const Indexability*>& verdicts);
// robots-txt-line for each line of the site's robots.txt that cannot be read.
std::vector<Finding> RobotsTxtFindings(const SiteIndexing& site);

// The path a canonical address names, resolved against the page's address
// path: "/a/b.html" (index pages as their folder). Empty when it names another
// host than `baseUrl`'s (or, without one, never for a host alone).
std::string CanonicalPath(std::string_view canonical, std::string_view pagePath, std::string_view baseUrl,
                          bool& otherHost);

}  // namespace veskaron::site
