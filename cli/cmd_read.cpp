#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace veskaron::cli {

void AddReadCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("read", "Read the title and META fields of pages as JSON Lines");
    cmd->callback([io, &status] {
        io.err << "read: not available yet\n";
        status = kExitFailed;
    });
}

}  // namespace veskaron::cli
