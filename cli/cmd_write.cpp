#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace veskaron::cli {

void AddWriteCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("write", "Write the META block of a page");
    cmd->callback([io, &status] {
        io.err << "write: not available yet\n";
        status = kExitFailed;
    });
}

}  // namespace veskaron::cli
