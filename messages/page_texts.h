#pragma once
// Russian texts about a page as the windows and veskaron-meta show them: its
// size and its download time.
#include <string>
#include <string_view>

#include "engine/loader.h"

namespace veskaron {

// "12345 байт".
std::string SizeText(long long bytes);
// "2.94 cек." from hundredths of a second: two decimals and a point whatever
// the locale, then the unit as the program has always written it (its first
// letter Latin).
std::string DownloadTimeText(unsigned long long hundredths);

// The expiry date that could not be read from a page or written into one.
inline constexpr std::string_view kDateConversionError = "Ошибка преобразования дат.";

std::string_view LoadWarningText(LoadWarning warning);

}  // namespace veskaron
