#include "engine/modern_head.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "engine/catalogue.h"
#include "engine/head_scanner.h"

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

constexpr std::size_t npos = std::string_view::npos;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The references a value is read with: the writer's ("&copy;" reads as "(c)")
// and the apostrophe that a single-quoted value needs.
struct Reference {
    std::string_view name, text;  // the name after '&', and what it reads as
};
constexpr Reference kReferences[] = {{"lt;", "<"},    {"gt;", ">"},   {"copy;", "(c)"}, {"quot;", "\""},
                                     {"amp;", "&"},   {"#39;", "'"}, {"apos;", "'"}};

const Reference* ReferenceAt(std::string_view afterAmpersand) {
    for (const Reference& r : kReferences)
        if (afterAmpersand.starts_with(r.name)) return &r;
    return nullptr;
}

// One pass, left to right: "&amp;lt;" reads as "&lt;".
std::string DecodeValue(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    std::size_t pos = 0;
    for (std::size_t amp = raw.find('&'); amp != npos; amp = raw.find('&', pos)) {
        out.append(raw.substr(pos, amp - pos));
        pos = amp + 1;
        if (const Reference* r = ReferenceAt(raw.substr(pos))) {
            out.append(r->text);
            pos += r->name.size();
        } else {
            out += '&';
        }
    }
    out.append(raw.substr(pos));
    return out;
}

// The value as it must stand between `quote`s ('"', '\'', or 0 for none) to
// read back as typed: an ampersand is escaped only where it would start a
// reference that the reading turns back, so "&nbsp;" and the codec's "&#8364;"
// stay as they are.
std::string EscapeValue(std::string_view value, char quote) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
            case '"': out += "&quot;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '\'': out += quote == '\'' ? "&#39;" : "'"; break;
            case '&': out += ReferenceAt(value.substr(i + 1)) ? "&amp;" : "&"; break;
            default: out += c;
        }
    }
    return out;
}

struct Attribute {
    std::string_view name;      // as written
    std::size_t start = 0;      // the name's first character
    std::size_t end = 0;        // just after the name, or after the value and its closing quote
    bool hasValue = false;      // an '=' follows the name
    std::size_t valueStart = 0, valueEnd = 0;  // in the text, without quotes
    char quote = 0;
};

struct Tag {
    std::size_t start = 0, nameEnd = 0, end = 0;  // '<', just after the name, just after '>'
    std::vector<Attribute> attributes;
    const Attribute* Find(std::string_view lowerName) const {
        for (const Attribute& a : attributes)
            if (EqualsNoCase(a.name, lowerName)) return &a;
        return nullptr;
    }
};

