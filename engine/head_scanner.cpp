#include "engine/head_scanner.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

std::string ExtractContent(std::string_view text, std::string_view lower) {
    static constexpr std::string_view kContent = "content=";
    const auto at = lower.find(kContent);
    if (at == std::string_view::npos) return {};
    const std::size_t start = at + kContent.size();
    const std::size_t last = text.empty() ? 0 : text.size() - 1;  // before the final character
    std::size_t from = start, to = std::string_view::npos;
    if (start < text.size() && text[start] == '"') {
        from = start + 1;
        const auto quote = text.find('"', from);
        to = quote != std::string_view::npos ? quote : last;
    } else {
        const auto blank = start + 1 <= text.size() ? text.find(' ', start + 1) : std::string_view::npos;
        to = blank != std::string_view::npos ? blank : last;
    }
    if (from >= to || from >= text.size()) return {};
    return std::string(text.substr(from, to - from));
}

}  // namespace

namespace {

// The first `c` at or after `pos`, sixteen bytes at a time (inline: the
// distances in a head are short).
std::size_t ByteFrom(std::string_view s, std::size_t pos, char c) {
    const char* p = s.data();
    const std::size_t n = s.size();
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi8(c);
    for (; pos + 16 <= n; pos += 16) {
        const auto bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + pos)), v)));
        if (bits != 0) return pos + static_cast<std::size_t>(__builtin_ctz(bits));
    }
#endif
    for (; pos < n; ++pos)
        if (p[pos] == c) return pos;
    return std::string_view::npos;
}

// The first CR or LF at or after `i`, or the end of the text.
std::size_t LineBreakFrom(std::string_view text, std::size_t i) {
    const char* p = text.data();
    const std::size_t n = text.size();
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const auto bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        if (bits != 0) return i + static_cast<std::size_t>(__builtin_ctz(bits));
    }
#endif
    while (i < n && p[i] != '\r' && p[i] != '\n') ++i;
    return i;
}

template <class Visit>
void ForEachLine(std::string_view text, Visit&& visit, std::size_t start = 0) {
    while (start < text.size()) {
        std::size_t i = LineBreakFrom(text, start);
        if (i == text.size()) break;
        if (!visit(text.substr(start, i - start))) return;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) visit(text.substr(start));
}

// The first "<head>" and the first "</head>" of a line, ignoring case, in one
// walk over its '<'.
void FindHeadTags(std::string_view line, std::size_t& open, std::size_t& close) {
    open = close = std::string_view::npos;
    const char* p = line.data();
    std::size_t pos = 0;
    while (pos < line.size() && (open == std::string_view::npos || close == std::string_view::npos)) {
        pos = ByteFrom(line, pos, '<');
        if (pos == std::string_view::npos) break;
        auto is = [&](std::string_view tag) {
            if (line.size() - pos < tag.size()) return false;
            for (std::size_t k = 1; k < tag.size(); ++k)
                if (LowerAsciiChar(p[pos + k]) != tag[k]) return false;
            return true;
        };
        if (open == std::string_view::npos && is("<head>")) open = pos;
        else if (close == std::string_view::npos && is("</head>")) close = pos;
        ++pos;
    }
}

}  // namespace

void ForEachEditorLine(std::string_view text, const std::function<bool(std::string_view)>& visit) {
    ForEachLine(text, visit);
}

std::vector<std::string_view> SplitEditorLines(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&lines](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

std::size_t FindNoCase(std::string_view haystack, std::string_view lowerNeedle, std::size_t from) {
    if (lowerNeedle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
    if (from >= haystack.size()) return std::string_view::npos;
    const char first = lowerNeedle.front();
    if (LowerAsciiChar(first) == first && !(first >= 'a' && first <= 'z')) {
        // A first character without case ('<' of every tag): found by memchr,
        // the rest compared in place.
        const std::size_t m = lowerNeedle.size();
        const char* p = haystack.data();
        std::size_t pos = from;
        while (pos + m <= haystack.size()) {
            const void* hit = std::memchr(p + pos, first, haystack.size() - m + 1 - pos);
            if (!hit) break;
            pos = static_cast<std::size_t>(static_cast<const char*>(hit) - p);
            std::size_t k = 1;
            while (k < m && LowerAsciiChar(p[pos + k]) == lowerNeedle[k]) ++k;
            if (k == m) return pos;
            ++pos;
        }
        return std::string_view::npos;
    }
    const auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from), haystack.end(),
                                lowerNeedle.begin(), lowerNeedle.end(),
                                [](char a, char b) { return LowerAsciiChar(a) == b; });
    return it == haystack.end() ? std::string_view::npos
                                : static_cast<std::size_t>(it - haystack.begin());
}

