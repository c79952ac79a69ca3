#pragma once
// What the commands that load pages share: the --now and --modem options, the
// load settings they resolve to, and a document state as a fresh window has it.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "engine/loader.h"

namespace CLI { class App; }

namespace veskaron::cli {

struct LoadArgs {
    std::string now;                   // YYYY-MM-DDTHH:MM:SS; empty: the clock
    std::optional<std::string> modem;  // empty: the stored modem speed
};
void AddLoadOptions(CLI::App& cmd, LoadArgs& args);

// The load settings for the arguments; false (with a message naming the
// command) when --now or --modem cannot be read.
bool ResolveLoadOptions(const LoadArgs& args, std::string_view command, std::ostream& err,
                        LoadOptions& options);

// A document whose previous values are those of a freshly started window.
Document FreshDocument(const LoadOptions& options);

}  // namespace veskaron::cli
