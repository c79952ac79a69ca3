#pragma once
// The fields of a document as JSON members named after the MetaFields members.
#include <string>

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

// The members of the head tags beside the catalogue (Canonical, OgTitle, ...,
// Hreflang, JsonLd, HtmlLang) set on `j`; texts through the document's codec.
void AddModernJson(nlohmann::json& j, const ModernHead& head, const TextCodec& codec);

}  // namespace veskaron::cli