std::string DecodeEntities(std::string_view text) {
    if (text.find('&') == std::string_view::npos) return std::string(text);
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
    // Lines before the first "<head>" add nothing and stop nothing, so the
    // walk starts at the line that holds it (a line starts after a CR or LF).
    const std::size_t first = FindNoCase(text, "<head>");
    if (first == std::string_view::npos) return;
    const std::size_t lineStart = text.find_last_of("\r\n", first);
    bool inHead = false;
    ForEachLine(text, [this, &inHead](std::string_view line) {
        std::size_t open, close;
        FindHeadTags(line, open, close);
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
    }, lineStart == std::string_view::npos ? 0 : lineStart + 1);
}

namespace {

// Head lines are short: their '>' and "<meta " are found inline rather than
// by library calls.
std::size_t GreaterFrom(std::string_view s, std::size_t pos) { return ByteFrom(s, pos, '>'); }

std::size_t MetaOpenFrom(std::string_view s, std::size_t pos) {
    static constexpr std::string_view kOpen = "<meta ";
    while (pos + kOpen.size() <= s.size()) {
        pos = ByteFrom(s, pos, '<');
        if (pos == std::string_view::npos || pos + kOpen.size() > s.size()) break;
        std::size_t k = 1;
        while (k < kOpen.size() && LowerAsciiChar(s[pos + k]) == kOpen[k]) ++k;
        if (k == kOpen.size()) return pos;
        ++pos;
    }
    return std::string_view::npos;
}

}  // namespace

