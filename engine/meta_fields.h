#pragma once
// The values of the 22 entries of one document, as the main window's controls
// hold them. Texts are in the document's text kind (Windows-1251 bytes or
// UTF-8, engine/encoding.h); index fields hold -1 for "nothing
// selected"; number fields clamp what is assigned into their range.
#include <array>
#include <string>

namespace veskaron {

struct Date {
    int year = 2000, month = 1, day = 1;
    friend bool operator==(const Date&, const Date&) = default;
};
struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};
struct DateTime {
    Date date;
    TimeOfDay time;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

bool IsValidDate(const Date& d);
bool IsValidTime(const TimeOfDay& t);
int DayOfWeek(const Date& d);  // 0 = Sunday
DateTime CurrentDateTime();    // local clock

int ClampInt(long long value, int lo, int hi);
// An index assigned to a list of `count` items: out of range means no selection.
int SelectIndex(long long value, int count);

inline constexpr int kRevisitMin = 0, kRevisitMax = 180;
// A page may ask for an instant refresh (0); a new one starts at 5 seconds.
inline constexpr int kRefreshMin = 0, kRefreshMax = 9999999, kRefreshDefault = 5;
inline constexpr int kDurationMin = 0, kDurationMax = 60;
inline constexpr int kEffectCount = 24;

struct Transition {
    bool On = false;
    int Duration = 0;
    int Effect = 23;
    void SetDuration(long long v) { Duration = ClampInt(v, kDurationMin, kDurationMax); }
    void SetEffect(long long v) { Effect = SelectIndex(v, kEffectCount); }
    friend bool operator==(const Transition&, const Transition&) = default;
};

struct MetaFields {
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Description;  // may hold CR LF line breaks
    std::string Keywords;     // may hold CR LF line breaks
    int Robots = -1;
    int RevisitCount = 0;
    int RevisitUnit = -1;
    std::string Generator;
    std::string ProgId;
    int Distribution = -1;
    std::string Url;
    int CacheControl = -1;
    int Pragma = -1;
    bool RefreshOn = false;
    int RefreshSeconds = kRefreshDefault;
    std::string RefreshUrl;
    bool ExpiriesOn = false;
    Date ExpiriesDate;
    TimeOfDay ExpiriesTime;
    std::string ExpiriesText;
    bool ContentTypeOn = false;
    int ContentType = -1;
    int Charset = -1;
    // The page's own charset when the list does not hold it ("iso-8859-1"):
    // shown in the charset box and written back as it stands while `Charset`
    // is 0 or -1.
    std::string CharsetText;
    int ContentLanguage = -1;
    std::string Location;
    Transition PageEnter;
    Transition PageExit;
    Transition SiteEnter;
    Transition SiteExit;
    // The page's own words, by catalogue index: the content a load found where
    // the fields cannot say it as the page did ("noindex, noarchive", a
    // language "ru-RU", an author of two letters). While the entry's values
    // still read as these words, a save writes them back as they stand; an
    // edit that gives the entry other values replaces them.
    std::array<std::string, 22> OwnText;

    void SetRevisitCount(long long v) { RevisitCount = ClampInt(v, kRevisitMin, kRevisitMax); }
    void SetRefreshSeconds(long long v) { RefreshSeconds = ClampInt(v, kRefreshMin, kRefreshMax); }
    // Transitions by catalogue order: 0 page-enter ... 3 site-exit.
    Transition& TransitionAt(int i);
    const Transition& TransitionAt(int i) const;

    friend bool operator==(const MetaFields&, const MetaFields&) = default;
};

// The values of a freshly started main window: empty texts, no selections,
// refresh 5 seconds, effects on entry 23, the expiry date and time at `now`.
MetaFields FreshFields(const DateTime& now);

}  // namespace veskaron