// Reads the attributes of a tag from `i` (just after its name) as HTML does:
// a quoted value runs to its closing quote, '>' included; an unquoted one to a
// blank or '>'; "x=" right before '>' has an empty value; a name without '='
// has none. Returns the position just after the tag's '>', or npos when
// `limit` comes first (the tag is left open).
std::size_t ParseAttributes(std::string_view text, std::size_t i, std::size_t limit, Tag& tag) {
    const std::string_view in = text.substr(0, limit);
    while (true) {
        while (i < limit && (IsTagSpace(in[i]) || in[i] == '/')) ++i;
        if (i >= limit) return npos;
        if (in[i] == '>') return i + 1;
        Attribute a;
        a.start = i++;  // the first character belongs to the name, even an '='
        while (i < limit && !IsTagSpace(in[i]) && in[i] != '/' && in[i] != '>' && in[i] != '=') ++i;
        a.name = in.substr(a.start, i - a.start);
        a.end = i;
        std::size_t j = i;
        while (j < limit && IsTagSpace(in[j])) ++j;
        if (j < limit && in[j] == '=') {
            ++j;
            while (j < limit && IsTagSpace(in[j])) ++j;
            if (j >= limit) return npos;
            a.hasValue = true;
            if (in[j] == '"' || in[j] == '\'') {
                a.quote = in[j];
                a.valueStart = j + 1;
                const std::size_t close = in.find(a.quote, a.valueStart);
                if (close == npos) return npos;
                a.valueEnd = close;
                i = close + 1;
            } else {
                a.valueStart = j;
                while (j < limit && !IsTagSpace(in[j]) && in[j] != '>') ++j;
                a.valueEnd = j;
                i = j;
            }
            a.end = i;
        } else {
            i = j;
        }
        tag.attributes.push_back(a);
    }
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

// What goes when a tag drops an attribute: the attribute with the blanks
// before it, or without them when the next attribute follows it with none
// ("name="a"content=x"), which would join the tag's name otherwise.
std::pair<std::size_t, std::size_t> WithBlanksBefore(std::string_view text, const Attribute& a) {
    std::size_t from = a.start;
    const bool ends = a.end >= text.size() || IsTagSpace(text[a.end]) || text[a.end] == '>' || text[a.end] == '/';
    while (ends && from > 0 && IsTagSpace(text[from - 1])) --from;
    return {from, a.end};
}

// One tag's hold on a field, and what an edit needs of it.
struct Use {
    std::size_t tag = 0;  // in HeadWalk::tags
    bool hasAttribute = false;  // the content= (href=) attribute is there
    Attribute value;
    std::size_t addAt = 0;  // where a missing content= (href=) goes
    std::size_t keyStart = 0, keyEnd = 0;  // what names the field: it goes when a shared tag lets the field go
};

struct TagRoles {
    std::size_t start = 0, end = 0;
    int roles = 0;  // the names the tag answers to: name, property, itemprop, http-equiv, rel words
};

// What one pass over the head found, for reading and for editing.
struct HeadWalk {
    HeadRange head;
    ModernHead read;
    std::vector<TagRoles> tags;
    std::array<std::vector<Use>, kModernFieldCount> uses;
    enum class Stop { None, Text, OpenTag, OpenTitle } stop = Stop::None;
    std::size_t stopAt = npos;  // the '<' of what the head's end leaves open
    // Where added tags go: before </head>, or before text that runs into it.
    std::size_t InsertAt() const { return stop == Stop::Text ? stopAt : head.end; }
};

void NoteUse(HeadWalk& w, int field, const Tag& tag, const Attribute* value, std::pair<std::size_t, std::size_t> key,
             std::string_view text) {
    Use use;
    use.tag = w.tags.size() - 1;
    use.keyStart = key.first;
    use.keyEnd = key.second;
    if (value) {
        use.hasAttribute = true;
        use.value = *value;
    }
    // A missing value goes before the tag's end ("/>" included), unless the
    // last attribute waits for its value there ("x=>"): then after the name.
    use.addAt = tag.end - 1;
    const Attribute* last = tag.attributes.empty() ? nullptr : &tag.attributes.back();
    if (use.addAt > tag.nameEnd && text[use.addAt - 1] == '/' && !(last && last->end == use.addAt)) --use.addAt;
    if (last && last->hasValue && !last->quote && last->valueStart == last->valueEnd) use.addAt = tag.nameEnd;
    w.uses[static_cast<std::size_t>(field)].push_back(use);

    ModernTagSpot& spot = w.read.spots[static_cast<std::size_t>(field)];
    if (spot.count++ > 0) return;
    spot.tagStart = tag.start;
    spot.tagEnd = tag.end;
    if (value && value->hasValue) {
        spot.hasValue = true;
        spot.valueStart = value->valueStart;
        spot.valueEnd = value->valueEnd;
        spot.quote = value->quote;
        w.read.fields[field] = DecodeValue(ValueOf(text, value));
    }
}

// The field a META key names, or -1; the viewport only by name.
int FieldOfKey(std::string_view lowerKey, bool byName) {
    if (lowerKey.empty()) return -1;
    const char c = lowerKey.front();
    if (c != 'o' && c != 't' && c != 'v') return -1;
    for (int f = byName ? kViewport : kOgTitle; f < kModernFieldCount; ++f)
        if (kKeys[static_cast<std::size_t>(f)] == lowerKey) return f;
    return -1;
}

void ReadMeta(HeadWalk& w, const Tag& tag, std::string_view text) {
    const Attribute* name = tag.Find("name");
    const Attribute* property = tag.Find("property");
    const std::string byName = Lower(TrimBlanks(ValueOf(text, name)));
    const std::string byProperty = Lower(TrimBlanks(ValueOf(text, property)));
    if (byName == "description") ++w.read.descriptionTags;
    const int fieldByName = FieldOfKey(byName, true);
    const int fieldByProperty = FieldOfKey(byProperty, false);
    if (fieldByName >= 0 && kKeys[static_cast<std::size_t>(fieldByName)].starts_with("og:") && byProperty != byName)
        w.read.ogByName.push_back(byName);
    else if (fieldByName < 0 && byName.starts_with("og:") && byProperty.empty())
        w.read.ogByName.push_back(byName);
    if (fieldByName < 0 && fieldByProperty < 0) return;
    int roles = (!byName.empty()) + (!byProperty.empty() && byProperty != byName);
    for (std::string_view other : {std::string_view("itemprop"), std::string_view("http-equiv")})
        roles += !TrimBlanks(ValueOf(text, tag.Find(other))).empty();
    w.tags.push_back({tag.start, tag.end, roles});
    const Attribute* content = tag.Find("content");
    if (fieldByName >= 0) NoteUse(w, fieldByName, tag, content, WithBlanksBefore(text, *name), text);
    if (fieldByProperty >= 0 && fieldByProperty != fieldByName)
        NoteUse(w, fieldByProperty, tag, content, WithBlanksBefore(text, *property), text);
}

void ReadLink(HeadWalk& w, const Tag& tag, std::string_view text) {
    const Attribute* rel = tag.Find("rel");
    const std::string_view relValue = ValueOf(text, rel);
    const Attribute* href = tag.Find("href");
    if (HasWord(relValue, "canonical")) {
        const ModernTagSpot& spot = w.read.spots[kCanonical];
        if (spot.count > 0 && DecodeValue(TrimBlanks(ValueOf(text, href))) != TrimBlanks(w.read.fields[kCanonical]))
            w.read.canonicalsDiffer = true;
        // The words of rel; a shared link loses the word "canonical" with a blank beside it.
        int roles = 0;
        std::pair<std::size_t, std::size_t> key{rel->start, rel->end};
        std::size_t wordsEnd = 0;  // the end of the word before
        bool taken = false, joinNext = false;
        for (std::size_t i = 0; i < relValue.size();) {
            while (i < relValue.size() && IsTagSpace(relValue[i])) ++i;
            if (i >= relValue.size()) break;
            std::size_t e = i;
            while (e < relValue.size() && !IsTagSpace(relValue[e])) ++e;
            ++roles;
            if (joinNext) {
                key.second = rel->valueStart + i;
                joinNext = false;
            }
            if (!taken && EqualsNoCase(relValue.substr(i, e - i), "canonical")) {
                taken = true;
                key = {rel->valueStart + (roles > 1 ? wordsEnd : i), rel->valueStart + e};
                joinNext = roles == 1;
            }
            wordsEnd = e;
            i = e;
        }
        w.tags.push_back({tag.start, tag.end, roles});
        NoteUse(w, kCanonical, tag, href, key, text);
    }
    const Attribute* lang = tag.Find("hreflang");
    if (lang && HasWord(relValue, "alternate"))
        w.read.hreflang.push_back({DecodeValue(ValueOf(text, lang)), DecodeValue(TrimBlanks(ValueOf(text, href)))});
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
    } catch (const nlohmann::json::parse_error& e) {
        block.error = e.what();
        // `byte` counts from 1 and stands one past the end when the text ran out.
        const std::size_t at = std::min<std::size_t>(e.byte == 0 ? 0 : e.byte - 1, body.size());
        block.errorAtEnd = e.byte > body.size();
        const std::string_view before = body.substr(0, at);
        const std::size_t lastBreak = before.rfind('\n');
        block.errorLine = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
        block.errorColumn = 1 + (lastBreak == std::string_view::npos ? at : at - lastBreak - 1);
    } catch (const nlohmann::json::exception& e) {
        block.error = e.what();
    }
    return block;
}


