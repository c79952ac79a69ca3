#pragma once
// The expiry date text: "Mon, 07 Dec 2026 22:10:31 GMT" with minutes before
// hours, as it is shown beside the expiry fields and written into pages.
#include <optional>
#include <string>
#include <string_view>

#include "engine/meta_fields.h"

namespace veskaron {

// Empty optional when the date or time cannot be written (the caller reports
// it).
std::optional<std::string> FormatExpiryText(const Date& date, const TimeOfDay& time);

struct ExpiryParse {
    DateTime value;  // `now` when the text is empty or unreadable
    bool ok = true;  // false: the caller reports that the date was not read
};
ExpiryParse ParseExpiryText(std::string_view text, const DateTime& now);

}  // namespace veskaron
