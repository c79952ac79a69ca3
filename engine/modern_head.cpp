#include "engine/modern_head.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "engine/head_scanner.h"
#include "engine/writer.h"

namespace veskaron {
namespace {

constexpr std::array<std::string_view, kModernFieldCount> kNames = {
    "Canonical",   "Viewport",      "OgTitle",      "OgDescription", "OgType",
    "OgUrl",       "OgImage",       "OgSiteName",   "OgLocale",      "TwitterCard",
    "TwitterTitle", "TwitterDescription", "TwitterImage", "TwitterSite"};
constexpr std::array<std::string_view, kModernFieldCount> kKeys = {
    "canonical",    "viewport",      "og:title",     "og:description", "og:type",
    "og:url",       "og:image",      "og:site_name", "og:locale",      "twitter:card",
    "twitter:title", "twitter:description", "twitter:image", "twitter:site"};

char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = LowerChar(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view lower) {
    if (a.size() != lower.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != lower[i]) return false;
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsTagSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsTagSpace(s.back())) s.remove_suffix(1);
    return s;
}

// The writer's entities, and the apostrophe that a single-quoted value needs.
std::string DecodeValue(std::string_view raw) {
    std::string s = DecodeEntities(raw);
    for (std::string_view apos : {std::string_view("&#39;"), std::string_view("&apos;")}) {
        for (std::size_t at = s.find(apos); at != std::string::npos; at = s.find(apos, at + 1))
            s.replace(at, apos.size(), "'");
    }
    return s;
}

struct Attribute {
    std::string_view name;  // as written
    bool hasValue = false;
    std::size_t valueStart = 0, valueEnd = 0;  // in the text, without quotes
    char quote = 0;
};

struct Tag {
    std::size_t start = 0, end = 0;  // '<' and just after '>'
    std::vector<Attribute> attributes;
    const Attribute* Find(std::string_view lowerName) const {
        for (const Attribute& a : attributes)
            if (EqualsNoCase(a.name, lowerName)) return &a;
        return nullptr;
    }
};

// Reads the attributes between `from` and the tag's '>' at `gt`.
void ParseAttributes(std::string_view text, std::size_t from, std::size_t gt, Tag& tag) {
    std::size_t i = from;
    while (i < gt) {
        while (i < gt && (IsTagSpace(text[i]) || text[i] == '/')) ++i;
        if (i >= gt) break;
        const std::size_t nameStart = i;
        while (i < gt && !IsTagSpace(text[i]) && text[i] != '=' && text[i] != '/') ++i;
        Attribute a;
        a.name = text.substr(nameStart, i - nameStart);
        std::size_t j = i;
        while (j < gt && IsTagSpace(text[j])) ++j;
        if (j < gt && text[j] == '=') {
            ++j;
            while (j < gt && IsTagSpace(text[j])) ++j;
            a.hasValue = true;
            if (j < gt && (text[j] == '"' || text[j] == '\'')) {
                a.quote = text[j];
                a.valueStart = j + 1;
                // Within the tag: an unclosed quote must not send the search through the page.
                const std::size_t close = text.substr(0, gt).find(a.quote, a.valueStart);
                a.valueEnd = close == std::string_view::npos ? gt : close;
                i = a.valueEnd < gt ? a.valueEnd + 1 : gt;
            } else {
                a.valueStart = j;
                while (j < gt && !IsTagSpace(text[j])) ++j;
                a.valueEnd = j;
                i = j;
            }
        }
        if (!a.name.empty()) tag.attributes.push_back(a);
    }
}

// The name of the tag whose '<' is at `at` ends at the returned position.
std::size_t TagNameEnd(std::string_view text, std::size_t at) {
    std::size_t i = at + 1;
    while (i < text.size() && !IsTagSpace(text[i]) && text[i] != '>' && text[i] != '/') ++i;
    return i;
}

bool HasWord(std::string_view value, std::string_view lowerWord) {
    std::size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && IsTagSpace(value[i])) ++i;
        std::size_t e = i;
        while (e < value.size() && !IsTagSpace(value[e])) ++e;
        if (e > i && EqualsNoCase(value.substr(i, e - i), lowerWord)) return true;
        i = e;
    }
    return false;
}

std::string_view ValueOf(std::string_view text, const Attribute* a) {
    return a && a->hasValue ? text.substr(a->valueStart, a->valueEnd - a->valueStart) : std::string_view();
}

