#include "engine/expiry.h"

#include <cstdio>

#include "engine/cp1251.h"
#include "engine/translations.h"

namespace veskaron {
namespace {

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Yan", "Feb", "Mar", "Apr", "May", "Iun",
                                   "Iul", "Avg", "Sep", "Okt", "Nov", "Dec"};

// Substring by a 1-based start and a count, cut to the text; the positions of
// the date text are counted from 1, and no read leaves the string.
std::string_view Copy1(std::string_view s, long long index, long long count) {
    if (index < 1) index = 1;
    if (count <= 0 || index > static_cast<long long>(s.size())) return {};
    const auto start = static_cast<std::size_t>(index - 1);
    return s.substr(start, static_cast<std::size_t>(count));
}

long long Pos1(std::string_view s, char c) {
    const auto p = s.find(c);
    return p == std::string_view::npos ? 0 : static_cast<long long>(p) + 1;
}

}  // namespace

std::optional<std::string> FormatExpiryText(const Date& date, const TimeOfDay& time) {
    if (!IsValidDate(date) || !IsValidTime(time)) return std::nullopt;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d GMT", kWeekdays[DayOfWeek(date)],
                  date.day, kMonths[date.month - 1], date.year, time.minute, time.hour, time.second);
    return std::string(buf);
}

ExpiryParse ParseExpiryText(std::string_view text, const DateTime& now) {
    ExpiryParse r{now, true};
    if (text.empty()) return r;
    const std::string s = LowerText(text);
    const long long c = Pos1(s, ':');
    const long long k = Pos1(s, ',');
    const IntResult hours = ParseContentInt(Copy1(s, c + 1, 2));
    const IntResult minutes = ParseContentInt(Copy1(s, c - 2, 2));
    const IntResult seconds = ParseContentInt(Copy1(s, c + 4, 2));
    const std::string datePart = TrimBlanks(Copy1(s, k + 1, (c - 3) - (k + 1) + 1));
    const IntResult day = ParseContentInt(TrimBlanks(Copy1(datePart, 1, 3)));
    const IntResult year = ParseContentInt(
        TrimBlanks(Copy1(datePart, static_cast<long long>(datePart.size()) - 3, 4)));
    int month = 0;
    for (int m = 0; m < 12 && month == 0; ++m)
        if (datePart.find(LowerAscii(kMonths[m])) != std::string::npos) month = m + 1;
    if (!hours.ok || !minutes.ok || !seconds.ok || !day.ok || !year.ok || month == 0) {
        r.ok = false;
        return r;
    }
    const DateTime value{{static_cast<int>(year.value), month, static_cast<int>(day.value)},
                         {static_cast<int>(hours.value), static_cast<int>(minutes.value),
                          static_cast<int>(seconds.value)}};
    if (!IsValidDate(value.date) || !IsValidTime(value.time)) {
        r.ok = false;
        return r;
    }
    r.value = value;
    return r;
}

}  // namespace veskaron
