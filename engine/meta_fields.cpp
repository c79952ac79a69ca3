#include "engine/meta_fields.h"

#include <ctime>

namespace veskaron {

bool IsValidDate(const Date& d) {
    if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int max = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day <= max;
}

bool IsValidTime(const TimeOfDay& t) {
    return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
           t.second < 60;
}

int DayOfWeek(const Date& d) {
    // Sakamoto's method; valid for the proleptic Gregorian calendar.
    static constexpr int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = d.year - (d.month < 3 ? 1 : 0);
    return (y + y / 4 - y / 100 + y / 400 + t[d.month - 1] + d.day) % 7;
}

DateTime CurrentDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, {tm.tm_hour, tm.tm_min, tm.tm_sec}};
}

int ClampInt(long long value, int lo, int hi) {
    if (value < lo) return lo;
    if (value > hi) return hi;
    return static_cast<int>(value);
}

int SelectIndex(long long value, int count) {
    return (value >= 0 && value < count) ? static_cast<int>(value) : -1;
}

Transition& MetaFields::TransitionAt(int i) {
    switch (i) {
        case 0: return PageEnter;
        case 1: return PageExit;
        case 2: return SiteEnter;
        default: return SiteExit;
    }
}

const Transition& MetaFields::TransitionAt(int i) const {
    return const_cast<MetaFields*>(this)->TransitionAt(i);
}

MetaFields FreshFields(const DateTime& now) {
    MetaFields f;
    f.ExpiriesDate = now.date;
    f.ExpiriesTime = now.time;
    return f;
}

}  // namespace veskaron