void NoteSpot(ModernHead& h, int field, const Tag& tag, const Attribute* value, std::string_view text) {
    ModernTagSpot& spot = h.spots[static_cast<std::size_t>(field)];
    if (spot.count++ > 0) return;
    spot.tagStart = tag.start;
    spot.tagEnd = tag.end;
    if (value && value->hasValue) {
        spot.hasValue = true;
        spot.valueStart = value->valueStart;
        spot.valueEnd = value->valueEnd;
        spot.quote = value->quote;
        h.fields[field] = DecodeValue(ValueOf(text, value));
    }
}

// Whether a key may be one this module reads: most META tags of a head are not.
bool MayBeKey(std::string_view key) {
    if (key.empty()) return false;
    const char c = LowerChar(key.front());
    return c == 'o' || c == 't' || c == 'v' || c == 'd';
}

void ReadMeta(ModernHead& h, const Tag& tag, std::string_view text) {
    const std::string_view nameValue = TrimBlanks(ValueOf(text, tag.Find("name")));
    const std::string_view propertyValue = TrimBlanks(ValueOf(text, tag.Find("property")));
    if (!MayBeKey(nameValue) && !MayBeKey(propertyValue)) return;
    const Attribute* content = tag.Find("content");
    const std::string byName = Lower(nameValue);
    const std::string byProperty = Lower(propertyValue);
    if (byName == "description") ++h.descriptionTags;
    for (int f = kViewport; f < kModernFieldCount; ++f) {
        const std::string_view key = kKeys[static_cast<std::size_t>(f)];
        const bool og = key.starts_with("og:");
        const bool found = byName == key || (f != kViewport && byProperty == key);
        if (!found) continue;
        if (og && byName == key && byProperty != key) h.ogByName.emplace_back(key);
        NoteSpot(h, f, tag, content, text);
        return;
    }
    if (byName.starts_with("og:") && byProperty.empty()) h.ogByName.push_back(byName);
}

void ReadLink(ModernHead& h, const Tag& tag, std::string_view text) {
    const std::string_view rel = ValueOf(text, tag.Find("rel"));
    const Attribute* href = tag.Find("href");
    if (HasWord(rel, "canonical")) {
        const ModernTagSpot& spot = h.spots[kCanonical];
        if (spot.count > 0 && DecodeValue(TrimBlanks(ValueOf(text, href))) != TrimBlanks(h.fields[kCanonical]))
            h.canonicalsDiffer = true;
        NoteSpot(h, kCanonical, tag, href, text);
    }
    const Attribute* lang = tag.Find("hreflang");
    if (lang && HasWord(rel, "alternate"))
        h.hreflang.push_back({DecodeValue(ValueOf(text, lang)), DecodeValue(TrimBlanks(ValueOf(text, href)))});
}

JsonLdBlock ReadJsonLd(std::string_view body) {
    JsonLdBlock block;
    try {
        const nlohmann::json j = nlohmann::json::parse(body.begin(), body.end());
        block.valid = true;
        const nlohmann::json* top = &j;
        if (j.is_array() && !j.empty()) top = &j.front();
        if (top->is_object()) {
            const auto it = top->find("@type");
            if (it != top->end()) {
                block.hasType = true;
                block.type = it->is_string() ? it->get<std::string>() : it->dump();
            }
        }
    } catch (const nlohmann::json::exception& e) {
        block.error = e.what();
    }
    return block;
}

}  // namespace

std::string_view ModernFieldName(int field) { return kNames[static_cast<std::size_t>(field)]; }
std::string_view ModernFieldKey(int field) { return kKeys[static_cast<std::size_t>(field)]; }

int ModernFieldByName(std::string_view name) {
    for (int f = 0; f < kModernFieldCount; ++f)
        if (kNames[static_cast<std::size_t>(f)] == name) return f;
    return -1;
}

