#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/fields_json.h"
#include "cli/page_loading.h"
#include "engine/catalogue.h"
#include "engine/loader.h"

namespace veskaron::cli {
namespace {

struct ReadArgs {
    LoadArgs load;
    std::vector<std::string> pages;
};

int RunRead(const ReadArgs& args, Streams io) {
    LoadOptions options;
    if (!ResolveLoadOptions(args.load, "read", io.err, options)) return kExitFailed;
    // One document state for all pages, as the window keeps it while the user
    // picks one file after another.
    Document doc = FreshDocument(options);
    int status = kExitOk;
    for (const std::string& path : args.pages) {
        const PageLoad load = LoadPage(doc, path, options);
        if (!load.fileOk) {
            io.err << load.fileError << "\n";
            status = kExitFileError;
            continue;
        }
        const LoadReport& r = load.report;
        for (const std::string& w : r.warnings) io.err << path << ": " << w << "\n";
        nlohmann::json j = FieldsToJson(doc.fields, *doc.codec);
        j["Path"] = path;
        j["Size"] = r.size;
        j["DownloadTime"] = r.downloadTime;
        j["Passes"] = r.passes;
        j["Encoding"] = doc.encoding.name;
        j["EncodingSource"] = EncodingSourceName(doc.encoding.source);
        if (r.converted == kCharsetKoi8R) j["Converted"] = "koi8-r";
        else if (r.converted == kCharsetKoi8U) j["Converted"] = "koi8-u";
        else j["Converted"] = nullptr;
        if (!r.ok) {
            j["Error"] = r.error;
            if (status == kExitOk) status = kExitFailed;
        }
        // Paths need not be UTF-8; never let one stop the output.
        io.out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    }
    io.out.flush();
    return status;
}

}  // namespace

void AddReadCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("read", "Read the title and META fields of pages as JSON Lines");
    auto args = std::make_shared<ReadArgs>();
    AddLoadOptions(*cmd, args->load);
    cmd->add_option("PAGE", args->pages, "Page files, loaded in this order")->required();
    cmd->callback([args, io, &status] { status = RunRead(*args, io); });
}

}  // namespace veskaron::cli
