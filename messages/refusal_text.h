#pragma once
// The Russian texts of the engine's refusals (UTF-8), as the windows show them
// under the caption "Ошибка" and veskaron-meta prints them.
#include <string>

#include "engine/refusal.h"

namespace veskaron {

std::string RefusalText(const RefusalReason& why);
inline std::string RefusalText(Refusal code) { return RefusalText(RefusalReason{code, {}}); }

}  // namespace veskaron
