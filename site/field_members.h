#pragma once
// The fields of a document by the member names the command line and the CSV
// files use (Title, PageEnter.On, OgTitle, ...), and the assignment of one
// member from a "Member=VALUE" text.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/meta_fields.h"
#include "engine/modern_head.h"
#include "engine/text_codec.h"

namespace veskaron::site {

// One member of MetaFields. A text member is read and written through the
// document's codec; the others through their own functions.
struct FieldMember {
    std::function<nlohmann::json(const MetaFields&)> get;
    std::function<std::string(MetaFields&, std::string_view)> set;
    std::string MetaFields::*text = nullptr;
    int transition = -1;  // the transition `get` returns, for writers that spell it out
    // The page's own words of the catalogue entry of that index (RobotsText,
    // ...): a text member kept in MetaFields::OwnText.
    int own = -1;
};
// Every member by name, in name order.
const std::map<std::string, FieldMember, std::less<>>& FieldMembers();

std::string FormatDate(const Date& d);       // YYYY-MM-DD
std::string FormatTime(const TimeOfDay& t);  // HH:MM:SS
bool ParseDate(std::string_view s, Date& d);
bool ParseTime(std::string_view s, TimeOfDay& t);
// "YYYY-MM-DDTHH:MM:SS"
bool ParseDateTime(std::string_view s, DateTime& dt);

// Sets one member from "Member=VALUE" (VALUE in UTF-8; texts are encoded by the
// document's codec, characters it cannot hold as "&#N;" counted in
// `references`; integers clamp like the fields, transitions as "PageEnter.On").
// Setting ExpiriesDate or ExpiriesTime rebuilds ExpiriesText. Returns an error
// text, empty on success.
std::string ApplySetting(MetaFields& f, std::string_view assignment, const TextCodec& codec,
                         std::size_t& references);

// Whether "Member=VALUE" names one of the head tags beside the catalogue
// (Canonical, OgTitle, ..., and the read-only Hreflang, JsonLd, HtmlLang).
bool IsModernSetting(std::string_view assignment);
// Sets an editable one of them as ApplySetting does; the read-only ones and
// the others are refused with an error text.
std::string ApplyModernSetting(ModernFields& f, std::string_view assignment, const TextCodec& codec,
                               std::size_t& references);

// Either of the two above, by the member's name.
std::string ApplyAnySetting(MetaFields& fields, ModernFields& modern, std::string_view assignment,
                            const TextCodec& codec, std::size_t& references);
// What ApplyAnySetting would say of the assignment on any page: an error text,
// empty when the value can be set. For checking values before any page is read.
std::string SettingError(std::string_view assignment);

}  // namespace veskaron::site
