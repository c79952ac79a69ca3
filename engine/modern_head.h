#pragma once
// The head tags that pages carry beside the catalogue: the canonical address,
// the viewport, Open Graph and Twitter card tags (read and edited in place),
// the language alternates, the structured data blocks and the <html> language
// (read only). The META block writer never touches them; an edit changes only
// the bytes of the one value it edits.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/block_layout.h"
#include "engine/refusal.h"
#include "engine/text_codec.h"

namespace veskaron {

enum ModernField : int {
    kCanonical,
    kViewport,
    kOgTitle,
    kOgDescription,
    kOgType,
    kOgUrl,
    kOgImage,
    kOgSiteName,
    kOgLocale,
    kTwitterCard,
    kTwitterTitle,
    kTwitterDescription,
    kTwitterImage,
    kTwitterSite,
};
inline constexpr int kModernFieldCount = 14;

// "Canonical", "OgTitle", ...: the member names of the command line's JSON.
std::string_view ModernFieldName(int field);
// "canonical", "viewport", "og:title", "twitter:card", ...
std::string_view ModernFieldKey(int field);
// The field of a member name, or -1.
int ModernFieldByName(std::string_view name);

// The editable values, in the document's text kind, entity references decoded.
// A field without its tag holds the empty text.
struct ModernFields {
    std::array<std::string, kModernFieldCount> values;
    std::string& operator[](int field) { return values[static_cast<std::size_t>(field)]; }
    const std::string& operator[](int field) const { return values[static_cast<std::size_t>(field)]; }
    friend bool operator==(const ModernFields&, const ModernFields&) = default;
};

struct HreflangLink {
    std::string lang, href;
};

// Texts in UTF-8.
struct JsonLdBlock {
    bool valid = false;
    bool hasType = false;
    std::string type;   // "@type" of the top object (the first of a list)
    std::string error;  // the parser's message when not valid
    // Where the parser stopped in the block's text (from 1), and whether the
    // text ended before the data did.
    std::size_t errorLine = 0, errorColumn = 0;
    bool errorAtEnd = false;
};

// Where a page's tag for one field stands.
struct ModernTagSpot {
    std::size_t count = 0;  // tags for the field in the head
    std::size_t tagStart = 0, tagEnd = 0;
    bool hasValue = false;  // the first tag has a content= (href=) attribute
    std::size_t valueStart = 0, valueEnd = 0;  // the value, without its quotes
    char quote = 0;                            // '"', '\'' or 0
};

struct ModernHead {
    ModernFields fields;
    std::array<ModernTagSpot, kModernFieldCount> spots{};
    std::vector<HreflangLink> hreflang;
    std::vector<JsonLdBlock> jsonLd;
    bool hasHtmlLang = false;
    std::string htmlLang;
    // For the audit.
    std::size_t titleTags = 0;
    std::size_t descriptionTags = 0;
    bool canonicalsDiffer = false;               // several canonical links name other addresses
    std::vector<std::string> ogByName;           // og: keys written with name= instead of property=
    bool stopsOpen = false;  // a tag or title that the head's end leaves open stopped the reading
};

// One pass over the head (and the text before it for <html lang>), taking
// the head as HTML does: markup in a comment, a script, a style or the title's
// text is text, and a tag ends at the first '>' outside its quoted values.
// Reading stops at a tag or a title that the head's end leaves open, and at a
// comment, script or style that it leaves open. The structured data blocks are
// parsed only with the codec of the text, which turns them into UTF-8 first.
ModernHead ReadModernHead(std::string_view text, const TextCodec* codec = nullptr);

// Why edits from `was` to `now` cannot be made in `text`; Refusal::None when
// they can. A tag or a title that the head's end leaves open refuses every
// edit (a tag added or changed there would not read back); a tag to add needs
// a </head>; and an edit that would not read back as made, or would change
// another field (of the catalogue too), is refused as a whole.
Refusal ModernEditRefusal(std::string_view text, const ModernFields& was, const ModernFields& now);

// Makes the fields that differ between `was` and `now` hold `now` in `text`:
// the first tag's value is replaced, keeping its quotes; a missing tag gets a
// line of its own before </head> (before a comment, script or style that the
// head's end leaves open); an empty value removes every tag of the field (and
// its line when it stands alone on it). A tag that also names another field
// ("description" and "og:description", "canonical alternate") keeps that
// name and loses only the edited one: a new value goes into a tag of its own
// right after it. `attributeOrder` 0 writes the key attribute first in new
// tags, any other value the content first. Returns whether the text changed;
// nothing changes when ModernEditRefusal says no.
bool ApplyModernEdits(std::string& text, const ModernFields& was, const ModernFields& now, AttributeOrder attributeOrder);

// For the block writer, which takes out a catalogued META tag: the tag (from
// '<' to '>') without the attributes the catalogue reads it by (name,
// http-equiv) when it also carries a property or an itemprop that other
// readers take, so that those outlive the block; empty when it carries none.
std::string TagKeptWithoutName(std::string_view tag);

// Whether `text` reads the head tags as `before` has them (as many tags of
// each field, with the same values) and leaves no tag or title open that
// `before` did not: what a rewrite of the META block must keep.
bool KeepsHeadTags(const ModernHead& before, std::string_view text);

// Where a comment, script, style, title or tag that the head's end leaves
// open starts (a "</head>" in it is text, or a value), or npos: nothing added
// to the head may go after it.
std::size_t LeftOpenBeforeHeadEnd(std::string_view text);

}  // namespace veskaron
