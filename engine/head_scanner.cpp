#include "engine/head_scanner.h"

#include <algorithm>

#include "engine/cp1251.h"

namespace veskaron {
namespace {

void AddTag(std::vector<std::string>& out, std::string text) { out.push_back(std::move(text)); }

// Replaces every occurrence left to right, continuing after the inserted text.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const auto hit = text.find(what, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(with);
        pos = hit + what.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string ExtractContent(const std::string& text, const std::string& lower) {
    static constexpr std::string_view kContent = "content=";
    const auto at = lower.find(kContent);
    if (at == std::string::npos) return {};
    const std::size_t start = at + kContent.size();
    const std::size_t last = text.empty() ? 0 : text.size() - 1;  // before the final character
    std::size_t from = start, to = std::string::npos;
    if (start < text.size() && text[start] == '"') {
        from = start + 1;
        const auto quote = text.find('"', from);
        to = quote != std::string::npos ? quote : last;
    } else {
        const auto blank = start + 1 <= text.size() ? text.find(' ', start + 1) : std::string::npos;
        to = blank != std::string::npos ? blank : last;
    }
    if (from >= to || from >= text.size()) return {};
    return text.substr(from, to - from);
}

}  // namespace

void ForEachEditorLine(std::string_view text, const std::function<bool(std::string_view)>& visit) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        if (!visit(text.substr(start, i - start))) return;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) visit(text.substr(start));
}

std::vector<std::string_view> SplitEditorLines(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachEditorLine(text, [&lines](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

std::size_t FindNoCase(std::string_view haystack, std::string_view lowerNeedle, std::size_t from) {
    if (lowerNeedle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
    if (from >= haystack.size()) return std::string_view::npos;
    const auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from), haystack.end(),
                                lowerNeedle.begin(), lowerNeedle.end(),
                                [](char a, char b) { return LowerAsciiChar(a) == b; });
    return it == haystack.end() ? std::string_view::npos
                                : static_cast<std::size_t>(it - haystack.begin());
}

std::string DecodeEntities(std::string_view text) {
    // "&amp;" goes last so that "&amp;lt;" stays "&lt;". "&quot;" is turned back
    // because the writer stores a typed double quote that way.
    std::string s = ReplaceAll(text, "&lt;", "<");
    s = ReplaceAll(s, "&gt;", ">");
    s = ReplaceAll(s, "&copy;", "(c)");
    s = ReplaceAll(s, "&quot;", "\"");
    return ReplaceAll(s, "&amp;", "&");
}

std::string FindTitle(std::string_view text) {
    const auto open = FindNoCase(text, "<title>");
    if (open == std::string_view::npos) return {};
    const std::size_t from = open + 7;
    const auto close = FindNoCase(text, "</title>", from);
    if (close == std::string_view::npos) return std::string(text.substr(from));
    return std::string(text.substr(from, close - from));
}

void HeadScanner::CollectHead(std::string_view text) {
    // Walks the lines only up to the end of the head: the body of a large page
    // is never split.
    bool inHead = false;
    ForEachEditorLine(text, [this, &inHead](std::string_view line) {
        const std::string lower = LowerAscii(line);
        const auto open = lower.find("<head>");
        const auto close = lower.find("</head>");
        const bool hasOpen = open != std::string::npos, hasClose = close != std::string::npos;
        if (hasOpen && hasClose) {
            const std::size_t from = open + 6;
            headLines_.emplace_back(from < close ? line.substr(from, close - from) : std::string_view());
            return false;
        }
        if (hasOpen) {
            if (open + 6 < line.size()) headLines_.emplace_back(line.substr(open + 6));
            inHead = true;
        } else if (!hasClose && inHead) {
            headLines_.emplace_back(line);
        } else if (hasClose && inHead) {
            headLines_.emplace_back(line.substr(0, close));
            return false;
        }
        return true;
    });
}

void HeadScanner::SplitMetaTags() {
    std::vector<std::string> tags;
    bool open = false;
    std::string buffer;
    for (std::string& entry : headLines_) {
        const std::string lower = LowerAscii(entry);
        std::string left;       // what remains of the entry once its tags are cut out
        std::size_t pos = 0;    // start of the remaining text
        std::size_t meta = 0;   // cached position of the next "<meta " at or after pos
        bool metaKnown = false;
        bool moveOn = false;
        while (pos < entry.size() && !moveOn) {
            if (!metaKnown || meta < pos) {
                meta = lower.find("<meta ", pos);
                metaKnown = true;
            }
            const auto gt = entry.find('>', pos);
            const bool hasMeta = meta != std::string::npos, hasGt = gt != std::string::npos;
            if (hasMeta && hasGt) {
                if (gt < meta) {
                    left.append(entry, pos, gt + 1 - pos);
                    pos = gt + 1;
                    continue;
                }
                AddTag(tags, entry.substr(meta, gt + 1 - meta));
                left.append(entry, pos, meta - pos);
                pos = gt + 1;
            } else if (hasMeta) {
                buffer = entry.substr(meta + 1);
                open = true;
                left.append(entry, pos, meta - pos);
                pos = entry.size();
                moveOn = true;
            } else if (open && !hasGt) {
                buffer.append(entry, pos);
                pos = entry.size();
                moveOn = true;
            } else if (open) {
                buffer.append(entry, pos, gt - pos);
                AddTag(tags, std::move(buffer));
                buffer.clear();
                open = false;
                pos = gt + 1;
            } else {
                left.append(entry, pos);
                pos = entry.size();
                moveOn = true;
            }
        }
        entry = std::move(left);
    }
    metaTags_.clear();
    metaTags_.reserve(tags.size());
    for (std::string& t : tags) {
        std::string lower = LowerAscii(t);
        metaTags_.push_back({std::move(t), std::move(lower), false});
    }
}

std::vector<std::string> HeadScanner::MetaTags() const {
    std::vector<std::string> out;
    for (const Tag& t : metaTags_)
        if (!t.consumed) out.push_back(t.text);
    return out;
}

std::string HeadScanner::Lookup(std::string_view attribute, std::string_view key) {
    const std::string k = LowerAscii(key);
    const std::string quoted = std::string(attribute) + "=\"" + k + "\"";
    const std::string bare = std::string(attribute) + "=" + k;
    for (Tag& t : metaTags_) {
        if (t.consumed) continue;
        if (t.lower.find(quoted) == std::string::npos && t.lower.find(bare) == std::string::npos)
            continue;
        t.consumed = true;
        return ExtractContent(t.text, t.lower);
    }
    return {};
}

std::string HeadScanner::NameContent(std::string_view key) {
    return DecodeEntities(Lookup("name", key));
}

std::string HeadScanner::HttpEquivContent(std::string_view key) {
    return Lookup("http-equiv", key);
}

}  // namespace veskaron
