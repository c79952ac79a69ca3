#pragma once
// Compact JSON text of a value, exactly as nlohmann::json's dump(-1, ' ',
// false, replace) writes it, without its per-character stream of calls: the
// `read` command writes tens of thousands of lines.
#include <string>

#include <nlohmann/json.hpp>

namespace veskaron::cli {

void AppendCompactJson(std::string& out, const nlohmann::json& value);
// One text as a JSON string, the same way.
void AppendJsonString(std::string& out, const std::string& text);

}  // namespace veskaron::cli