ModernHead ReadModernHead(std::string_view text, const TextCodec* codec) {
    ModernHead h;
    const HeadRange head = FindHead(text);
    // <html lang> stands before the head (or anywhere, in a page without one).
    const std::size_t htmlLimit = head.found ? head.startTag : text.size();
    for (std::size_t at = FindNoCase(text.substr(0, htmlLimit), "<html"); at != std::string_view::npos;
         at = FindNoCase(text.substr(0, htmlLimit), "<html", at + 5)) {
        if (TagNameEnd(text, at) != at + 5) continue;
        const std::size_t gt = text.find('>', at);
        if (gt == std::string_view::npos) break;
        Tag tag;
        ParseAttributes(text, at + 5, gt, tag);
        if (const Attribute* lang = tag.Find("lang"); lang && lang->hasValue) {
            h.hasHtmlLang = true;
            h.htmlLang = DecodeValue(ValueOf(text, lang));
        }
        break;
    }
    if (!head.found) return h;
    const std::string_view in = text.substr(0, head.end);
    std::size_t pos = head.begin;
    Tag tag;  // one for all, so that its attributes are allocated once
    while (true) {
        const std::size_t lt = in.find('<', pos);
        if (lt == std::string_view::npos) break;
        if (in.substr(lt, 4) == "<!--") {
            const std::size_t close = in.find("-->", lt + 4);
            if (close == std::string_view::npos) break;
            pos = close + 3;
            continue;
        }
        const std::size_t nameEnd = TagNameEnd(in, lt);
        const std::string_view name = in.substr(lt + 1, nameEnd - lt - 1);
        const bool meta = EqualsNoCase(name, "meta"), link = EqualsNoCase(name, "link");
        const bool script = EqualsNoCase(name, "script"), title = EqualsNoCase(name, "title");
        if (!meta && !link && !script && !title) {
            pos = lt + 1;
            continue;
        }
        const std::size_t gt = in.find('>', nameEnd);
        if (gt == std::string_view::npos) break;
        tag.attributes.clear();
        tag.start = lt;
        tag.end = gt + 1;
        pos = gt + 1;
        if (title) {
            ++h.titleTags;
            continue;
        }
        ParseAttributes(in, nameEnd, gt, tag);
        if (meta) {
            ReadMeta(h, tag, in);
        } else if (link) {
            ReadLink(h, tag, in);
        } else {
            // A script's text is skipped whatever its type, so that markup in it is not read.
            const std::size_t close = FindNoCase(in, "</script", pos);
            const std::size_t bodyEnd = close == std::string_view::npos ? in.size() : close;
            if (codec && EqualsNoCase(TrimBlanks(ValueOf(in, tag.Find("type"))), "application/ld+json"))
                h.jsonLd.push_back(ReadJsonLd(codec->ToUtf8(in.substr(pos, bodyEnd - pos))));
            if (close == std::string_view::npos) break;
            pos = close + 8;
        }
    }
    return h;
}

namespace {

// The value as the attribute's quotes can hold it; an unquoted value that
// needs quotes gets double ones.
std::string QuotedValue(std::string_view value, char quote) {
    std::string escaped = EscapeNameValue(value);
    if (quote == '"') return escaped;
    if (quote == '\'') {
        std::string out;
        for (char c : escaped) out += c == '\'' ? std::string("&#39;") : std::string(1, c);
        return out;
    }
    const bool bare = !escaped.empty() && escaped.find_first_of(" \t\r\n\f'\"=`<>") == std::string::npos;
    return bare ? escaped : "\"" + escaped + "\"";
}

std::string NewTag(int field, std::string_view value, int attributeOrder) {
    const std::string v = EscapeNameValue(value);
    const std::string_view key = kKeys[static_cast<std::size_t>(field)];
    if (field == kCanonical)
        return attributeOrder == 0 ? "<link rel=\"canonical\" href=\"" + v + "\" >"
                                   : "<link href=\"" + v + "\" rel=\"canonical\" >";
    const std::string attribute = key.starts_with("og:") ? "property" : "name";
    const std::string keyPart = attribute + "=\"" + std::string(key) + "\"";
    return attributeOrder == 0 ? "<meta " + keyPart + " content=\"" + v + "\" >"
                               : "<meta content=\"" + v + "\" " + keyPart + " >";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t LineStart(std::string_view text, std::size_t pos) {
    while (pos > 0 && text[pos - 1] != '\n' && text[pos - 1] != '\r') --pos;
    return pos;
}

// The length of the line break at `pos` (CR LF, CR or LF), or 0.
std::size_t BreakLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    if (text[pos] == '\r') return pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    return text[pos] == '\n' ? 1 : 0;
}

// The line break that ends the line before `lineStart`, else the text's first one.
std::string_view LineEndFor(std::string_view text, std::size_t lineStart) {
    if (lineStart > 0) {
        if (text[lineStart - 1] == '\n') return lineStart > 1 && text[lineStart - 2] == '\r' ? "\r\n" : "\n";
        return "\r";
    }
    const std::size_t first = text.find_first_of("\r\n");
    if (first == std::string_view::npos) return "\r\n";
    return text.substr(first, BreakLength(text, first));
}

std::string_view Indent(std::string_view text, std::size_t lineStart) {
    std::size_t e = lineStart;
    while (e < text.size() && IsBlank(text[e])) ++e;
    return text.substr(lineStart, e - lineStart);
}

struct Change {
    std::size_t begin, end;
    std::string with;
};

bool NeedsNewTag(const ModernHead& h, const ModernFields& was, const ModernFields& now) {
    for (int f = 0; f < kModernFieldCount; ++f)
        if (was[f] != now[f] && !now[f].empty() && h.spots[static_cast<std::size_t>(f)].count == 0) return true;
    return false;
}

}  // namespace

