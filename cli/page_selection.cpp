#include "cli/page_selection.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "platform/key_store.h"
#include "settings/setup_values.h"
#include "site/page_selection.h"

namespace veskaron::cli {

void AddSelectionOptions(CLI::App& cmd, SelectionArgs& args) {
    cmd.add_option("PAGE", args.pages, "Page files, taken in this order");
    cmd.add_option("-r,--recursive", args.folders,
                   "Every page under DIR that matches the file mask; may be given many times")
        ->type_name("DIR")
        ->allow_extra_args(false)  // "-r DIR PAGE": the page is a page
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    cmd.add_option("--mask", args.mask,
                   "File mask for -r, patterns separated by ';' (default: the FileFiltr setting, "
                   "\"*.htm; *.html\")");
}

Selection SelectPages(const SelectionArgs& args, std::string_view command, std::ostream& err) {
    Selection s;
    if (args.pages.empty() && args.folders.empty()) {
        err << command << ": give PAGE files or -r DIR\n";
        return s;
    }
    s.ok = true;
    s.pages = args.pages;
    if (args.folders.empty()) return s;
    s.folders = true;
    const std::string mask = args.mask ? *args.mask : ReadCommonSettings(KeyAccess()).FileFiltr;
    site::PageCollector collector{site::FileMask(mask)};
    for (const std::string& folder : args.folders) collector.AddFolder(folder);
    for (const std::string& problem : collector.Problems()) err << problem << "\n";
    s.problems = collector.Problems().size();
    s.pages.insert(s.pages.end(), collector.Pages().begin(), collector.Pages().end());
    return s;
}

}  // namespace veskaron::cli
