#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/fields_json.h"
#include "cli/page_loading.h"
#include "engine/loader.h"
#include "engine/save.h"
#include "engine/writer.h"
#include "settings/setup_values.h"

namespace veskaron::cli {
namespace {

struct WriteArgs {
    std::string page;
    std::vector<std::string> sets;
    std::string place;  // start | end
    std::string attr;   // key-first | content-first
    std::optional<int> lineMode;  // the last of --one-line / --per-line
    std::string order;
    std::optional<bool> backup;   // the last of --backup / --no-backup
    bool asEdited = false;
    bool toStdout = false;
    LoadArgs load;
};

// A typed order must be exactly the 22 indices; unlike a stored one it is not
// replaced by the default, since the user would not notice.
bool ParseOrderArgument(const std::string& text, OutputOrder& order) {
    const OutputOrder parsed = ParseOutputOrder(text);
    if (FormatOutputOrder(parsed) != text) return false;
    order = parsed;
    return true;
}

void ReportReferences(const std::string& page, std::size_t references, Streams io) {
    if (references == 0) return;
    io.err << page << ": " << references
           << " characters that the page's charset cannot hold were written as numeric "
              "character references (&#N;)\n";
}

// Of two opposite flags the one given last wins, so a script can append an
// override to a default set of arguments.
template <typename T>
std::optional<T> LastOf(const CLI::App& cmd, const CLI::Option* a, T aValue, const CLI::Option* b,
                        T bValue) {
    const auto& order = cmd.parse_order();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (*it == a) return aValue;
        if (*it == b) return bValue;
    }
    return std::nullopt;
}

int RunWrite(const WriteArgs& args, Streams io) {
    LoadOptions load;
    if (!ResolveLoadOptions(args.load, "write", io.err, load)) return kExitFailed;

    const WriterSettings stored = ReadWriterSettings();
    SaveOptions options;
    options.asEdited = args.asEdited;
    options.backup = stored.BakFiles;
    options.writer.placement = stored.InsMeta;
    options.writer.attributeOrder = stored.InsContent;
    options.writer.lineMode = stored.InsertMetaText;
    options.writer.order = stored.MetaList;
    if (!args.place.empty()) options.writer.placement = args.place == "start" ? 0 : 1;
    if (!args.attr.empty()) options.writer.attributeOrder = args.attr == "key-first" ? 0 : 1;
    if (args.lineMode) options.writer.lineMode = *args.lineMode;
    if (args.backup) options.backup = *args.backup;
    if (!args.order.empty() && !ParseOrderArgument(args.order, options.writer.order)) {
        io.err << "write: --order '" << args.order
               << "' is not the 22 indices 0 to 21, each once, separated by commas\n";
        return kExitFailed;
    }

    Document doc = FreshDocument(load);
    const PageLoad loaded = LoadPage(doc, args.page, load);
    if (!loaded.fileOk) {
        io.err << loaded.fileError << "\n";
        return kExitFileError;
    }
    for (const std::string& w : loaded.report.warnings) io.err << args.page << ": " << w << "\n";
    // Fields after a failed conversion were never read from the page: writing
    // them would take their tags out of it.
    if (!loaded.report.ok && !args.asEdited) {
        io.err << args.page << ": " << loaded.report.error << "\n";
        return kExitFailed;
    }

    options.writer.kind = doc.kind;
    for (const std::string& s : args.sets) {
        const std::string error = ApplySetting(doc.fields, s, *doc.codec, doc.references);
        if (!error.empty()) {
            io.err << "write: --set " << s << ": " << error << "\n";
            return kExitFailed;
        }
    }

    if (!args.asEdited) {
        // A refused run changes nothing, so the page is left alone (an older
        // backup included).
        const WriteResult w = WriteMetaBlock(doc.page.text, doc.fields, options.writer);
        if (!w.Done()) {
            io.err << w.message << "\n";
            return kExitRefused;
        }
    }
    options.asEdited = true;  // the block is in the text now

    if (args.toStdout) {
        const SaveBytes bytes = BytesForSave(doc, options);
        ReportReferences(args.page, bytes.references, io);
        io.out.write(bytes.bytes.data(), static_cast<std::streamsize>(bytes.bytes.size()));
        io.out.flush();
        return io.out ? kExitOk : kExitFailed;
    }
    const SaveResult saved = SaveDocument(doc, options);
    if (!saved.written) {
        io.err << saved.error << "\n";
        return kExitFailed;
    }
    ReportReferences(args.page, saved.references, io);
    if (!saved.warning.empty()) io.err << args.page << ": saved without a backup: " << saved.warning << "\n";
    return kExitOk;
}

}  // namespace

void AddWriteCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("write", "Write fields into a page's META block and save it");
    auto args = std::make_shared<WriteArgs>();
    cmd->add_option("PAGE", args->page, "Page file")->required();
    cmd->add_option("--set", args->sets,
                    "Member=VALUE, members as in the JSON of read (PageEnter.On=1, ...); "
                    "texts in UTF-8; may be given many times")
        ->allow_extra_args(false);
    cmd->add_option("--place", args->place, "Where the block goes: start or end of the head")
        ->check(CLI::IsMember({"start", "end"}));
    cmd->add_option("--attr", args->attr, "Attribute order: key-first or content-first")
        ->check(CLI::IsMember({"key-first", "content-first"}));
    auto* one = cmd->add_flag("--one-line")->description("The whole block on one line");
    auto* per = cmd->add_flag("--per-line")->description("One tag per line (the last of the two wins)");
    cmd->add_option("--order", args->order, "Output order: the indices 0 to 21 separated by commas");
    auto* bak = cmd->add_flag("--backup")->description("Keep the old page as PAGE.bak");
    auto* nobak = cmd->add_flag("--no-backup")->description("Keep no backup (the last of the two wins)");
    cmd->add_flag("--as-edited", args->asEdited,
                  "Save the page's text as it is, without writing the fields into it");
    cmd->add_flag("--stdout", args->toStdout, "Print the bytes the file would get instead of writing it");
    AddLoadOptions(*cmd, args->load);
    cmd->callback([cmd, one, per, bak, nobak, args, io, &status] {
        args->lineMode = LastOf(*cmd, one, 1, per, 0);
        args->backup = LastOf(*cmd, bak, true, nobak, false);
        status = RunWrite(*args, io);
    });
}

}  // namespace veskaron::cli
