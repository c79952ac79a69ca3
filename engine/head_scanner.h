#pragma once
// Finds the head, the title, the META tags of the head and their contents by
// literal substring search (no HTML parsing), ignoring ASCII case. The writer
// finds the tags it replaces through the same scan, so that what a save
// removes is what a load reads.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace veskaron {

// Splits a document text into editor lines: CR LF, a lone CR and a lone LF each
// end a line; a final line break does not start another line.
std::vector<std::string_view> SplitEditorLines(std::string_view text);
// Calls `visit` with each editor line in order until it returns false.
void ForEachEditorLine(std::string_view text, const std::function<bool(std::string_view)>& visit);

// ASCII case-insensitive search; `lowerNeedle` must be lower case.
std::size_t FindNoCase(std::string_view haystack, std::string_view lowerNeedle,
                       std::size_t from = 0);

// The blanks a tag may hold between its parts: blank, tab, CR, LF, form feed.
inline bool IsTagSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The head: its first start tag ("<head>", "<HEAD\n>", "<head profile=…>", not
// "<header>") and the first end tag after it ("</head>", "</HEAD\n>").
struct HeadRange {
    bool found = false;        // a start tag is present
    bool closed = false;       // an end tag follows it
    std::size_t startTag = 0;  // the start tag's '<'
    std::size_t begin = 0;     // just after the start tag's '>'
    std::size_t end = 0;       // the end tag's '<', or the end of the text
};
HeadRange FindHead(std::string_view text);

// The '<' of the first "<title" start tag in the head that the head's end
// leaves open (no '>' before it), or npos. A title written after it would be
// read from that start.
std::size_t UnclosedTitleStart(std::string_view text, const HeadRange& head);

// The first title element of the page ("<title>", "<TITLE\n>", with attributes
// or not). A title that starts before the end of the head ends there at the
// latest; one after the head may run to the end of the text.
struct TitleElement {
    bool found = false;
    bool closed = false;        // an end tag within those bounds
    std::size_t start = 0;      // the start tag's '<'
    std::size_t textBegin = 0;  // just after the start tag's '>'
    std::size_t textEnd = 0;    // the end tag's '<', or the bound
    std::size_t end = 0;        // just after the end tag's '>', or the bound
};
// The first one that starts at or after `from` and before `limit`.
TitleElement FindTitleElement(std::string_view text, const HeadRange& head, std::size_t from = 0,
                              std::size_t limit = std::string_view::npos);

std::string DecodeEntities(std::string_view text);
// What a load reads of the catalogue, by catalogue index: the title and the
// first content of every catalogued key.
std::vector<std::string> CatalogueReading(std::string_view text);
// The title text, with its case and line breaks; empty without a title.
std::string FindTitle(std::string_view text);

// Where a META tag stands in the text: its '<' and just after its '>'.
struct TagSpan {
    std::size_t start = 0, end = 0;
};

class HeadScanner {
public:
    // Finds the head and its META tags in `text`, afresh: nothing of an
    // earlier scan is kept. Every tag starts unconsumed.
    void Scan(std::string_view text);
    // Scan, in two steps for callers that collect first and split later.
    void CollectHead(std::string_view text) { Scan(text); }
    // Makes every tag of the last scan available to the look-ups again.
    void SplitMetaTags();

    const HeadRange& Head() const { return head_; }
    // The "<meta" of a tag that the head's end leaves open, or npos.
    std::size_t UnclosedTagAt() const { return unclosedAt_; }

    // The content of the first unconsumed tag for the key, which is consumed.
    std::string NameContent(std::string_view key);
    std::string HttpEquivContent(std::string_view key);
    // The contents of every tag for the key, consumed or not, in document order.
    std::vector<std::string> NameContents(std::string_view key) const;

    // The tags not consumed yet, in document order.
    std::vector<std::string> MetaTags() const;
    std::size_t TagCount() const { return tags_.size(); }
    TagSpan Span(std::size_t tag) const { return tags_[tag].span; }
    // Sets marks[i] for every tag i (consumed or not) that the look-up of
    // `attribute` ("name" or "http-equiv") and `key` would take.
    void MarkMatches(std::string_view attribute, std::string_view key, std::vector<bool>& marks) const;

    // Calls `visit` with each tag of the last scan, consumed or not, as `text`
    // (the scanned text) writes it from '<' to '>', and with its looked-up
    // text lower-cased, in document order, until it returns true; whether one did.
    template <class Visit>
    bool AnyMetaTag(std::string_view text, Visit&& visit) const {
        for (const Tag& t : tags_)
            if (visit(text.substr(t.span.start, t.span.end - t.span.start), Lower(t))) return true;
        return false;
    }

private:
    // Where the value of a "name=" (kind 0) or "http-equiv=" (kind 1) starts.
    struct Attribute {
        std::uint32_t valueAt;
        std::uint8_t kind;
        char first, second;  // the value's first two characters, lower case ('\0' past the end)
    };
    struct Tag {
        // Where the tag's text stands in store_, then the same lower-cased. A
        // tag on one line is read from '<' to '>'; one that spans lines
        // without its '<' and '>' and with its line breaks dropped.
        std::size_t at = 0;
        std::uint32_t size = 0;
        TagSpan span;
        bool consumed = false;
        std::uint32_t firstAttribute = 0;  // in attributes_
        std::uint32_t attributeCount = 0;
    };
    std::string_view Text(const Tag& t) const { return std::string_view(store_).substr(t.at, t.size); }
    std::string_view Lower(const Tag& t) const { return std::string_view(store_).substr(t.at + t.size, t.size); }
    void AddTag(std::string_view raw, TagSpan span);
    bool Matches(const Tag& t, std::uint8_t kind, std::string_view lowerKey) const;
    std::string Lookup(std::string_view attribute, std::string_view key);

    HeadRange head_;
    std::size_t unclosedAt_ = std::string_view::npos;
    std::vector<Tag> tags_;
    std::string store_;  // the texts of all tags, one after the other
    std::vector<Attribute> attributes_;
    // For each kind and letter, the tags (as bits) that a key starting with
    // that letter can match; used when the head has at most 64 tags.
    bool indexed_ = false;
    std::array<std::array<std::uint64_t, 256>, 2> candidates_{};
    // The same for larger heads: for each kind and letter (kind * 256 +
    // letter), the tags in document order, bucket b being
    // bucketTags_[bucketStart_[b], bucketStart_[b + 1]).
    std::vector<std::uint32_t> bucketStart_;
    std::vector<std::uint32_t> bucketTags_;
    template <class Visit>
    void ForEachCandidate(std::uint8_t kind, char first, Visit&& visit) const;
};

}  // namespace veskaron
