#include "cli/site_options.h"

#include <filesystem>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/page_selection.h"
#include "platform/key_store.h"
#include "settings/settings_keys.h"

namespace veskaron::cli {

void AddSiteOptions(CLI::App& cmd, SiteArgs& args, bool baseUrl) {
    if (baseUrl)
        cmd.add_option("--base-url", args.baseUrl,
                       "The site's address (https://example.com): a canonical address on another host "
                       "names another page");
    cmd.add_option("--site-root", args.siteRoot,
                   "The site's root folder, where robots.txt is read and from which pages get their "
                   "addresses (default: the -r folder, else the first page's folder)");
    cmd.add_option("--robot", args.robot, "The search engine's robot the verdicts are for: google or yandex")
        ->check(CLI::IsMember({"google", "yandex"}));
}

bool ResolveSiteIndexing(const SiteArgs& args, const SelectionArgs& selection, const std::vector<std::string>& pages,
                         std::ostream& err, site::SiteIndexing& out) {
    std::string root = args.siteRoot;
    if (root.empty() && selection.folders.size() == 1) root = selection.folders.front();
    if (root.empty() && !pages.empty()) root = std::filesystem::path(pages.front()).parent_path().string();
    if (root.empty()) root = ".";
    Robot robot = Robot::Google;
    ParseRobot(args.robot, robot);
    std::string error;
    out = site::LoadSiteIndexing(root, args.baseUrl, robot, &error);
    if (!error.empty()) {
        err << error << "\n";
        return false;
    }
    return true;
}

nlohmann::json DirectivesJson(const RobotsDirectives& d) {
    nlohmann::json j = nlohmann::json::object();
    j["noindex"] = d.noindex;
    j["nofollow"] = d.nofollow;
    j["noarchive"] = d.noarchive;
    j["nosnippet"] = d.nosnippet;
    j["notranslate"] = d.notranslate;
    j["noimageindex"] = d.noimageindex;
    j["noyaca"] = d.noyaca;
    j["maxSnippet"] = d.maxSnippet;
    j["maxVideoPreview"] = d.maxVideoPreview;
    j["maxImagePreview"] = d.maxImagePreview.empty() ? nlohmann::json(nullptr) : nlohmann::json(d.maxImagePreview);
    j["unavailableAfter"] = d.unavailableAfter.empty() ? nlohmann::json(nullptr) : nlohmann::json(d.unavailableAfter);
    j["unknown"] = d.unknown;
    return j;
}

void AddDepthOption(CLI::App& cmd, std::optional<int>& maxDepth) {
    cmd.add_option("--max-depth", maxDepth, "Clicks from the start page past which a page is reported (default: the setting LinkDepth, 4)")
        ->check(CLI::Range(1, 1000));
}

int DepthLimit(const std::optional<int>& maxDepth) {
    if (maxDepth) return *maxDepth;
    const KeyAccess access;
    return Read(access, key::LinkDepth);
}

}  // namespace veskaron::cli