// The '<' of the first end tag `lowerName` ("</script") at or after `from`
// whose name ends there (a blank, '/' or '>' follows), or npos.
std::size_t EndTagFrom(std::string_view in, std::string_view lowerName, std::size_t from) {
    for (std::size_t at = FindNoCase(in, lowerName, from); at != npos; at = FindNoCase(in, lowerName, at + 1)) {
        const std::size_t after = at + lowerName.size();
        if (after >= in.size() || in[after] == '>' || in[after] == '/' || IsTagSpace(in[after])) return at;
    }
    return npos;
}

// The <html lang> before the head (or anywhere, in a page without one).
void ReadHtmlLang(std::string_view text, const HeadRange& head, ModernHead& h) {
    const std::string_view before = text.substr(0, head.found ? head.startTag : text.size());
    for (std::size_t at = FindNoCase(before, "<html"); at != npos; at = FindNoCase(before, "<html", at + 5)) {
        if (at + 5 < text.size() && !IsTagSpace(text[at + 5]) && text[at + 5] != '>' && text[at + 5] != '/') continue;
        Tag tag;
        if (ParseAttributes(text, at + 5, text.size(), tag) == npos) break;
        if (const Attribute* lang = tag.Find("lang"); lang && lang->hasValue) {
            h.hasHtmlLang = true;
            h.htmlLang = DecodeValue(ValueOf(text, lang));
        }
        break;
    }
}