Refusal ModernEditRefusal(std::string_view text, const ModernFields& was, const ModernFields& now) {
    if (was == now) return Refusal::None;
    const HeadRange head = FindHead(text);
    if (!head.found) return Refusal::NoHead;
    if (!head.closed && NeedsNewTag(ReadModernHead(text), was, now)) return Refusal::NoHeadEnd;
    return Refusal::None;
}

bool ApplyModernEdits(std::string& text, const ModernFields& was, const ModernFields& now, int attributeOrder) {
    if (was == now || ModernEditRefusal(text, was, now) != Refusal::None) return false;
    const std::string_view t = text;
    const ModernHead h = ReadModernHead(t);
    const HeadRange head = FindHead(t);
    std::vector<Change> changes;
    std::string added;
    const std::size_t endLine = LineStart(t, head.end);
    bool endAlone = true;
    for (std::size_t i = endLine; i < head.end; ++i) endAlone = endAlone && IsBlank(t[i]);
    // The new lines take the indent of the line they follow.
    std::size_t previousLine = endLine;
    if (endAlone && endLine > 0) {
        std::size_t breakAt = endLine - 1;
        if (breakAt > 0 && t[breakAt] == '\n' && t[breakAt - 1] == '\r') --breakAt;
        previousLine = LineStart(t, breakAt);
    }
    const std::string_view eol = LineEndFor(t, endAlone ? endLine : LineStart(t, head.end));
    const std::string_view indent = Indent(t, previousLine);
    for (int f = 0; f < kModernFieldCount; ++f) {
        if (was[f] == now[f]) continue;
        const ModernTagSpot& spot = h.spots[static_cast<std::size_t>(f)];
        if (spot.count == 0) {
            if (!now[f].empty()) added.append(indent).append(NewTag(f, now[f], attributeOrder)).append(eol);
            continue;
        }
        if (now[f].empty()) {
            // A tag alone on its line goes with the line.
            std::size_t begin = spot.tagStart, end = spot.tagEnd;
            const std::size_t lineStart = LineStart(t, begin);
            std::size_t after = end;
            while (after < t.size() && IsBlank(t[after])) ++after;
            const std::size_t br = BreakLength(t, after);
            bool alone = br > 0;
            for (std::size_t i = lineStart; i < begin && alone; ++i) alone = IsBlank(t[i]);
            if (alone) {
                begin = lineStart;
                end = after + br;
            }
            changes.push_back({begin, end, {}});
        } else if (spot.hasValue) {
            changes.push_back({spot.valueStart - (spot.quote ? 1 : 0), spot.valueEnd + (spot.quote && spot.valueEnd < t.size() && t[spot.valueEnd] == spot.quote ? 1 : 0),
                               spot.quote ? std::string(1, spot.quote) + QuotedValue(now[f], spot.quote) + spot.quote
                                          : QuotedValue(now[f], 0)});
        } else {
            // A tag without the value attribute gets one before its end.
            std::size_t at = spot.tagEnd - 1;
            if (at > spot.tagStart && t[at - 1] == '/') --at;
            const std::string_view attribute = f == kCanonical ? " href=\"" : " content=\"";
            changes.push_back({at, at, std::string(attribute) + EscapeNameValue(now[f]) + "\""});
        }
    }
    if (!added.empty()) {
        if (endAlone) changes.push_back({endLine, endLine, std::move(added)});
        else changes.push_back({head.end, head.end, std::string(eol) + std::move(added)});
    }
    if (changes.empty()) return false;
    std::stable_sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) { return a.begin < b.begin; });
    std::string out;
    out.reserve(text.size() + 256);
    std::size_t cursor = 0;
    for (const Change& c : changes) {
        if (c.begin < cursor) continue;  // never overlaps; kept safe all the same
        out.append(t.substr(cursor, c.begin - cursor));
        out.append(c.with);
        cursor = c.end;
    }
    out.append(t.substr(cursor));
    text = std::move(out);
    return true;
}

}  // namespace veskaron
