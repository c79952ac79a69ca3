#include "edits/journal_settings.h"

#include "platform/key_store.h"
#include "platform/paths.h"
#include "settings/settings_keys.h"

namespace veskaron::edits {

std::string JournalFolderPath() { return JournalFolder(); }

JournalOptions JournalOptionsOfSettings() {
    JournalOptions options;
    const KeyAccess access;
    options.limits = KeepingBatches(Read(access, key::JournalKeep));
    return options;
}

}  // namespace veskaron::edits
