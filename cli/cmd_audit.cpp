#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/audit_report.h"
#include "cli/commands.h"
#include "cli/page_loading.h"
#include "cli/page_selection.h"
#include "cli/progress.h"
#include "cli/site_options.h"
#include "indexing/link_graph.h"
#include "engine/file_io.h"
#include "engine/loader.h"
#include "site/audit.h"
#include "site/csv.h"
#include "site/indexability.h"
#include "site/parallel_pages.h"
#include "site/site_scan.h"

namespace veskaron::cli {
namespace {

struct AuditArgs {
    LoadArgs load;
    SelectionArgs selection;
    std::string format = "table";
    std::string failOn;  // error | warning | empty
    SiteArgs site;       // the site's address, root and robot
    std::string home;    // the start page of the link checks
    std::string out;     // the file to write instead of the standard output
};

struct PageOutcome {
    bool read = false;
    std::string error;      // the file could not be read, or nothing of its head was
    std::string loadError;  // a number of the head could not be read: the rest of it was not
};

// Loads and audits every page, several at a time; results keep the
// pages' order. Only what the audit keeps of a page outlives its load.
void AuditPages(const std::vector<std::string>& pages, const LoadOptions& options, const site::SiteIndexing& site,
                std::vector<site::PageAudit>& audits, std::vector<site::Indexability>& verdicts,
                std::vector<PageOutcome>& outcomes, Progress& progress) {
    const std::size_t n = pages.size();
    audits.assign(n, {});
    verdicts.assign(n, {});
    outcomes.assign(n, {});
    site::ParallelControl control;
    site::ParallelOptions how;
    // With progress to show, the calling thread tells it.
    if (progress.Enabled() && n > 1) how.progress = [&progress](std::size_t done) { progress.Show(done); };
    site::RunEach(
        n,
        [&](std::size_t i) {
            site::PageScan scan = site::ScanPageAudit(pages[i], options, &site);
            if (!scan.read) {
                outcomes[i].error = scan.fileError.empty() ? pages[i] + ": " + scan.loadError : scan.fileError;
                return;
            }
            if (!scan.loadError.empty()) outcomes[i].loadError = pages[i] + ": " + scan.loadError;
            audits[i] = std::move(scan.audit);
            verdicts[i] = std::move(scan.verdict);
            outcomes[i].read = true;
        },
        control, how);
    progress.Finish();
}

std::size_t Width(std::string_view utf8) { return site::CountCharacters(utf8); }

void PrintTable(std::ostream& out, const std::vector<std::string>& pages,
                const std::vector<site::PageAudit>& audits) {
    std::size_t pathWidth = 4;
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (!audits[i].findings.empty()) pathWidth = std::max(pathWidth, Width(pages[i]));
    pathWidth = std::min<std::size_t>(pathWidth, 60);
    auto cell = [&out](std::string_view text, std::size_t width) {
        out << text;
        for (std::size_t w = Width(text); w < width; ++w) out << ' ';
        out << "  ";
    };
    bool header = false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        for (const site::Finding& f : audits[i].findings) {
            if (!header) {
                cell("Path", pathWidth);
                cell("Level", 7);
                cell("Code", 21);
                out << "Message\n";
                header = true;
            }
            cell(pages[i], pathWidth);
            cell(site::LevelName(f.level), 7);
            cell(f.code, 21);
            out << f.message << "\n";
        }
    }
}

void PrintRecords(std::ostream& out, bool csv, const std::vector<std::string>& pages,
                  const std::vector<site::PageAudit>& audits) {
    if (csv) site::WriteCsvRecord(out, {"Path", "Level", "Code", "Message"});
    for (std::size_t i = 0; i < pages.size(); ++i) {
        for (const site::Finding& f : audits[i].findings) {
            if (csv) {
                site::WriteCsvRecord(out, {pages[i], std::string(site::LevelName(f.level)), std::string(f.code), f.message});
                continue;
            }
            nlohmann::ordered_json j;
            j["Path"] = pages[i];
            j["Level"] = site::LevelName(f.level);
            j["Code"] = f.code;
            j["Message"] = f.message;
            out << j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
        }
    }
}

int RunAudit(const AuditArgs& args, Streams io) {
    LoadOptions options;
    if (!ResolveLoadOptions(args.load, "audit", io.err, options)) return kExitFailed;
    const Selection selection = SelectPages(args.selection, "audit", io.err, true);
    if (!selection.ok) return kExitFailed;
    site::SiteIndexing site;
    if (!ResolveSiteIndexing(args.site, args.selection, selection.pages, io.err, site)) return kExitFileError;

    std::vector<site::PageAudit> audits;
    std::vector<site::Indexability> verdicts;
    std::vector<PageOutcome> outcomes;
    {
        Progress progress(io.err, io.progress, selection.pages.size());
        AuditPages(selection.pages, options, site, audits, verdicts, outcomes, progress);
    }
    site::AddDuplicateFindings(audits, selection.pages);
    // Addresses are paths under the one -r folder, when one was given.
    const std::string root = args.selection.folders.size() == 1 ? args.selection.folders.front() : std::string();
    site::AddHreflangFindings(audits, selection.pages, root, args.site.baseUrl);
    {
        std::vector<std::vector<site::Finding>*> findings;
        std::vector<const site::Indexability*> judged;
        for (std::size_t i = 0; i < audits.size(); ++i) {
            findings.push_back(&audits[i].findings);
            judged.push_back(outcomes[i].read ? &verdicts[i] : nullptr);
        }
        site::AddCanonicalToNoindexFindings(findings, judged);
    }
    // The links between pages are a folder's: pages named one by one are judged alone.
    if (!args.selection.folders.empty() || !args.home.empty()) {
        const indexing::LinkGraph graph = indexing::BuildLinkGraph(
            selection.pages, {site.root, args.site.baseUrl, args.home, indexing::kDefaultDepthLimit, site.robot});
        if (!args.home.empty() && graph.home == indexing::kNoPage) {
            io.err << "audit: --home " << args.home << ": not a page of the folder " << site.root << "\n";
            return kExitFailed;
        }
        for (std::uint32_t i = 0; i < graph.pages.size(); ++i)
            if (outcomes[i].read)
                for (site::Finding& f : graph.Findings(i)) audits[i].findings.push_back(std::move(f));
    }
    // The robots.txt's own findings come first, under its own name.
    std::vector<std::string> paths = selection.pages;
    if (std::vector<site::Finding> lines = site::RobotsTxtFindings(site); !lines.empty()) {
        paths.insert(paths.begin(), (site.root == "." ? std::string() : site.root + "/") + "robots.txt");
        audits.insert(audits.begin(), site::PageAudit{std::move(lines), {}, {}, {}});
        outcomes.insert(outcomes.begin(), PageOutcome{true, {}, {}});
    }

    std::size_t read = 0, unreadable = selection.problems, errors = 0, warnings = 0, infos = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (!outcomes[i].read) {
            io.err << outcomes[i].error << "\n";
            ++unreadable;
            continue;
        }
        if (i >= paths.size() - selection.pages.size()) ++read;  // robots.txt is no page
        if (!outcomes[i].loadError.empty()) io.err << outcomes[i].loadError << "\n";
        for (const site::Finding& f : audits[i].findings) {
            if (f.level == site::Level::Error) ++errors;
            else if (f.level == site::Level::Warning) ++warnings;
            else ++infos;
        }
    }

