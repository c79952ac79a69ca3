// The head tags edited in place (canonical, Open Graph, Twitter): an edit is
// refused and changes nothing, or it reads back as made, changes no other
// field (of the catalogue neither), leaves the bytes outside the head, and
// made a second time changes nothing. A save that also rewrites the block
// keeps the tags it was not asked to change, and saved again stays the same.
//
// Input: lines "Member=VALUE" (OgTitle, Canonical, ... or Title; "Order=1"
// writes new tags content first, "Placement=1" puts the block at the head's
// end, "Repeat=N" repeats the page's text between the first two "@@" N times),
// then a line "--", then the page's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/catalogue.h"
#include "engine/head_scanner.h"
#include "engine/modern_head.h"
#include "fuzz/fuzz_common.h"

using namespace veskaron;

namespace {

struct Input {
    std::vector<std::pair<int, std::string>> edits;  // field (kModernFieldCount: the title) and value
    int order = 0, placement = 0;
    std::string page;
};

Input Parse(std::string_view data) {
    Input in;
    const std::size_t cut = data.find("\n--\n");
    std::string_view head = cut == std::string_view::npos ? std::string_view() : data.substr(0, cut);
    in.page = std::string(cut == std::string_view::npos ? data : data.substr(cut + 4));
    std::size_t repeat = 0;
    while (!head.empty()) {
        const std::size_t eol = head.find('\n');
        const std::string_view line = head.substr(0, eol);
        head = eol == std::string_view::npos ? std::string_view() : head.substr(eol + 1);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, eq);
        // A line break in a value would be turned by the page's line ends on save.
        std::string value(line.substr(eq + 1));
        std::erase(value, '\r');
        if (name == "Order") in.order = value == "1";
        else if (name == "Placement") in.placement = value == "1";
        else if (name == "Repeat") repeat = std::min<std::size_t>(std::strtoul(std::string(value).c_str(), nullptr, 10), 1u << 22);
        else if (name == "Title") in.edits.emplace_back(kModernFieldCount, value);
        else if (const int f = ModernFieldByName(name); f >= 0) in.edits.emplace_back(f, value);
        else if (!name.empty()) in.edits.emplace_back(static_cast<unsigned char>(name[0]) % kModernFieldCount, value);
    }
    // A long value out of a short input: what a quadratic pass would choke on.
    const std::size_t open = in.page.find("@@");
    const std::size_t close = open == std::string::npos ? std::string::npos : in.page.find("@@", open + 2);
    if (repeat > 0 && close != std::string::npos) {
        const std::string piece = in.page.substr(open + 2, close - open - 2);
        std::string body;
        for (std::size_t i = 0; i < repeat && body.size() + piece.size() <= (2u << 20); ++i) body += piece;
        in.page.replace(open, close + 2 - open, body);
    }
    return in;
}

// What a load reads of the catalogue.
std::vector<std::string> CatalogueReading(std::string_view text) {
    HeadScanner scanner;
    scanner.Scan(text);
    std::vector<std::string> values;
    for (const CatalogueEntry& entry : Catalogue()) {
        if (entry.kind == EntryKind::Title) values.push_back(FindTitle(text));
        else if (entry.kind == EntryKind::Name) values.push_back(scanner.NameContent(entry.key));
        else values.push_back(scanner.HttpEquivContent(entry.key));
    }
    return values;
}

std::string Joined(const ModernFields& f) {
    std::string s;
    for (int i = 0; i < kModernFieldCount; ++i) s.append(ModernFieldName(i)).append("=").append(f[i]).append("\n");
    return s;
}

bool SameHreflang(const ModernHead& a, const ModernHead& b) {
    if (a.hreflang.size() != b.hreflang.size()) return false;
    for (std::size_t i = 0; i < a.hreflang.size(); ++i)
        if (a.hreflang[i].lang != b.hreflang[i].lang || a.hreflang[i].href != b.hreflang[i].href) return false;
    return true;
}

// The in-place edits on the text alone.
void CheckInPlace(const std::string& text, const ModernFields& now, int order) {
    const ModernHead before = ReadModernHead(text);
    const ModernFields& was = before.fields;
    const Refusal refusal = ModernEditRefusal(text, was, now);
    std::string edited = text;
    const bool changed = ApplyModernEdits(edited, was, now, static_cast<AttributeOrder>(order));
    if (refusal != Refusal::None) {
        fuzz::Expect(!changed, "a refused edit changed the page");
        fuzz::ExpectEqual(text, edited, "a refused edit changed the page");
        return;
    }
    if (!changed) {
        // Nothing to change: every edited field reads as asked already.
        for (int f = 0; f < kModernFieldCount; ++f)
            if (was[f] != now[f]) fuzz::Fail("an edit that was not refused was not made", Joined(now), Joined(was));
        return;
    }
    const ModernHead after = ReadModernHead(edited);
    ModernFields expected = before.fields;
    for (int f = 0; f < kModernFieldCount; ++f)
        if (was[f] != now[f]) expected[f] = now[f];
    if (after.fields != expected) fuzz::Fail("an edit does not read back as made", Joined(expected), Joined(after.fields));
    fuzz::Expect(SameHreflang(before, after), "an edit changed the language alternates");
    fuzz::Expect(CatalogueReading(text) == CatalogueReading(edited), "an edit changed a catalogued field");
    const HeadRange head = FindHead(text);
    fuzz::ExpectEqual(text.substr(0, head.begin), edited.substr(0, head.begin), "an edit changed bytes before the head");
    const std::size_t tail = text.size() - head.end;
    fuzz::ExpectEqual(text.substr(head.end), edited.substr(edited.size() - tail), "an edit changed bytes after the head");
    std::string again = edited;
    fuzz::Expect(!ApplyModernEdits(again, after.fields, now, static_cast<AttributeOrder>(order)), "the same edit made twice changed the page");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in = Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    Document doc = fuzz::LoadBytes(std::move(in.page));
    ModernFields now = doc.modern;
    std::string title;
    bool titled = false;
    for (const auto& [field, value] : in.edits) {
        if (field == kModernFieldCount) {
            title = value;
            titled = true;
        } else {
            now[field] = value;
        }
    }
    CheckInPlace(doc.page.text, now, in.order);

    // A save: the block when the title changes, then the tags in place.
    const ModernFields was = doc.modern;
    doc.modern = now;
    if (titled) doc.fields.Title = title;
    doc.Update();
    SaveOptions options;
    options.writer.placement = static_cast<Placement>(in.placement);
    options.writer.attributeOrder = static_cast<AttributeOrder>(in.order);
    const SaveBytes first = BytesForSave(doc, options);
    if (!first.refusal.empty() || first.references > 0) return 0;
    const Document saved = fuzz::LoadBytes(first.bytes);
    if (saved.encoding.name != doc.encoding.name) return 0;  // read in another charset: nothing to compare
    ModernFields expected = was;
    for (int f = 0; f < kModernFieldCount; ++f)
        if (was[f] != now[f]) expected[f] = now[f];
    if (saved.modern != expected) fuzz::Fail("a save does not keep the head tags as made", Joined(expected), Joined(saved.modern));
    if (titled) fuzz::ExpectEqual(EscapeTitle(title), saved.fields.Title, "a saved title reads back otherwise");
    const SaveBytes second = BytesForSave(saved, options);
    fuzz::Expect(second.refusal.empty(), "the saved page is refused");
    fuzz::ExpectEqual(first.bytes, second.bytes, "a second save without edits changed the page");
    return 0;
}