void HeadScanner::SplitMetaTags() {
    std::vector<std::string> tags;
    bool open = false;
    std::string buffer;
    for (std::string& entry : headLines_) {
        std::string left;       // what remains of the entry once its tags are cut out
        std::size_t pos = 0;    // start of the remaining text
        std::size_t meta = 0;   // cached position of the next "<meta " at or after pos
        bool metaKnown = false;
        bool moveOn = false;
        while (pos < entry.size() && !moveOn) {
            if (!metaKnown || meta < pos) {
                meta = MetaOpenFrom(entry, pos);
                metaKnown = true;
            }
            const auto gt = GreaterFrom(entry, pos);
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
    attributes_.clear();
    for (std::string& t : tags) {
        Tag tag;
        tag.size = static_cast<std::uint32_t>(t.size());
        tag.firstAttribute = static_cast<std::uint32_t>(attributes_.size());
        tag.both = std::move(t);
        tag.both.resize(2 * tag.size);
        // Plain locals, so that the loop neither reloads the string nor branches.
        char* const both = tag.both.data();
        const std::size_t size = tag.size;
        for (std::size_t i = 0; i < size; ++i) {
            const auto c = static_cast<unsigned char>(both[i]);
            both[size + i] = static_cast<char>(c | (static_cast<unsigned char>(c - 'A') < 26 ? 0x20 : 0));
        }
        const std::string_view lower = tag.Lower();
        // Where "name=" and "http-equiv=" stand (found from their '='): a
        // look-up only compares there.
        for (std::size_t eq = ByteFrom(lower, 0, '='); eq != std::string_view::npos; eq = ByteFrom(lower, eq + 1, '=')) {
            const std::string_view before = lower.substr(0, eq);
            const int kind = before.ends_with("name") ? 0 : before.ends_with("http-equiv") ? 1 : -1;
            if (kind < 0) continue;
            const std::size_t value = eq + 1;
            attributes_.push_back({static_cast<std::uint32_t>(value), static_cast<std::uint8_t>(kind),
                                   value < lower.size() ? lower[value] : '\0',
                                   value + 1 < lower.size() ? lower[value + 1] : '\0'});
            ++tag.attributeCount;
        }
        metaTags_.push_back(std::move(tag));
    }
    // Which tags a key's first letter can match, for heads of up to 64 tags.
    indexed_ = metaTags_.size() <= 64;
    if (indexed_) {
        for (auto& kind : candidates_) kind.fill(0);
        for (std::size_t i = 0; i < metaTags_.size(); ++i) {
            const Tag& t = metaTags_[i];
            for (std::uint32_t a = t.firstAttribute; a < t.firstAttribute + t.attributeCount; ++a) {
                const Attribute& attr = attributes_[a];
                candidates_[attr.kind][static_cast<unsigned char>(attr.first)] |= std::uint64_t{1} << i;
                if (attr.first == '"') candidates_[attr.kind][static_cast<unsigned char>(attr.second)] |= std::uint64_t{1} << i;
            }
        }
    }
}

bool HeadScanner::SplitWouldRepeat() const {
    // What a split leaves of the lines holds no tag start unless cutting a tag
    // out joined one ("<me" + "ta "); only then could it change a second split.
    for (const std::string& line : headLines_)
        if (FindNoCase(line, "<meta ") != std::string::npos) return false;
    return true;
}

void HeadScanner::RepeatSplit() {
    // Collecting the same head again appends the same lines, whose split leaves
    // the same remainders and gives the same tags, all unconsumed.
    const std::size_t lines = headLines_.size();
    headLines_.reserve(2 * lines);
    for (std::size_t i = 0; i < lines; ++i) headLines_.push_back(headLines_[i]);
    for (Tag& t : metaTags_) t.consumed = false;
}

std::vector<std::string> HeadScanner::MetaTags() const {
    std::vector<std::string> out;
    for (const Tag& t : metaTags_)
        if (!t.consumed) out.emplace_back(t.Text());
    return out;
}

std::string HeadScanner::Lookup(std::string_view attribute, std::string_view key) {
    // The key lower-cased without a heap copy for the catalogue's short keys.
    char buffer[64];
    std::string longKey;
    std::string_view k;
    if (key.size() <= sizeof buffer) {
        for (std::size_t i = 0; i < key.size(); ++i) buffer[i] = LowerAsciiChar(key[i]);
        k = std::string_view(buffer, key.size());
    } else {
        longKey = LowerAscii(key);
        k = longKey;
    }
    const std::uint8_t kind = attribute == "name" ? 0 : 1;
    // A tag matches when, after one of its "attribute=", stands the key in
    // double quotes or, failing that anywhere in the tag, the key itself.
    auto at = [](std::string_view lower, std::size_t pos, std::string_view what) {
        return lower.size() >= pos && lower.size() - pos >= what.size() && lower.compare(pos, what.size(), what) == 0;
    };
    auto matches = [&](const Tag& t) {
        const std::string_view lower = t.Lower();
        bool bare = false;
        for (std::uint32_t a = t.firstAttribute; a < t.firstAttribute + t.attributeCount; ++a) {
            const Attribute& attr = attributes_[a];
            if (attr.kind != kind) continue;
            // Neither form can stand here unless the key's first letter does.
            if (!k.empty() && attr.first != k[0] && !(attr.first == '"' && attr.second == k[0])) continue;
            const std::size_t value = attr.valueAt;
            if (at(lower, value, "\"") && at(lower, value + 1, k) && at(lower, value + 1 + k.size(), "\""))
                return true;
            bare = bare || at(lower, value, k);
        }
        return bare;
    };
    auto take = [](Tag& t) {
        t.consumed = true;
        return ExtractContent(t.Text(), t.Lower());
    };
    if (indexed_ && !k.empty()) {
        // Only the tags with an attribute value that starts with the key's
        // first letter (after a quote or not), in document order.
        for (std::uint64_t bits = candidates_[kind][static_cast<unsigned char>(k[0])]; bits != 0; bits &= bits - 1) {
            Tag& t = metaTags_[static_cast<std::size_t>(__builtin_ctzll(bits))];
            if (!t.consumed && matches(t)) return take(t);
        }
        return {};
    }
    for (Tag& t : metaTags_)
        if (!t.consumed && matches(t)) return take(t);
    return {};
}

std::string HeadScanner::NameContent(std::string_view key) {
    return DecodeEntities(Lookup("name", key));
}

std::string HeadScanner::HttpEquivContent(std::string_view key) {
    return Lookup("http-equiv", key);
}

}  // namespace veskaron
