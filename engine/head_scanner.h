#pragma once
// Finds the title, the META tags of the head and their contents by literal,
// line-oriented substring search (no HTML parsing), ignoring ASCII case.
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

std::string DecodeEntities(std::string_view text);
std::string FindTitle(std::string_view text);

class HeadScanner {
public:
    // Appends the head's lines of `text` to HeadLines.
    void CollectHead(std::string_view text);
    // Rebuilds MetaTags from HeadLines, cutting the tags out of HeadLines.
    void SplitMetaTags();
    void ClearHead() { headLines_.clear(); }
    // Whether collecting the same text again and splitting would give the
    // same tags (true unless a remainder of the split holds a tag start), and
    // that second collection and split done without scanning the text again.
    bool SplitWouldRepeat() const;
    void RepeatSplit();

    // The content of the first unconsumed tag for the key, which is consumed.
    std::string NameContent(std::string_view key);
    std::string HttpEquivContent(std::string_view key);

    const std::vector<std::string>& HeadLines() const { return headLines_; }
    // The tags not consumed yet, in document order.
    std::vector<std::string> MetaTags() const;

    // Calls `visit` with each tag not consumed yet, in document order, until
    // it returns true; whether one did.
    template <class Visit>
    bool AnyMetaTag(Visit&& visit) const {
        for (const Tag& t : metaTags_)
            if (!t.consumed && visit(t.Text(), t.Lower())) return true;
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
        std::string both;  // the text, then the same lower-cased
        std::uint32_t size = 0;
        bool consumed = false;
        std::uint32_t firstAttribute = 0;  // in attributes_
        std::uint32_t attributeCount = 0;
        std::string_view Text() const { return std::string_view(both).substr(0, size); }
        std::string_view Lower() const { return std::string_view(both).substr(size); }
    };
    std::string Lookup(std::string_view attribute, std::string_view key);

    std::vector<std::string> headLines_;
    std::vector<Tag> metaTags_;
    std::vector<Attribute> attributes_;
    // For each kind and letter, the tags (as bits) that a key starting with
    // that letter can match; used when the head has at most 64 tags.
    bool indexed_ = false;
    std::array<std::array<std::uint64_t, 256>, 2> candidates_{};
};

}  // namespace veskaron
