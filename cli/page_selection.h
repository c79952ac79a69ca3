#pragma once
// The pages a command works on: page paths as given, then every file under
// each -r folder that matches the file mask (--mask, else the stored FileFiltr).
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI { class App; }

namespace veskaron::cli {

struct SelectionArgs {
    std::vector<std::string> pages;
    std::vector<std::string> folders;
    std::optional<std::string> mask;
};
void AddSelectionOptions(CLI::App& cmd, SelectionArgs& args);

struct Selection {
    bool ok = false;            // false: nothing was asked for (reported)
    std::vector<std::string> pages;
    std::size_t problems = 0;   // folders or links that could not be read (reported)
    bool folders = false;       // -r was given: the run is a batch
};
// Reports the problems of the walk on `err`, each naming the folder or file.
// A file found in a folder that was also named as a page is taken once, where
// it was named; with `eachFileOnce` so is a page named twice.
Selection SelectPages(const SelectionArgs& args, std::string_view command, std::ostream& err,
                      bool eachFileOnce = false);

}  // namespace veskaron::cli
