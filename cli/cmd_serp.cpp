#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "engine/robots_directives.h"
#include "cli/page_loading.h"
#include "cli/page_selection.h"
#include "cli/progress.h"
#include "cli/site_options.h"
#include "engine/loader.h"
#include "engine/modern_head.h"
#include "engine/serp.h"
#include "site/csv.h"

namespace veskaron::cli {
namespace {

struct SerpArgs {
    LoadArgs load;
    SelectionArgs selection;
    std::string profile = "desktop";
    std::string format = "table";
    std::string baseUrl;
    SiteArgs site;  // the robot whose words the snippet obeys
    std::optional<std::size_t> titlePx, descriptionPx;
};

struct SerpRow {
    std::string path, title, description, address;
    SerpSnippet snippet;
};

// The page's path within its site: below the -r folder it was found in, else
// as named (a path from the root counts by its file name).
std::string SitePath(const std::string& page, const std::vector<std::string>& folders) {
    std::string_view best;
    for (const std::string& folder : folders) {
        std::string_view f = folder;
        while (f.size() > 1 && f.back() == '/') f.remove_suffix(1);
        if (page.size() > f.size() && page.starts_with(f) && (page[f.size()] == '/' || f == "/") &&
            f.size() > best.size())
            best = f;
    }
    std::string_view rest = page;
    if (!best.empty()) rest.remove_prefix(best.size());
    else if (rest.starts_with('/')) rest.remove_prefix(rest.rfind('/'));
    while (rest.starts_with('/')) rest.remove_prefix(1);
    while (rest.starts_with("./")) rest.remove_prefix(2);
    return std::string(rest);
}

void WriteJsonLine(std::ostream& out, const SerpRow& r) {
    nlohmann::ordered_json j;
    j["Path"] = r.path;
    j["Title"] = r.title;
    j["TitlePx"] = r.snippet.title.px;
    j["TitleShown"] = r.snippet.title.shown;
    j["TitleCut"] = r.snippet.title.cut;
    j["Description"] = r.description;
    j["DescriptionPx"] = r.snippet.description.px;
    j["DescriptionShown"] = r.snippet.description.shown;
    j["DescriptionCut"] = r.snippet.description.cut;
    j["Address"] = r.address;
    // Paths need not be UTF-8; never let one stop the output.
    out << j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

void WriteCsvRow(std::ostream& out, const SerpRow& r) {
    auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
    site::WriteCsvRecord(out, {r.path, r.title, std::to_string(r.snippet.title.px), r.snippet.title.shown,
                         flag(r.snippet.title.cut), r.description, std::to_string(r.snippet.description.px),
                         r.snippet.description.shown, flag(r.snippet.description.cut), r.address});
}

// One block per page, drawn like the result: the address, then each text
// with its width, the limit and what the result shows.
void WriteBlock(std::ostream& out, const SerpRow& r, const SerpProfile& profile) {
    auto line = [&out](std::string_view name, const FittedText& t, std::size_t limit) {
        const std::string px = std::to_string(t.px) + "/" + std::to_string(limit) + " px";
        out << "  " << name << std::string(13 - name.size(), ' ') << px << std::string(px.size() < 12 ? 12 - px.size() : 1, ' ')
            << (t.cut ? "cut  " : "     ") << t.shown << "\n";
    };
    out << r.path << "\n  " << r.address << "\n";
    line("Title", r.snippet.title, profile.titlePx * static_cast<std::size_t>(profile.titleLines));
    line("Description", r.snippet.description, profile.descriptionPx);
    out << "\n";
}

int RunSerp(const SerpArgs& args, Streams io) {
    LoadOptions options;
    if (!ResolveLoadOptions(args.load, "serp", io.err, options)) return kExitFailed;
    SerpProfile profile = args.profile == "mobile" ? kMobileSerp : kDesktopSerp;
    if (args.titlePx) profile.titlePx = *args.titlePx;
    if (args.descriptionPx) profile.descriptionPx = *args.descriptionPx;
    const Selection selection = SelectPages(args.selection, "serp", io.err);
    if (!selection.ok) return kExitFailed;

    int status = selection.problems > 0 ? kExitFileError : kExitOk;
    if (args.format == "csv")
        site::WriteCsvRecord(io.out, {"Path", "Title", "TitlePx", "TitleShown", "TitleCut", "Description", "DescriptionPx",
                                "DescriptionShown", "DescriptionCut", "Address"});
    Progress progress(io.err, io.progress, selection.pages.size());
    std::size_t done = 0;
    for (const std::string& path : selection.pages) {
        progress.Show(done++);
        // Each page on its own: a page without a description shows none.
        Document doc = FreshDocument(options);
        const PageLoad load = LoadPage(doc, path, options);
        if (!load.fileOk) {
            progress.Finish();
            io.err << load.fileError << "\n";
            status = kExitFileError;
            continue;
        }
        if (!load.report.ok) {
            progress.Finish();
            io.err << path << ": " << load.report.error << "\n";
            if (status == kExitOk) status = kExitFailed;
            // The load stopped before the head was read: there is nothing to show.
            if (load.report.passes == 0) continue;
        }
        SerpRow r;
        r.path = path;
        r.title = doc.codec->ToUtf8(doc.fields.Title);
        r.description = doc.codec->ToUtf8(doc.fields.Description);
        // nosnippet and max-snippet limit what the result shows of it.
        Robot robot = Robot::Google;
        ParseRobot(args.site.robot, robot);
        r.snippet = MakeSnippet(r.title, SnippetAllowed(r.description, TagDirectives(doc.robotsTags, robot)), profile);
        r.address = SerpAddress(doc.codec->ToUtf8(doc.modern[kCanonical]), args.baseUrl,
                                args.baseUrl.empty() ? path : SitePath(path, args.selection.folders));
        if (args.format == "jsonl") WriteJsonLine(io.out, r);
        else if (args.format == "csv") WriteCsvRow(io.out, r);
        else WriteBlock(io.out, r, profile);
    }
    progress.Finish();
    io.out.flush();
    return status;
}

}  // namespace

void AddSerpCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("serp", "Show how the title and description of pages fit a search result");
    auto args = std::make_shared<SerpArgs>();
    AddSelectionOptions(*cmd, args->selection);
    cmd->add_option("--profile", args->profile,
                    "desktop (title 20 px in 600 px, description 14 px in 920 px) or mobile (title 16 px "
                    "in two lines of 400 px, description 14 px in 680 px)")
        ->check(CLI::IsMember({"desktop", "mobile"}));
    cmd->add_option("--format", args->format, "table, jsonl (one object per page) or csv")
        ->check(CLI::IsMember({"table", "jsonl", "csv"}));
    cmd->add_option("--base-url", args->baseUrl,
                    "Address of the site's root; a page without a canonical address shows it joined "
                    "with the page's path below its -r folder");
    AddSiteOptions(*cmd, args->site, false);
    cmd->add_option("--title-px", args->titlePx, "Width of a title line in pixels (default: the profile's)")
        ->check(CLI::Range(std::size_t{1}, std::size_t{100000}));
    cmd->add_option("--description-px", args->descriptionPx,
                    "Width of the description in pixels (default: the profile's)")
        ->check(CLI::Range(std::size_t{1}, std::size_t{100000}));
    AddLoadOptions(*cmd, args->load);
    cmd->footer("Exit status: 0 success; 1 bad arguments or a page whose head could not be read;\n"
                "2 a file or folder could not be read.");
    cmd->callback([args, io, &status] { status = RunSerp(*args, io); });
}

}  // namespace veskaron::cli
