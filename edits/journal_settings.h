#pragma once
// Where the journal of saves lives and what it keeps, as the stored settings
// say: one answer for the windows and veskaron-meta.
#include <string>

#include "edits/journal.h"

namespace veskaron::edits {

std::string JournalFolderPath();
JournalOptions JournalOptionsOfSettings();

}  // namespace veskaron::edits
