#pragma once
// A site's robots.txt: groups of rules by user agent, read as robots read
// them (longest match wins, Allow wins a tie, '*' and '$' in patterns,
// percent-encoding normalised, the first 500 KiB), with Yandex's Clean-param
// understood and Host reported as obsolete. Lines that cannot be read are
// problems with their line numbers; they are otherwise passed over.
#include <string>
#include <string_view>
#include <vector>

#include "engine/robots_directives.h"

namespace veskaron::site {

inline constexpr std::size_t kRobotsTxtLimit = 500 * 1024;

struct RobotsTxtProblem {
    int line = 0;          // from 1; 0 for the file as a whole
    std::string text;      // the line as written (UTF-8 or the file's bytes)
    std::string message;   // Russian, UTF-8
};

struct RobotsTxtRule {
    bool allow = false;
    std::string pattern;  // normalised
    int line = 0;
    std::string text;     // the line as written, comment and blanks trimmed
};

struct RobotsTxtVerdict {
    bool allowed = true;
    int line = 0;        // the deciding rule's line; 0 when no rule decided
    std::string rule;    // the deciding rule as written
    std::string group;   // the user agent whose group decided ("*"), empty without one
};

class RobotsTxt {
public:
    static RobotsTxt Parse(std::string_view bytes);

    // The verdict for a path ("/a/b.html?x"), for a robot that answers to
    // `agents` (its product tokens, most specific first): the first of them
    // with a group of its own, else the "*" group, else everything allowed.
    RobotsTxtVerdict Decide(const std::vector<std::string>& agents, std::string_view path) const;
    RobotsTxtVerdict Decide(Robot robot, std::string_view path) const;

    const std::vector<RobotsTxtProblem>& Problems() const { return problems_; }
    const std::vector<std::string>& Sitemaps() const { return sitemaps_; }
    const std::vector<std::string>& CleanParams() const { return cleanParams_; }

private:
    struct Group {
        std::vector<std::string> agents;  // lower case product tokens
        std::vector<RobotsTxtRule> rules;
    };
    std::vector<Group> groups_;
    std::vector<RobotsTxtProblem> problems_;
    std::vector<std::string> sitemaps_, cleanParams_;
};

// The product tokens a robot answers to, most specific first.
std::vector<std::string> AgentTokens(Robot robot);

// A path as robots compare it: bytes outside US-ASCII and reserved ones
// percent-encoded (upper-case hex), escapes of unreserved characters decoded.
std::string NormaliseRobotsPath(std::string_view path);
// Whether a normalised pattern ('*' any run, a final '$' the end) matches a
// normalised path from its start.
bool RobotsPatternMatches(std::string_view pattern, std::string_view path);

// The address path a web server gives a page file under `root`: "/" then the
// relative path's segments percent-encoded (RFC 3986), "index.html" and
// "index.htm" as their folder's path ending in '/'. Empty when the file is not
// under the root.
std::string PagePathUnder(const std::string& root, const std::string& file);

}  // namespace veskaron::site
