#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace veskaron::cli {

void AddKeywordsCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("keywords", "Count the words of a page and list them");
    cmd->callback([io, &status] {
        io.err << "keywords: not available yet\n";
        status = kExitFailed;
    });
}

}  // namespace veskaron::cli