    std::ostringstream buffer;
    std::ostream& out = args.out.empty() ? io.out : buffer;
    std::string html;
    if (args.format == "html") {
        std::vector<bool> wasRead(outcomes.size());
        for (std::size_t i = 0; i < outcomes.size(); ++i) wasRead[i] = outcomes[i].read;
        html = AuditHtmlReport(site.root, paths, audits, wasRead, verdicts, paths.size() - selection.pages.size());
    } else if (args.format == "table") {
        PrintTable(out, paths, audits);
    } else {
        PrintRecords(out, args.format == "csv", paths, audits);
    }
    // Machine-readable output stays records only; the summary then goes to stderr.
    std::ostream& summary = args.format == "table" ? out : io.err;
    summary << "Pages: " << read << ", errors: " << errors << ", warnings: " << warnings << ", info: " << infos;
    if (unreadable > 0) summary << ", unreadable: " << unreadable;
    summary << "\n";
    if (!args.out.empty()) {
        const FileStatus written = WriteFileAtomically(args.out, html.empty() ? buffer.str() : html);
        if (!written.ok) {
            io.err << written.error << "\n";
            return kExitFileError;
        }
    } else {
        io.out << html;
    }
    io.out.flush();

    if (unreadable > 0) return kExitFileError;
    if (args.failOn == "error" && errors > 0) return kExitFailed;
    if (args.failOn == "warning" && errors + warnings > 0) return kExitFailed;
    return kExitOk;
}

}  // namespace

void AddAuditCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("audit", "Check the title and META tags of pages and list the problems");
    auto args = std::make_shared<AuditArgs>();
    AddSelectionOptions(*cmd, args->selection);
    cmd->add_option("--format", args->format,
                    "table, jsonl (one object per finding), csv, or html (a report with charts, one file)")
        ->check(CLI::IsMember({"table", "jsonl", "csv", "html"}));
    cmd->add_option("--out", args->out, "Write to this file (replaced whole) instead of the standard output");
    cmd->add_option("--fail-on", args->failOn,
                    "Exit with 1 when there are findings of this level: error, or warning (and errors)")
        ->check(CLI::IsMember({"error", "warning"}));
    cmd->add_option("--base-url", args->site.baseUrl,
                    "The site's address (https://example.com/): hreflang addresses under it name "
                    "the pages at those paths of the -r folder; without it any absolute address "
                    "names the page at its path");
    cmd->add_option("--home", args->home,
                    "The start page of the link checks (orphan pages, depth); default: the root's index.html");
    AddSiteOptions(*cmd, args->site, false);
    AddLoadOptions(*cmd, args->load);
    cmd->callback([args, io, &status] { status = RunAudit(*args, io); });
}

}  // namespace veskaron::cli