// One pass over the head, tag by tag, as HTML reads it.
HeadWalk WalkHead(std::string_view text, const TextCodec* codec) {
    HeadWalk w;
    w.head = FindHead(text);
    ReadHtmlLang(text, w.head, w.read);
    if (!w.head.found) return w;
    const std::string_view in = text.substr(0, w.head.end);
    auto stop = [&w](HeadWalk::Stop why, std::size_t at) {
        w.stop = why;
        w.stopAt = at;
        w.read.stopsOpen = why == HeadWalk::Stop::OpenTag || why == HeadWalk::Stop::OpenTitle;
    };
    Tag tag;  // one for all, so that its attributes are allocated once
    for (std::size_t pos = w.head.begin;;) {
        const std::size_t lt = in.find('<', pos);
        if (lt == npos || lt + 1 >= in.size()) break;
        const std::string_view rest = in.substr(lt);
        if (rest.starts_with("<!--")) {
            // "<!-->" and "<!--->" are whole (empty) comments.
            std::size_t end = rest.substr(4, 1) == ">" ? lt + 5 : rest.substr(4, 2) == "->" ? lt + 6 : npos;
            if (end == npos) {
                const std::size_t close = in.find("-->", lt + 4);
                end = close == npos ? npos : close + 3;
            }
            if (end == npos) {
                stop(HeadWalk::Stop::Text, lt);
                break;
            }
            pos = end;
            continue;
        }
        const bool endTag = rest[1] == '/';
        const std::size_t nameStart = lt + (endTag ? 2 : 1);
        if (nameStart >= in.size() || !IsAsciiLetter(in[nameStart])) {
            if (rest[1] == '!' || rest[1] == '?' || endTag) {
                // "<!DOCTYPE", "<?xml", "</ x>": up to the first '>'.
                const std::size_t gt = in.find('>', lt + 2);
                if (gt == npos) {
                    stop(HeadWalk::Stop::Text, lt);
                    break;
                }
                pos = gt + 1;
            } else {
                pos = lt + 1;  // a '<' of the text
            }
            continue;
        }
        std::size_t nameEnd = nameStart;
        while (nameEnd < in.size() && !IsTagSpace(in[nameEnd]) && in[nameEnd] != '/' && in[nameEnd] != '>') ++nameEnd;
        tag.attributes.clear();
        tag.start = lt;
        tag.nameEnd = nameEnd;
        tag.end = ParseAttributes(in, nameEnd, in.size(), tag);
        if (tag.end == npos) {
            stop(HeadWalk::Stop::OpenTag, lt);
            break;
        }
        pos = tag.end;
        if (endTag) continue;
        const std::string_view name = in.substr(nameStart, nameEnd - nameStart);
        if (EqualsNoCase(name, "meta")) {
            ReadMeta(w, tag, in);
        } else if (EqualsNoCase(name, "link")) {
            ReadLink(w, tag, in);
        } else if (EqualsNoCase(name, "title") || EqualsNoCase(name, "script") || EqualsNoCase(name, "style")) {
            // Their text runs to their own end tag: markup in it is text.
            const bool title = EqualsNoCase(name, "title"), script = EqualsNoCase(name, "script");
            const std::size_t close = EndTagFrom(in, title ? "</title" : script ? "</script" : "</style", pos);
            if (close == npos) {
                stop(title ? HeadWalk::Stop::OpenTitle : HeadWalk::Stop::Text, lt);
                break;
            }
            if (title) ++w.read.titleTags;
            if (script && codec && EqualsNoCase(TrimBlanks(ValueOf(in, tag.Find("type"))), "application/ld+json"))
                w.read.jsonLd.push_back(ReadJsonLd(codec->ToUtf8(in.substr(pos, close - pos))));
            pos = close;  // the end tag is read next, as a tag
        }
    }
    return w;
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
    return WalkHead(text, codec).read;
}

