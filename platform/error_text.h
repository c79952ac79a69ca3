#pragma once
// File errors in the windows' language. The engine and the command-line tool
// describe a failure as "<what> <path>: <system cause>" in English; the
// windows show the same in Russian. Texts the program's users know as they
// are ("Cannot create file %s") keep their wording; only the cause changes.
#include <string>
#include <string_view>

namespace veskaron {

// The Russian for a system cause (an errno text as strerror gives it); the
// cause itself when no Russian is known.
std::string RussianCause(std::string_view cause);

// A whole error text with its known English parts and its cause in Russian.
std::string RussianFileError(std::string_view message);

}  // namespace veskaron
