#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/fields_json.h"
#include "cli/json_out.h"
#include "cli/page_loading.h"
#include "cli/page_selection.h"
#include "cli/progress.h"
#include "cli/site_options.h"
#include "messages/page_texts.h"
#include "engine/catalogue.h"
#include "engine/loader.h"
#include "engine/modern_head.h"
#include "site/csv.h"

namespace veskaron::cli {
namespace {

struct ReadArgs {
    LoadArgs load;
    SelectionArgs selection;
    SiteArgs site;
    std::string format = "jsonl";
};

// CSV rows share the columns of the first page, with Path first and Error
// always present, so that every row lines up with the header.
class CsvRows {
public:
    void Write(std::ostream& out, const nlohmann::json& j) {
        std::vector<std::pair<std::string, std::string>> cells = site::CsvCells(j);
        if (header_.empty()) {
            header_.push_back("Path");
            for (const auto& [name, value] : cells)
                if (name != "Path" && name != "Error") header_.push_back(name);
            header_.push_back("Error");
            site::WriteCsvRecord(out, header_);
        }
        std::vector<std::string> row(header_.size());
        for (auto& [name, value] : cells) {
            for (std::size_t i = 0; i < header_.size(); ++i)
                if (header_[i] == name) row[i] = std::move(value);
        }
        site::WriteCsvRecord(out, row);
    }

private:
    std::vector<std::string> header_;
};

int RunRead(const ReadArgs& args, Streams io) {
    LoadOptions options;
    if (!ResolveLoadOptions(args.load, "read", io.err, options)) return kExitFailed;
    const Selection selection = SelectPages(args.selection, "read", io.err);
    if (!selection.ok) return kExitFailed;
    site::SiteIndexing site;
    if (!ResolveSiteIndexing(args.site, args.selection, selection.pages, io.err, site)) return kExitFileError;
    // One document state for all pages, as the window keeps it while the user
    // picks one file after another.
    Document doc = FreshDocument(options);
    int status = selection.problems > 0 ? kExitFileError : kExitOk;
    CsvRows csv;
    std::string line;
    Progress progress(io.err, io.progress, selection.pages.size());
    std::size_t done = 0;
    for (const std::string& path : selection.pages) {
        progress.Show(done++);
        const PageLoad load = LoadPage(doc, path, options);
        if (!load.fileOk) {
            progress.Finish();
            io.err << load.fileError << "\n";
            status = kExitFileError;
            continue;
        }
        const LoadReport& r = load.report;
        if (!r.warnings.empty()) progress.Finish();
        for (const LoadWarning w : r.warnings) io.err << path << ": " << LoadWarningText(w) << "\n";
        // The report's members; the fields join them when the line is written.
        nlohmann::json j = nlohmann::json::object();
        j["Path"] = path;
        j["Size"] = r.size;
        j["DownloadTime"] = r.downloadHundredths ? DownloadTimeText(*r.downloadHundredths) : std::string();
        j["Passes"] = r.passes;
        j["Encoding"] = doc.encoding.name;
        j["EncodingSource"] = EncodingSourceName(doc.encoding.source);
        if (r.converted == kCharsetKoi8R) j["Converted"] = "koi8-r";
        else if (r.converted == kCharsetKoi8U) j["Converted"] = "koi8-u";
        else j["Converted"] = nullptr;
        AddModernJson(j, r.modernHead, *doc.codec);
        const site::Indexability verdict = site::JudgeIndexability(doc, path, site);
        j["Indexable"] = verdict.indexable;
        j["IndexabilityReason"] = site::IndexReasonCode(verdict.reason);
        j["IndexabilityDetail"] = verdict.detail;
        j["RobotsDirectives"] = DirectivesJson(verdict.directives);
        if (!r.ok) {
            progress.Finish();
            io.err << path << ": " << r.error << "\n";
            j["Error"] = r.error;
            if (status == kExitOk) status = kExitFailed;
        }
        if (args.format == "csv") {
            nlohmann::json all = FieldsToJson(doc.fields, *doc.codec);
            for (auto& [name, value] : j.items()) all[name] = std::move(value);
            csv.Write(io.out, all);
        } else {
            // Paths need not be UTF-8; never let one stop the output.
            line.clear();
            AppendFieldsJson(line, doc.fields, *doc.codec, j);
            line += '\n';
            io.out.write(line.data(), static_cast<std::streamsize>(line.size()));
        }
    }
    progress.Finish();
    io.out.flush();
    return status;
}

}  // namespace

void AddReadCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("read", "Read the title, META fields and the canonical, viewport, Open Graph, Twitter, hreflang, JSON-LD and html lang tags of pages as JSON Lines or CSV");
    auto args = std::make_shared<ReadArgs>();
    AddLoadOptions(*cmd, args->load);
    AddSelectionOptions(*cmd, args->selection);
    AddSiteOptions(*cmd, args->site);
    cmd->add_option("--format", args->format,
                    "jsonl (one JSON object per line) or csv (RFC 4180; a cell that a spreadsheet would run as a "
                    "formula gets an apostrophe in front, which write --from-csv takes off)")
        ->check(CLI::IsMember({"jsonl", "csv"}));
    cmd->callback([args, io, &status] { status = RunRead(*args, io); });
}

}  // namespace veskaron::cli
