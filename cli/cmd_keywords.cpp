#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/page_loading.h"
#include "cli/page_selection.h"
#include "cli/progress.h"
#include "engine/head_scanner.h"
#include "engine/loader.h"
#include "generator/word_engine.h"
#include "generator/word_list_file.h"
#include "platform/key_store.h"
#include "platform/line_list.h"
#include "settings/settings_keys.h"
#include "settings/setup_values.h"

namespace veskaron::cli {
namespace {

struct KeywordsArgs {
    SelectionArgs selection;
    std::optional<int> minLen;
    std::string digits;  // "on", "off" or empty for the stored setting
    bool alt = false;
    bool description = false;
    std::string exclude;
    int sort = 0;
    std::optional<int> repeated;
    bool json = false;
    LoadArgs load;
    CLI::Option* altOption = nullptr;
    CLI::Option* descriptionOption = nullptr;
};

// The generator's inputs as the window takes them from the settings store.
struct StoredGeneratorInputs {
    generator::GeneratorOptions options;
    std::string deleteListFile;
};

StoredGeneratorInputs ReadStoredGeneratorInputs() {
    KeyAccess access;
    const SettingsValues stored = ReadSettingsValues(access);
    StoredGeneratorInputs in;
    in.options.minWordLen = stored.minWordLength;
    in.options.keyCifra = stored.digitsInWords;
    in.options.bolAlt = stored.wordsFromAlt;
    in.options.insertDescription = stored.wordsFromDescription;
    in.deleteListFile = Read(access, key::FWordDel);
    return in;
}

// The description field's lines, as the memo shows them.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitEditorLines(text)) lines.emplace_back(line);
    return lines;
}

int KeywordsOfPage(const std::string& page, bool named, const generator::GeneratorOptions& options,
                   const std::vector<std::string>& deleteList, const KeywordsArgs& args,
                   const LoadOptions& loadOptions, Streams io, Progress& progress) {
    Document doc = FreshDocument(loadOptions);
    const PageLoad load = LoadPage(doc, page, loadOptions);
    if (!load.fileOk) {
        progress.Finish();
        io.err << "keywords: " << load.fileError << "\n";
        return kExitFileError;
    }
    if (!load.report.ok) {
        progress.Finish();
        io.err << "keywords: " << page << ": " << load.report.error << "\n";
        return kExitFailed;
    }

    // The list file is Windows-1251; the words are compared in the page's own text.
    generator::GeneratorOptions pageOptions = options;
    pageOptions.kind = doc.kind;
    std::vector<std::string> pageDeleteList = deleteList;
    if (doc.kind == TextKind::Utf8)
        for (std::string& word : pageDeleteList) word = LineListItemToUtf8(word);
    generator::WordTable table;
    generator::RunGenerator(doc.page.text, SplitLines(doc.fields.Description), pageDeleteList,
                            pageOptions, table);
    const std::vector<std::string> lines = generator::FillWordList(
        table, generator::SortModeFromIndex(args.sort), args.repeated.has_value(), args.repeated.value_or(0));
    const generator::WordStatistics stats = generator::ComputeWordStatistics(table, lines.size());

    if (args.json) {
        nlohmann::ordered_json j;
        if (named) j["Path"] = page;
        j["Lines"] = nlohmann::ordered_json::array();
        for (const auto& line : lines) j["Lines"].push_back(doc.codec->ToUtf8(line));
        j["Stats"] = {{"Total", stats.total},       {"Selected", stats.selected},
                      {"Over3", stats.over3},       {"Exactly3", stats.exactly3},
                      {"Twice", stats.twice},       {"Once", stats.once}};
        io.out << j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    } else {
        if (named) io.out << page << ":\n";
        for (const auto& line : lines) io.out << doc.codec->ToUtf8(line) << "\n";
        io.out << "\n"
               << "Total: " << stats.total << "\n"
               << "Selected: " << stats.selected << "\n"
               << "Over3: " << stats.over3 << "\n"
               << "Exactly3: " << stats.exactly3 << "\n"
               << "Twice: " << stats.twice << "\n"
               << "Once: " << stats.once << "\n";
        if (named) io.out << "\n";
    }
    return kExitOk;
}

int RunKeywords(const KeywordsArgs& args, Streams io) {
    StoredGeneratorInputs stored = ReadStoredGeneratorInputs();
    generator::GeneratorOptions options = stored.options;
    if (args.minLen) options.minWordLen = *args.minLen;
    if (!args.digits.empty()) options.keyCifra = args.digits == "on";
    if (args.altOption->count() > 0) options.bolAlt = args.alt;
    if (args.descriptionOption->count() > 0) options.insertDescription = args.description;

    // An explicitly named list must exist; the stored one may be missing, as
    // it is before the generator window has ever saved it.
    std::vector<std::string> deleteList;
    const bool explicitList = !args.exclude.empty();
    const std::string listFile = explicitList ? args.exclude : stored.deleteListFile;
    if (!listFile.empty()) {
        const generator::WordListRead list = generator::ReadWordListFile(listFile);
        if (list.ok) {
            deleteList = list.entries;
        } else if (explicitList || !list.missing) {
            io.err << "keywords: " << list.error << "\n";
            return kExitFileError;
        }
    }

    LoadOptions loadOptions;
    if (!ResolveLoadOptions(args.load, "keywords", io.err, loadOptions)) return kExitFailed;
    const Selection selection = SelectPages(args.selection, "keywords", io.err);
    if (!selection.ok) return kExitFailed;
    // Several pages: each result names its page.
    const bool named = selection.folders || selection.pages.size() > 1;
    int status = selection.problems > 0 ? kExitFileError : kExitOk;
    Progress progress(io.err, io.progress, selection.pages.size());
    std::size_t done = 0;
    for (const std::string& page : selection.pages) {
        progress.Show(done++);
        const int pageStatus = KeywordsOfPage(page, named, options, deleteList, args, loadOptions, io, progress);
        if (pageStatus != kExitOk && (status == kExitOk || pageStatus == kExitFileError)) status = pageStatus;
    }
    progress.Finish();
    io.out.flush();
    return status;
}

}  // namespace

void AddKeywordsCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("keywords", "Count the words of a page and list them");
    auto args = std::make_shared<KeywordsArgs>();
    AddSelectionOptions(*cmd, args->selection);
    cmd->add_option("--min-len", args->minLen,
                    "Count only words longer than N characters (default: the MinWord setting)")
        ->check(CLI::Range(kMinWordLow, kMinWordHigh));
    cmd->add_option("--digits", args->digits,
                    "Digits are word characters (on) or separators (off); default: KeyCifra")
        ->check(CLI::IsMember({"on", "off"}));
    args->altOption = cmd->add_flag("--alt,!--no-alt", args->alt,
                                    "Count the alt texts of the page (default: BolAlt)");
    args->descriptionOption = cmd->add_flag("--description,!--no-description", args->description,
                                            "Count the page's description (default: InsertDescription)");
    cmd->add_option("--exclude", args->exclude,
                    "Word list file of words not to count (default: the FWordDel list file)");
    cmd->add_option("--sort", args->sort, "0 page order, 1 most frequent first, 2 least frequent first")
        ->check(CLI::Range(0, 2))
        ->default_val(0);
    cmd->add_option("--repeated", args->repeated, "List only the words counted more than N times")
        ->check(CLI::Range(0, 999));
    cmd->add_flag("--json", args->json, "Print one JSON object instead of text");
    AddLoadOptions(*cmd, args->load);
    cmd->callback([args, io, &status] { status = RunKeywords(*args, io); });
}

}  // namespace veskaron::cli
