#pragma once
// The fields of a document as JSON members named after the MetaFields members,
// and the assignment of one member from a "Member=VALUE" text.
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/meta_fields.h"
#include "engine/modern_head.h"
#include "engine/text_codec.h"

namespace veskaron::cli {

// Texts are the document's text, shown through its codec.
nlohmann::json FieldsToJson(const MetaFields& f, const TextCodec& codec);
// The compact text of FieldsToJson(f, codec) with the members of `extra` set
// on it (an object), without building that object.
void AppendFieldsJson(std::string& out, const MetaFields& f, const TextCodec& codec, const nlohmann::json& extra);

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

// The members of the head tags beside the catalogue (Canonical, OgTitle, ...,
// Hreflang, JsonLd, HtmlLang) set on `j`; texts through the document's codec.
void AddModernJson(nlohmann::json& j, const ModernHead& head, const TextCodec& codec);

// Whether "Member=VALUE" names one of those members (the read-only ones too).
bool IsModernSetting(std::string_view assignment);
// Sets an editable one of them as ApplySetting does; the read-only ones and
// the others are refused with an error text.
std::string ApplyModernSetting(ModernFields& f, std::string_view assignment, const TextCodec& codec,
                               std::size_t& references);

}  // namespace veskaron::cli
