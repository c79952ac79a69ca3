#include "cli/fields_json.h"

#include "cli/json_out.h"
#include "site/field_members.h"

namespace veskaron::cli {

using nlohmann::json;

json FieldsToJson(const MetaFields& f, const TextCodec& codec) {
    json j = json::object();
    for (const auto& [name, member] : site::FieldMembers()) {
        if (member.text) j[name] = codec.ToUtf8(f.*member.text);
        else if (member.own >= 0) j[name] = codec.ToUtf8(f.OwnText[static_cast<std::size_t>(member.own)]);
        else if (member.get) j[name] = member.get(f);
    }
    return j;
}

void AppendFieldsJson(std::string& out, const MetaFields& f, const TextCodec& codec, const json& extra) {
    // Both are ordered by name, as the object's members would be.
    auto member = site::FieldMembers().begin();
    const auto members = site::FieldMembers().end();
    auto added = extra.items().begin();
    const auto addedEnd = extra.items().end();
    bool first = true;
    auto put = [&](const std::string& name) {
        out += first ? '{' : ',';
        first = false;
        AppendJsonString(out, name);
        out += ':';
    };
    while (member != members || added != addedEnd) {
        const bool takeAdded =
            member == members || (added != addedEnd && added.key() <= member->first);
        if (takeAdded) {
            if (member != members && added.key() == member->first) ++member;  // set over the field
            put(added.key());
            AppendCompactJson(out, added.value());
            ++added;
            continue;
        }
        const site::FieldMember& m = member->second;
        if (m.text || m.own >= 0) {
            put(member->first);
            AppendJsonString(out, codec.ToUtf8(m.text ? f.*m.text : f.OwnText[static_cast<std::size_t>(m.own)]));
        } else if (m.transition >= 0) {
            // As TransitionJson's object writes itself: members by name.
            const Transition& t = f.TransitionAt(m.transition);
            put(member->first);
            out += "{\"Duration\":";
            out += std::to_string(t.Duration);
            out += ",\"Effect\":";
            out += std::to_string(t.Effect);
            out += ",\"On\":";
            out += t.On ? "true}" : "false}";
        } else if (m.get) {
            put(member->first);
            AppendCompactJson(out, m.get(f));
        }
        ++member;
    }
    out += first ? "{}" : "}";
}

void AddModernJson(json& j, const ModernHead& head, const TextCodec& codec) {
    for (int f = 0; f < kModernFieldCount; ++f) j[std::string(ModernFieldName(f))] = codec.ToUtf8(head.fields[f]);
    json links = json::array();
    for (const HreflangLink& l : head.hreflang)
        links.push_back(json{{"Lang", codec.ToUtf8(l.lang)}, {"Href", codec.ToUtf8(l.href)}});
    j["Hreflang"] = std::move(links);
    json blocks = json::array();
    for (const JsonLdBlock& b : head.jsonLd) {
        json block{{"Valid", b.valid}, {"Type", nullptr}, {"Error", nullptr}};
        if (b.hasType) block["Type"] = b.type;
        if (!b.valid) block["Error"] = b.error;
        blocks.push_back(std::move(block));
    }
    j["JsonLd"] = std::move(blocks);
    j["HtmlLang"] = head.hasHtmlLang ? json(codec.ToUtf8(head.htmlLang)) : json(nullptr);
}

}  // namespace veskaron::cli
