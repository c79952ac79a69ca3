#pragma once
// Finds the title, the META tags of the head and their contents by literal,
// line-oriented substring search (no HTML parsing), ignoring ASCII case.
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

    // The content of the first unconsumed tag for the key, which is consumed.
    std::string NameContent(std::string_view key);
    std::string HttpEquivContent(std::string_view key);

    const std::vector<std::string>& HeadLines() const { return headLines_; }
    // The tags not consumed yet, in document order.
    std::vector<std::string> MetaTags() const;

private:
    struct Tag {
        std::string text;
        std::string lower;
        bool consumed = false;
    };
    std::string Lookup(std::string_view attribute, std::string_view key);

    std::vector<std::string> headLines_;
    std::vector<Tag> metaTags_;
};

}  // namespace veskaron
