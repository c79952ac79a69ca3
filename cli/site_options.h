#pragma once
// The options of the commands that judge pages as a site: where its root is
// (its robots.txt and the pages' addresses), its address and the robot.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "site/indexability.h"

namespace CLI { class App; }

namespace veskaron::cli {

struct SelectionArgs;

struct SiteArgs {
    std::string baseUrl;
    std::string siteRoot;
    std::string robot = "google";
};
// --site-root and --robot, and --base-url unless the command has its own.
void AddSiteOptions(CLI::App& cmd, SiteArgs& args, bool baseUrl = true);

// --max-depth N: the clicks from the start page past which a page is a
// finding; without it the stored setting (4 unless changed).
void AddDepthOption(CLI::App& cmd, std::optional<int>& maxDepth);
int DepthLimit(const std::optional<int>& maxDepth);

// The site of the pages: --site-root, else the one -r folder, else the first
// page's folder. An unreadable robots.txt is reported on `err` (false).
bool ResolveSiteIndexing(const SiteArgs& args, const SelectionArgs& selection, const std::vector<std::string>& pages,
                         std::ostream& err, site::SiteIndexing& out);

// The directive set as the JSON of `read` shows it.
nlohmann::json DirectivesJson(const RobotsDirectives& d);

}  // namespace veskaron::cli
