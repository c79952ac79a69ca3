#include "cli/page_loading.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "engine/translations.h"
#include "settings/setup_values.h"
#include "site/field_members.h"

namespace veskaron::cli {

void AddLoadOptions(CLI::App& cmd, LoadArgs& args) {
    cmd.add_option("--now", args.now, "Current date and time, YYYY-MM-DDTHH:MM:SS");
    cmd.add_option("--modem", args.modem,
                   "Modem speed in bits per second (default: the stored setting, 33600)");
}

bool ResolveLoadOptions(const LoadArgs& args, std::string_view command, std::ostream& err,
                        LoadOptions& options) {
    options.now = CurrentDateTime();
    if (!args.now.empty() && !site::ParseDateTime(args.now, options.now)) {
        err << command << ": --now '" << args.now << "' is not YYYY-MM-DDTHH:MM:SS\n";
        return false;
    }
    // A typed speed that is no number is a mistake in the arguments, told once;
    // a stored one fails each page's load, as in the window.
    if (args.modem && !ParseContentInt(*args.modem).ok) {
        err << command << ": --modem '" << *args.modem << "' is not a whole number of bits per second\n";
        return false;
    }
    options.modemSpeed = args.modem ? *args.modem : ModemSpeedOf(ReadSettingsValues());
    return true;
}

Document FreshDocument(const LoadOptions& options) {
    Document doc;
    doc.fields = FreshFields(options.now);
    return doc;
}

}  // namespace veskaron::cli
