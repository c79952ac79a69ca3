#pragma once
// Russian texts of the audit: short names of its finding codes, for lists and
// filters where the code itself would be English to the user, and what a
// JSON-LD block's parser found.
#include <string>
#include <string_view>

#include "engine/modern_head.h"

namespace veskaron {

// "Нет канонического адреса" for "canonical-missing"; the code itself for a
// code this table does not know.
std::string_view FindingName(std::string_view code);

// "строка 3, столбец 7: ошибка в записи данных" for a block that is not valid
// JSON; empty for a valid one.
std::string JsonLdErrorText(const JsonLdBlock& block);

}  // namespace veskaron
