#pragma once
// The subcommands of veskaron-meta. Each Add function registers its options on
// the application and sets the exit status when the subcommand runs.
#include <iosfwd>

namespace CLI { class App; }

namespace veskaron::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
    bool progress = false;  // err is a terminal: long runs show how far they are
};

// Exit statuses shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;     // a page failed (conversion, write)
inline constexpr int kExitFileError = 2;  // a file could not be read
inline constexpr int kExitRefused = 3;    // the writer refused the fields

void AddReadCommand(CLI::App& app, Streams io, int& status);
void AddWriteCommand(CLI::App& app, Streams io, int& status);
void AddKeywordsCommand(CLI::App& app, Streams io, int& status);
void AddAuditCommand(CLI::App& app, Streams io, int& status);
void AddSerpCommand(CLI::App& app, Streams io, int& status);
void AddRobotsTxtCommand(CLI::App& app, Streams io, int& status);
void AddSitemapCommand(CLI::App& app, Streams io, int& status);
void AddLinksCommand(CLI::App& app, Streams io, int& status);
// history and undo.
void AddHistoryCommands(CLI::App& app, Streams io, int& status);

// Parses argv and runs the chosen command; returns the process exit status.
int Main(int argc, const char* const* argv, Streams io);

}  // namespace veskaron::cli