namespace {

// The value as the attribute's quotes can hold it; an unquoted value that
// needs quotes gets double ones.
std::string QuotedValue(std::string_view value, char quote) {
    if (quote) return EscapeValue(value, quote);
    const std::string escaped = EscapeValue(value, '"');
    const bool bare = !escaped.empty() && escaped.find_first_of(" \t\r\n\f'\"=`<>") == std::string::npos;
    return bare ? escaped : "\"" + escaped + "\"";
}

std::string NewTag(int field, std::string_view value, AttributeOrder attributeOrder) {
    const std::string v = EscapeValue(value, '"');
    const std::string_view key = kKeys[static_cast<std::size_t>(field)];
    if (field == kCanonical)
        return attributeOrder == AttributeOrder::KeyFirst ? "<link rel=\"canonical\" href=\"" + v + "\" >"
                                   : "<link href=\"" + v + "\" rel=\"canonical\" >";
    const std::string attribute = key.starts_with("og:") ? "property" : "name";
    const std::string keyPart = attribute + "=\"" + std::string(key) + "\"";
    return attributeOrder == AttributeOrder::KeyFirst ? "<meta " + keyPart + " content=\"" + v + "\" >"
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

// A tag as a whole; a tag alone on its line goes with the line.
Change TagRemoval(std::string_view t, std::size_t begin, std::size_t end) {
    const std::size_t lineStart = LineStart(t, begin);
    std::size_t after = end;
    while (after < t.size() && IsBlank(t[after])) ++after;
    const std::size_t br = BreakLength(t, after);
    bool alone = br > 0;
    for (std::size_t i = lineStart; i < begin && alone; ++i) alone = IsBlank(t[i]);
    return alone ? Change{lineStart, after + br, {}} : Change{begin, end, {}};
}

// The new value in the tag's own value attribute.
Change ValueChange(const Use& use, int field, std::string_view value) {
    const Attribute& a = use.value;
    if (use.hasAttribute && a.hasValue) return {a.valueStart, a.valueEnd, QuotedValue(value, a.quote)};
    const std::string v = "=\"" + EscapeValue(value, '"') + "\"";
    // "href" without a value: HTML takes the first of two, so it gets the value.
    if (use.hasAttribute) return {a.start, a.end, std::string(a.name) + v};
    return {use.addAt, use.addAt, std::string(field == kCanonical ? " href" : " content") + v};
}

// What the edits do to one tag.
struct TagEdit {
    bool touched = false, removeWhole = false;
    int rolesRemoved = 0;
    std::vector<Change> parts;
    std::string after;  // tags that take over a field the tag lets go
};

bool SameHreflang(const std::vector<HreflangLink>& a, const std::vector<HreflangLink>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].lang != b[i].lang || a[i].href != b[i].href) return false;
    return true;
}

