#include <cstdlib>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/write_journal.h"

namespace veskaron::cli {

int Main(int argc, const char* const* argv, Streams io) {
    SetCommandLine(argc, argv);
    CLI::App app{"veskaron-meta: reads and writes the title and META tags of HTML pages"};
    app.require_subcommand(1);
    app.footer("Exit status: 0 success; 1 a page failed, bad arguments, or audit --fail-on findings;\n"
               "2 a file or folder could not be read; 3 the writer refused the fields of a page.\n"
               "A repeated option takes its last value; of two opposite flags the last one wins.");
    // A repeated option takes its last value, as in common command-line tools,
    // so scripts can append overrides to a default set of arguments.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    std::string configDir;
    app.add_option("--config", configDir,
                   "Settings folder (the same as VESKARON_CONFIG_DIR)");
    int status = kExitOk;
    AddReadCommand(app, io, status);
    AddWriteCommand(app, io, status);
    AddKeywordsCommand(app, io, status);
    AddAuditCommand(app, io, status);
    AddSerpCommand(app, io, status);
    AddRobotsTxtCommand(app, io, status);
    AddSitemapCommand(app, io, status);
    AddLinksCommand(app, io, status);
    AddHistoryCommands(app, io, status);
    app.parse_complete_callback([&configDir] {
        if (!configDir.empty()) ::setenv("VESKARON_CONFIG_DIR", configDir.c_str(), 1);
    });
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help answers 0; every usage error is a failure of the command.
        return app.exit(e, io.out, io.err) == 0 ? kExitOk : kExitFailed;
    }
    return status;
}

}  // namespace veskaron::cli
