#include "cli/page_selection.h"

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <set>
#include <utility>

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

namespace {

using FileId = std::pair<unsigned long long, unsigned long long>;  // device, inode

std::optional<FileId> IdOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

// Drops the pages whose file came before under another or the same name: a
// second write would take the backup of the first, and an audit would find
// the page to share its own title. Pages that cannot be found are left for
// the command to report.
void TakeEachFileOnce(std::vector<std::string>& pages) {
    std::set<FileId> seen;
    std::erase_if(pages, [&seen](const std::string& page) {
        const std::optional<FileId> id = IdOf(page);
        return id && !seen.insert(*id).second;
    });
}

}  // namespace

Selection SelectPages(const SelectionArgs& args, std::string_view command, std::ostream& err,
                      bool eachFileOnce) {
    Selection s;
    if (args.pages.empty() && args.folders.empty()) {
        err << command << ": give PAGE files or -r DIR\n";
        return s;
    }
    s.ok = true;
    s.pages = args.pages;
    if (eachFileOnce) TakeEachFileOnce(s.pages);
    if (args.folders.empty()) return s;
    s.folders = true;
    const std::string mask = args.mask ? *args.mask : ReadSettingsValues().fileMask;
    site::PageCollector collector{site::FileMask(mask)};
    for (const std::string& folder : args.folders) collector.AddFolder(folder);
    for (const std::string& problem : collector.Problems()) err << problem << "\n";
    s.problems = collector.Problems().size();
    // A page named on its own is not taken again from a folder; the check
    // costs a look at every file only when pages were named too.
    const bool named = !s.pages.empty();
    s.pages.insert(s.pages.end(), collector.Pages().begin(), collector.Pages().end());
    if (named) {
        std::set<FileId> namedIds;
        for (std::size_t i = 0; i < args.pages.size(); ++i)
            if (const std::optional<FileId> id = IdOf(args.pages[i])) namedIds.insert(*id);
        const std::size_t first = s.pages.size() - collector.Pages().size();
        const auto from = s.pages.begin() + static_cast<std::ptrdiff_t>(first);
        s.pages.erase(std::remove_if(from, s.pages.end(),
                                     [&namedIds](const std::string& page) {
                                         const std::optional<FileId> id = IdOf(page);
                                         return id && namedIds.count(*id) > 0;
                                     }),
                      s.pages.end());
    }
    return s;
}

}  // namespace veskaron::cli