// Whether `edited` reads as `text` but for the edited fields, which read as `now` has them.
bool ReadsAsMade(std::string_view text, const HeadWalk& before, std::string_view edited, const ModernFields& was,
                 const ModernFields& now) {
    const HeadWalk after = WalkHead(edited, nullptr);
    if (after.stop == HeadWalk::Stop::OpenTag || after.stop == HeadWalk::Stop::OpenTitle) return false;
    for (int f = 0; f < kModernFieldCount; ++f)
        if (after.read.fields[f] != (was[f] != now[f] ? now[f] : before.read.fields[f])) return false;
    return SameHreflang(before.read.hreflang, after.read.hreflang) && CatalogueReading(text) == CatalogueReading(edited);
}

// The edited text, or the reason why there is none. `edited` stays empty
// when nothing is to change.
Refusal PlanEdits(std::string_view t, const ModernFields& was, const ModernFields& now, AttributeOrder attributeOrder,
                  std::string& edited) {
    edited.clear();
    if (was == now) return Refusal::None;
    const HeadWalk w = WalkHead(t, nullptr);
    if (!w.head.found) return Refusal::NoHead;
    if (w.stop == HeadWalk::Stop::OpenTag) return Refusal::UnclosedTag;
    if (w.stop == HeadWalk::Stop::OpenTitle) return Refusal::UnclosedTitle;

    std::vector<TagEdit> tagEdits(w.tags.size());
    std::string added;
    const std::size_t insertAt = w.InsertAt();
    const std::size_t endLine = LineStart(t, insertAt);
    bool endAlone = true;
    for (std::size_t i = endLine; i < insertAt; ++i) endAlone = endAlone && IsBlank(t[i]);
    // The new lines take the indent of the line they follow.
    std::size_t previousLine = endLine;
    if (endAlone && endLine > 0) {
        std::size_t breakAt = endLine - 1;
        if (breakAt > 0 && t[breakAt] == '\n' && t[breakAt - 1] == '\r') --breakAt;
        previousLine = LineStart(t, breakAt);
    }
    const std::string_view eol = LineEndFor(t, endAlone ? endLine : LineStart(t, insertAt));
    const std::string_view indent = Indent(t, previousLine);
    for (int f = 0; f < kModernFieldCount; ++f) {
        if (was[f] == now[f]) continue;
        const std::vector<Use>& uses = w.uses[static_cast<std::size_t>(f)];
        if (uses.empty()) {
            if (!now[f].empty()) added.append(indent).append(NewTag(f, now[f], attributeOrder)).append(eol);
            continue;
        }
        // An emptied field lets every tag of it go, so that no repeat is read in its place.
        for (const Use& use : uses) {
            TagEdit& e = tagEdits[use.tag];
            e.touched = true;
            if (w.tags[use.tag].roles > 1) {
                e.parts.push_back({use.keyStart, use.keyEnd, {}});
                ++e.rolesRemoved;
                if (!now[f].empty()) e.after += NewTag(f, now[f], attributeOrder);
            } else if (now[f].empty()) {
                e.removeWhole = true;
            } else {
                e.parts.push_back(ValueChange(use, f, now[f]));
            }
            if (!now[f].empty()) break;  // a new value goes to the first tag only
        }
    }
    if (!added.empty() && !w.head.closed) return Refusal::NoHeadEnd;

    std::vector<Change> changes;
    for (std::size_t i = 0; i < tagEdits.size(); ++i) {
        TagEdit& e = tagEdits[i];
        if (!e.touched) continue;
        const TagRoles& tag = w.tags[i];
        if (e.removeWhole || e.rolesRemoved >= tag.roles) {
            changes.push_back(e.after.empty() ? TagRemoval(t, tag.start, tag.end) : Change{tag.start, tag.end, e.after});
            continue;
        }
        for (Change& c : e.parts) changes.push_back(std::move(c));
        if (!e.after.empty()) {
            // On a line of its own when the tag ends its line.
            std::size_t next = tag.end;
            while (next < t.size() && IsBlank(t[next])) ++next;
            const std::size_t br = BreakLength(t, next);
            std::string with = br > 0 ? std::string(t.substr(next, br)) + std::string(Indent(t, LineStart(t, tag.start))) + e.after
                                      : e.after;
            changes.push_back({tag.end, tag.end, std::move(with)});
        }
    }
    if (!added.empty()) {
        if (endAlone) changes.push_back({endLine, endLine, std::move(added)});
        else changes.push_back({insertAt, insertAt, std::string(eol) + std::move(added)});
    }
    std::stable_sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) { return a.begin < b.begin; });
    edited.reserve(t.size() + 256);
    std::size_t cursor = 0;
    for (const Change& c : changes) {
        if (c.begin < cursor) {  // never overlaps; refused rather than guessed
            edited.clear();
            return Refusal::UnreadableEdit;
        }
        edited.append(t.substr(cursor, c.begin - cursor));
        edited.append(c.with);
        cursor = c.end;
    }
    edited.append(t.substr(cursor));
    if (!ReadsAsMade(t, w, edited, was, now)) {
        edited.clear();
        return Refusal::UnreadableEdit;
    }
    return Refusal::None;
}

}  // namespace

Refusal ModernEditRefusal(std::string_view text, const ModernFields& was, const ModernFields& now) {
    std::string edited;
    return PlanEdits(text, was, now, AttributeOrder::KeyFirst, edited);
}

bool ApplyModernEdits(std::string& text, const ModernFields& was, const ModernFields& now, AttributeOrder attributeOrder) {
    std::string edited;
    if (PlanEdits(text, was, now, attributeOrder, edited) != Refusal::None || edited.empty() || edited == text)
        return false;
    text = std::move(edited);
    return true;
}

std::string TagKeptWithoutName(std::string_view tag) {
    // A tag that runs into a title ("<meta name=x<title>") goes whole: the
    // title's start must not outlive it.
    if (tag.size() < 6 || tag.front() != '<' || FindNoCase(tag, "<title", 1) != npos) return {};
    std::size_t nameEnd = 1;
    while (nameEnd < tag.size() && !IsTagSpace(tag[nameEnd]) && tag[nameEnd] != '/' && tag[nameEnd] != '>') ++nameEnd;
    Tag parsed;
    if (ParseAttributes(tag, nameEnd, tag.size(), parsed) != tag.size()) return {};
    bool kept = false;
    for (std::string_view other : {std::string_view("property"), std::string_view("itemprop")})
        kept = kept || !TrimBlanks(ValueOf(tag, parsed.Find(other))).empty();
    if (!kept) return {};
    // Every attribute the catalogue reads a tag by goes ("name", "data-name",
    // "http-equiv", repeated or not), so that the rest is no catalogued tag.
    std::string out;
    std::size_t copied = 0;
    for (const Attribute& a : parsed.attributes) {
        const std::string name = Lower(a.name);
        if (!name.ends_with("name") && !name.ends_with("http-equiv")) continue;
        const auto [from, to] = WithBlanksBefore(tag, a);
        if (from < copied) continue;
        out.append(tag.substr(copied, from - copied));
        copied = to;
    }
    out.append(tag.substr(copied));
    return out;
}

bool KeepsHeadTags(const ModernHead& before, std::string_view text) {
    const HeadWalk after = WalkHead(text, nullptr);
    const bool open = after.stop == HeadWalk::Stop::OpenTag || after.stop == HeadWalk::Stop::OpenTitle;
    // As many tags of each field: a field read empty may still have its tag.
    for (std::size_t f = 0; f < kModernFieldCount; ++f)
        if (after.read.spots[f].count != before.spots[f].count) return false;
    return after.read.fields == before.fields && SameHreflang(before.hreflang, after.read.hreflang) &&
           (!open || before.stopsOpen);
}

std::size_t LeftOpenBeforeHeadEnd(std::string_view text) {
    return WalkHead(text, nullptr).stopAt;
}

}  // namespace veskaron
