#include "engine/head_scanner.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/catalogue.h"
#include "engine/cp1251.h"

namespace veskaron {
namespace {

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

bool IsAttributeNameChar(char c) {
    return !IsTagSpace(c) && c != '=' && c != '>' && c != '/' && c != '"' && c != '\'' && c != '<';
}

// The value of the tag's first "content" attribute, as HTML reads it: in
// double quotes, in single quotes or bare, blanks allowed around '='. `text`
// is the tag from its "<meta" (or "meta", for a tag joined from several lines)
// to its '>' (or its end).
std::string ExtractContent(std::string_view text, std::string_view lower) {
    std::size_t end = text.size();
    if (end > 0 && text[end - 1] == '>') --end;
    // Past "meta": a tag joined from lines may have its first attribute right after it.
    std::size_t i = (!text.empty() && text[0] == '<' ? 1 : 0) + 4;
    while (i < end) {
        while (i < end && (IsTagSpace(text[i]) || text[i] == '/')) ++i;
        const std::size_t nameStart = i;
        while (i < end && (IsAttributeNameChar(text[i]) || (i == nameStart && text[i] != '/'))) ++i;
        const std::string_view name = lower.substr(nameStart, i - nameStart);
        std::size_t j = i;
        while (j < end && IsTagSpace(text[j])) ++j;
        if (j >= end || text[j] != '=') {
            if (i == nameStart) ++i;
            continue;
        }
        ++j;
        while (j < end && IsTagSpace(text[j])) ++j;
        std::size_t from = j, to = j;
        if (j < end && (text[j] == '"' || text[j] == '\'')) {
            from = j + 1;
            const std::size_t close = text.substr(0, end).find(text[j], from);
            to = close == std::string_view::npos ? end : close;
            i = to < end ? to + 1 : end;
        } else {
            while (to < end && !IsTagSpace(text[to])) ++to;
            i = to;
        }
        if (name == "content") return std::string(text.substr(from, to - from));
    }
    return {};
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

namespace {

// The end of an end tag ("</head" + blanks + ">") whose name ends at `at`, or npos.
std::size_t EndTagClose(std::string_view text, std::size_t at) {
    while (at < text.size() && IsTagSpace(text[at])) ++at;
    return at < text.size() && text[at] == '>' ? at + 1 : std::string_view::npos;
}

// Whether a start tag named by `lowerName` ("<head") begins at `at`: the name
// must be followed by '>' or a blank, so "<header>" is not "<head".
bool StartTagNameEnds(std::string_view text, std::size_t at) {
    return at < text.size() && (text[at] == '>' || IsTagSpace(text[at]));
}

// Walks the text from a point where no tag is open, to tell whether a tag
// may start at a later point: not in the name of a tag opened before it
// ("<title<title>") nor in one of its quoted values (content="a <title>").
// Every tag ends at its first '>', as the scanner reads tags.
class TagStartWalk {
public:
    TagStartWalk(std::string_view text, std::size_t from) : text_(text), pos_(from) {}

    // `at` never goes back. A start tag may stand in another tag's attributes
    // ("<meta charset=x<title>" is read as two tags, as pages mean it).
    bool MayStartAt(std::size_t at) {
        WalkTo(at);
        return state_ == State::Text || state_ == State::Attributes;
    }
    // Whether `at` stands in text, outside every tag; `at` never goes back.
    bool InTextAt(std::size_t at) {
        WalkTo(at);
        return state_ == State::Text;
    }

private:
    void WalkTo(std::size_t at) {
        for (; pos_ < at; ++pos_) {
            const char c = text_[pos_];
            switch (state_) {
                case State::Text: {
                    const std::size_t lt = ByteFrom(text_.substr(0, at), pos_, '<');
                    if (lt == std::string_view::npos) {
                        pos_ = at;
                        return;
                    }
                    pos_ = lt;
                    const char next = lt + 1 < text_.size() ? text_[lt + 1] : '\0';
                    auto letter = [](char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); };
                    if (letter(next)) {
                        state_ = State::Name;
                    } else if (next == '?' || (next == '!' && text_.substr(lt + 2, 2) != "--") ||
                               (next == '/' && lt + 2 < text_.size() && text_[lt + 2] != '>' &&
                                !letter(text_[lt + 2]))) {
                        // "<?x>", "<!x>", "</1x>": a bogus comment, up to the next '>'.
                        state_ = State::Bogus;
                    }
                    break;
                }
                case State::Bogus:
                    if (c == '>') state_ = State::Text;
                    break;
                case State::Name:
                    if (c == '>') state_ = State::Text;
                    else if (IsTagSpace(c) || c == '/') state_ = State::Attributes;
                    break;
                case State::Attributes:
                    if (c == '>') state_ = State::Text;
                    else if (c == '=') afterEquals_ = true;
                    else if ((c == '"' || c == '\'') && afterEquals_) quote_ = c, state_ = State::Quoted;
                    else if (!IsTagSpace(c)) afterEquals_ = false;
                    break;
                case State::Quoted:
                    if (c == '>') state_ = State::Text;
                    else if (c == quote_) state_ = State::Attributes, afterEquals_ = false;
                    break;
            }
        }
    }

    enum class State { Text, Name, Attributes, Quoted, Bogus };
    std::string_view text_;
    std::size_t pos_;
    State state_ = State::Text;
    bool afterEquals_ = false;
    char quote_ = 0;
};

// The first start tag `lowerName` at or after `from` and before `limit`:
// where its '<' stands and just after its '>'. False when there is none.
// With `walk`, a start that stands inside another tag's name or quoted
// value is passed over.
bool FindStartTag(std::string_view text, std::string_view lowerName, std::size_t from, std::size_t limit,
                  std::size_t& open, std::size_t& afterGt, TagStartWalk* walk = nullptr) {
    const std::string_view in = text.substr(0, limit);
    for (std::size_t at = FindNoCase(in, lowerName, from); at != std::string_view::npos;
         at = FindNoCase(in, lowerName, at + 1)) {
        if (!StartTagNameEnds(in, at + lowerName.size())) continue;
        if (walk && !walk->MayStartAt(at)) continue;
        const std::size_t gt = ByteFrom(in, at + lowerName.size(), '>');
        if (gt == std::string_view::npos) return false;
        open = at;
        afterGt = gt + 1;
        return true;
    }
    return false;
}

// The first end tag `lowerName` ("</head") at or after `from` that closes
// before `limit`: its '<' and just after its '>'.
bool FindEndTag(std::string_view text, std::string_view lowerName, std::size_t from, std::size_t limit,
                std::size_t& open, std::size_t& afterGt) {
    const std::string_view in = text.substr(0, limit);
    for (std::size_t at = FindNoCase(in, lowerName, from); at != std::string_view::npos;
         at = FindNoCase(in, lowerName, at + 1)) {
        const std::size_t close = EndTagClose(in, at + lowerName.size());
        if (close == std::string_view::npos) continue;
        open = at;
        afterGt = close;
        return true;
    }
    return false;
}

// The next "<meta" followed by a blank or a line break, before `limit`.
std::size_t MetaOpenFrom(std::string_view s, std::size_t pos, std::size_t limit) {
    static constexpr std::string_view kOpen = "<meta";
    while (pos + kOpen.size() < limit) {
        pos = ByteFrom(s, pos, '<');
        if (pos == std::string_view::npos || pos + kOpen.size() >= limit) break;
        std::size_t k = 1;
        while (k < kOpen.size() && LowerAsciiChar(s[pos + k]) == kOpen[k]) ++k;
        if (k == kOpen.size() && IsTagSpace(s[pos + k])) return pos;
        ++pos;
    }
    return std::string_view::npos;
}

void LowerInto(std::string_view from, char* to) {
    for (std::size_t i = 0; i < from.size(); ++i) {
        const auto c = static_cast<unsigned char>(from[i]);
        to[i] = static_cast<char>(c | (static_cast<unsigned char>(c - 'A') < 26 ? 0x20 : 0));
    }
}

}  // namespace

namespace {

// The stretches of a head where markup is text: comments, and the text of
// scripts and styles. A "<meta" in them is no tag: it is neither read nor
// removed. Found in one pass: each kind of start is looked for again only once
// the scan has passed the last one found.
class TextStretches {
public:
    explicit TextStretches(std::string_view head) : head_(head) {}

    // Where the scan goes on from a "<meta" at `pos`, given that no stretch
    // starts inside a tag that ends at or before `floor`: `pos` itself when it
    // stands outside every stretch, else the end of the stretch it is in.
    std::size_t Skip(std::size_t pos, std::size_t floor) {
        while (true) {
            const std::size_t start = NextStart(floor);
            if (start == npos || start > pos) return pos;
            const std::size_t end = StretchEnd(start);
            if (end > pos) return end;
            floor = end;
        }
    }

private:
    static constexpr std::size_t npos = std::string_view::npos;

    std::size_t NextStart(std::size_t from) {
        static constexpr std::string_view kStarts[3] = {"<!--", "<script", "<style"};
        for (std::size_t k = 0; k < 3; ++k) {
            if (done_[k] || (starts_[k] != npos && starts_[k] >= from)) continue;
            std::size_t at = FindNoCase(head_, kStarts[k], from);
            // "<t<!--6>" is one tag, named "t<!--6", and no comment.
            while (at != npos && ((k > 0 && !StartTagNameEnds(head_, at + kStarts[k].size())) || !walks_[k].InTextAt(at)))
                at = FindNoCase(head_, kStarts[k], at + 1);
            starts_[k] = at;
            done_[k] = at == npos;
        }
        return std::min({starts_[0], starts_[1], starts_[2]});
    }

    std::size_t StretchEnd(std::size_t start) const {
        if (start == starts_[0]) {
            // "<!-->" and "<!--->" are whole (empty) comments, as HTML has them.
            if (head_.substr(start + 4, 1) == ">") return start + 5;
            if (head_.substr(start + 4, 2) == "->") return start + 6;
            const std::size_t close = head_.find("-->", start + 4);
            return close == npos ? head_.size() : close + 3;
        }
        const std::string_view endName = start == starts_[1] ? "</script" : "</style";
        const std::size_t gt = ByteFrom(head_, start, '>');
        if (gt == npos) return head_.size();
        for (std::size_t at = FindNoCase(head_, endName, gt + 1); at != npos;
             at = FindNoCase(head_, endName, at + 1)) {
            const std::size_t after = at + endName.size();
            if (after < head_.size() && head_[after] != '>' && head_[after] != '/' && !IsTagSpace(head_[after]))
                continue;
            const std::size_t close = ByteFrom(head_, after, '>');
            return close == npos ? head_.size() : close + 1;
        }
        return head_.size();
    }

    std::string_view head_;
    // One walk for each kind, whose starts are asked for in text order.
    TagStartWalk walks_[3] = {{head_, 0}, {head_, 0}, {head_, 0}};
    std::size_t starts_[3] = {npos, npos, npos};
    bool done_[3] = {false, false, false};  // that kind stands nowhere further on
};

}  // namespace

HeadRange FindHead(std::string_view text) {
    HeadRange head;
    std::size_t open = 0, after = 0;
    if (!FindStartTag(text, "<head", 0, text.size(), open, after)) return head;
    head.found = true;
    head.startTag = open;
    head.begin = after;
    std::size_t close = 0, closeEnd = 0;
    head.closed = FindEndTag(text, "</head", head.begin, text.size(), close, closeEnd);
    head.end = head.closed ? close : text.size();
    return head;
}

TitleElement FindTitleElement(std::string_view text, const HeadRange& head, std::size_t from, std::size_t limit) {
    TitleElement title;
    std::size_t open = 0, after = 0;
    limit = std::min(limit, text.size());
    while (true) {
        TagStartWalk walk(text, from);
        if (!FindStartTag(text, "<title", from, limit, open, after, &walk)) return title;
        // "<head <title>": the head's own start tag, not a title.
        if (!head.found || open < head.startTag || open >= head.begin) break;
        from = head.begin;
    }
    // A title that starts before the end of the head never runs past it.
    const std::size_t bound = head.found && open < head.end ? head.end : text.size();
    if (after > bound) return title;
    title.found = true;
    title.start = open;
    title.textBegin = after;
    std::size_t close = 0, closeEnd = 0;
    title.closed = FindEndTag(text, "</title", after, bound, close, closeEnd);
    title.textEnd = title.closed ? close : bound;
    title.end = title.closed ? closeEnd : bound;
    return title;
}

std::size_t UnclosedTitleStart(std::string_view text, const HeadRange& head) {
    if (!head.found) return std::string_view::npos;
    const std::string_view in = text.substr(0, head.end);
    std::size_t from = head.begin;
    for (std::size_t at = FindNoCase(in, "<title", from); at != std::string_view::npos;
         at = FindNoCase(in, "<title", from)) {
        from = at + 1;
        if (!StartTagNameEnds(in, at + 6)) continue;
        const std::size_t gt = ByteFrom(in, at + 6, '>');
        if (gt == std::string_view::npos) return at;
        from = gt + 1;
    }
    return std::string_view::npos;
}

std::string FindTitle(std::string_view text) {
    const TitleElement t = FindTitleElement(text, FindHead(text));
    return t.found ? std::string(text.substr(t.textBegin, t.textEnd - t.textBegin)) : std::string();
}

void HeadScanner::AddTag(std::string_view raw, TagSpan span) {
    Tag tag;
    tag.span = span;
    tag.at = store_.size();
    // A tag on one line is looked up as written; one that spans lines is
    // joined without its brackets and line breaks.
    const bool oneLine = LineBreakFrom(raw, 0) == raw.size();
    if (oneLine) {
        store_.append(raw);
    } else {
        for (char c : raw.substr(1, raw.size() - 2))
            if (c != '\r' && c != '\n') store_ += c;
    }
    tag.size = static_cast<std::uint32_t>(store_.size() - tag.at);
    store_.resize(store_.size() + tag.size);
    LowerInto(std::string_view(store_).substr(tag.at, tag.size), store_.data() + tag.at + tag.size);
    tag.firstAttribute = static_cast<std::uint32_t>(attributes_.size());
    const std::string_view lower = Lower(tag);
    // Where "name=" and "http-equiv=" stand (found from their '='): a look-up
    // only compares there. A quoted value is skipped whole, so that a key in
    // another attribute's value is never taken for the tag's own.
    for (std::size_t eq = lower.find('='); eq != std::string_view::npos;) {
        // Blanks may stand around the '=', as HTML allows.
        std::size_t nameEnd = eq;
        while (nameEnd > 0 && IsTagSpace(lower[nameEnd - 1])) --nameEnd;
        const std::string_view before = lower.substr(0, nameEnd);
        const int kind = before.ends_with("name") ? 0 : before.ends_with("http-equiv") ? 1 : -1;
        std::size_t value = eq + 1;
        while (value < lower.size() && IsTagSpace(lower[value])) ++value;
        if (kind >= 0) {
            attributes_.push_back({static_cast<std::uint32_t>(value), static_cast<std::uint8_t>(kind),
                                   value < lower.size() ? lower[value] : '\0',
                                   value + 1 < lower.size() ? lower[value + 1] : '\0'});
            ++tag.attributeCount;
        }
        std::size_t v = value;
        while (v < lower.size() && IsTagSpace(lower[v])) ++v;
        std::size_t next = v;
        if (v < lower.size() && (lower[v] == '"' || lower[v] == '\'')) {
            const std::size_t close = lower.find(lower[v], v + 1);
            if (close == std::string_view::npos) break;
            next = close + 1;
        }
        eq = lower.find('=', next);
    }
    tags_.push_back(std::move(tag));
}

void HeadScanner::Scan(std::string_view text) {
    tags_.clear();
    store_.clear();
    attributes_.clear();
    unclosedAt_ = std::string_view::npos;
    head_ = FindHead(text);
    if (head_.found) {
        // A tag runs from "<meta" to the first '>' after it, within the head;
        // one still open at the end of the head is not a tag.
        const std::size_t limit = head_.end;
        const std::string_view head = text.substr(0, limit);
        // A title's text is text: a "<meta" in it is not a tag. Titles are
        // looked for only up to the tag at hand, so the head is walked once.
        TitleElement title;
        std::size_t searched = 0;  // no title starts between the last one and here
        TextStretches stretches(head);
        std::size_t floor = head_.begin;  // just after the last tag taken
        for (std::size_t pos = MetaOpenFrom(head, head_.begin, limit); pos != std::string_view::npos;) {
            while (true) {
                if (title.found && title.closed && title.end <= pos) {
                    // Nor does a comment, a script or a style start in it.
                    if (stretches.Skip(title.start, floor) == title.start) floor = std::max(floor, title.end);
                    searched = title.end;
                    title = {};
                }
                if (title.found || searched >= pos) break;
                title = FindTitleElement(text, head_, searched, pos);
                searched = pos;
            }
            if (title.found && title.closed && title.start <= pos && stretches.Skip(title.start, floor) == title.start) {
                floor = std::max(floor, title.end);
                pos = MetaOpenFrom(head, title.end, limit);
                continue;
            }
            if (const std::size_t past = stretches.Skip(pos, floor); past != pos) {
                floor = past;
                pos = past < limit ? MetaOpenFrom(head, past, limit) : std::string_view::npos;
                continue;
            }
            if (title.found && title.closed && title.start <= pos) {
                pos = MetaOpenFrom(head, title.end, limit);
                continue;
            }
            const std::size_t gt = ByteFrom(head, pos + 5, '>');
            if (gt == std::string_view::npos) {
                unclosedAt_ = pos;
                break;
            }
            AddTag(text.substr(pos, gt + 1 - pos), {pos, gt + 1});
            floor = gt + 1;
            pos = MetaOpenFrom(head, gt + 1, limit);
        }
    }
    // Which tags a key's first letter can match: bits for heads of up to 64
    // tags, buckets of tag numbers for larger ones.
    indexed_ = tags_.size() <= 64;
    auto forEachLetter = [this](auto&& add) {
        for (std::size_t i = 0; i < tags_.size(); ++i) {
            const Tag& t = tags_[i];
            for (std::uint32_t a = t.firstAttribute; a < t.firstAttribute + t.attributeCount; ++a) {
                const Attribute& attr = attributes_[a];
                add(i, attr.kind * 256u + static_cast<unsigned char>(attr.first));
                if (attr.first == '"' || attr.first == '\'')
                    add(i, attr.kind * 256u + static_cast<unsigned char>(attr.second));
            }
        }
    };
    if (indexed_) {
        for (auto& kind : candidates_) kind.fill(0);
        forEachLetter([this](std::size_t i, unsigned bucket) {
            candidates_[bucket / 256][bucket % 256] |= std::uint64_t{1} << i;
        });
        bucketStart_.clear();
        bucketTags_.clear();
    } else {
        // Counted first, then filled; a tag enters a bucket once.
        std::vector<std::uint32_t> last(512, UINT32_MAX);
        bucketStart_.assign(513, 0);
        forEachLetter([&](std::size_t i, unsigned bucket) {
            if (last[bucket] == i) return;
            last[bucket] = static_cast<std::uint32_t>(i);
            ++bucketStart_[bucket + 1];
        });
        for (std::size_t b = 0; b < 512; ++b) bucketStart_[b + 1] += bucketStart_[b];
        bucketTags_.assign(bucketStart_[512], 0);
        std::vector<std::uint32_t> next(bucketStart_.begin(), bucketStart_.end() - 1);
        last.assign(512, UINT32_MAX);
        forEachLetter([&](std::size_t i, unsigned bucket) {
            if (last[bucket] == i) return;
            last[bucket] = static_cast<std::uint32_t>(i);
            bucketTags_[next[bucket]++] = static_cast<std::uint32_t>(i);
        });
    }
}

template <class Visit>
void HeadScanner::ForEachCandidate(std::uint8_t kind, char first, Visit&& visit) const {
    // The tags with an attribute value that starts with the key's first letter
    // (after a quote or not), in document order, until `visit` returns true.
    const unsigned letter = static_cast<unsigned char>(first);
    if (indexed_) {
        for (std::uint64_t bits = candidates_[kind][letter]; bits != 0; bits &= bits - 1)
            if (visit(static_cast<std::size_t>(__builtin_ctzll(bits)))) return;
        return;
    }
    const unsigned bucket = kind * 256u + letter;
    for (std::uint32_t k = bucketStart_[bucket]; k < bucketStart_[bucket + 1]; ++k)
        if (visit(bucketTags_[k])) return;
}

void HeadScanner::SplitMetaTags() {
    for (Tag& t : tags_) t.consumed = false;
}

std::vector<std::string> HeadScanner::MetaTags() const {
    std::vector<std::string> out;
    for (const Tag& t : tags_)
        if (!t.consumed) out.emplace_back(Text(t));
    return out;
}

bool HeadScanner::Matches(const Tag& t, std::uint8_t kind, std::string_view k) const {
    // A tag matches when, after one of its "attribute=", stands the key in
    // quotes or, failing that anywhere in the tag, the key itself.
    auto at = [](std::string_view lower, std::size_t pos, std::string_view what) {
        return lower.size() >= pos && lower.size() - pos >= what.size() && lower.compare(pos, what.size(), what) == 0;
    };
    const std::string_view lower = Lower(t);
    bool bare = false;
    for (std::uint32_t a = t.firstAttribute; a < t.firstAttribute + t.attributeCount; ++a) {
        const Attribute& attr = attributes_[a];
        if (attr.kind != kind) continue;
        // Neither form can stand here unless the key's first letter does.
        const bool quoted = attr.first == '"' || attr.first == '\'';
        if (!k.empty() && attr.first != k[0] && !(quoted && attr.second == k[0])) continue;
        const std::size_t value = attr.valueAt;
        if (quoted && at(lower, value + 1, k) && lower.size() > value + 1 + k.size() &&
            lower[value + 1 + k.size()] == attr.first)
            return true;
        bare = bare || at(lower, value, k);
    }
    return bare;
}

namespace {

// The key lower-cased, without a heap copy for the catalogue's short keys.
struct LowerKey {
    char buffer[64];
    std::string longKey;
    std::string_view k;
    explicit LowerKey(std::string_view key) {
        if (key.size() <= sizeof buffer) {
            for (std::size_t i = 0; i < key.size(); ++i) buffer[i] = LowerAsciiChar(key[i]);
            k = std::string_view(buffer, key.size());
        } else {
            longKey = LowerAscii(key);
            k = longKey;
        }
    }
};

}  // namespace

std::string HeadScanner::Lookup(std::string_view attribute, std::string_view key) {
    const LowerKey lowered(key);
    const std::string_view k = lowered.k;
    const std::uint8_t kind = attribute == "name" ? 0 : 1;
    auto take = [this](Tag& t) {
        t.consumed = true;
        return ExtractContent(Text(t), Lower(t));
    };
    if (!k.empty()) {
        std::string content;
        ForEachCandidate(kind, k[0], [&](std::size_t i) {
            Tag& t = tags_[i];
            if (t.consumed || !Matches(t, kind, k)) return false;
            content = take(t);
            return true;
        });
        return content;
    }
    for (Tag& t : tags_)
        if (!t.consumed && Matches(t, kind, k)) return take(t);
    return {};
}

void HeadScanner::MarkMatches(std::string_view attribute, std::string_view key, std::vector<bool>& marks) const {
    const LowerKey lowered(key);
    const std::uint8_t kind = attribute == "name" ? 0 : 1;
    marks.resize(tags_.size());
    if (!lowered.k.empty()) {
        ForEachCandidate(kind, lowered.k[0], [&](std::size_t i) {
            if (!marks[i] && Matches(tags_[i], kind, lowered.k)) marks[i] = true;
            return false;
        });
        return;
    }
    for (std::size_t i = 0; i < tags_.size(); ++i)
        if (!marks[i] && Matches(tags_[i], kind, lowered.k)) marks[i] = true;
}

std::string HeadScanner::NameContent(std::string_view key) {
    return DecodeEntities(Lookup("name", key));
}

std::vector<std::string> HeadScanner::NameContents(std::string_view key) const {
    std::vector<bool> marks;
    MarkMatches("name", key, marks);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < tags_.size(); ++i)
        if (marks[i]) out.push_back(DecodeEntities(ExtractContent(Text(tags_[i]), Lower(tags_[i]))));
    return out;
}

std::string HeadScanner::HttpEquivContent(std::string_view key) {
    return Lookup("http-equiv", key);
}

std::vector<std::string> CatalogueReading(std::string_view text) {
    HeadScanner scanner;
    scanner.Scan(text);
    std::vector<std::string> values;
    values.reserve(kEntryCount);
    for (const CatalogueEntry& entry : Catalogue()) {
        if (entry.kind == EntryKind::Title) values.push_back(FindTitle(text));
        else if (entry.kind == EntryKind::Name) values.push_back(scanner.NameContent(entry.key));
        else values.push_back(scanner.HttpEquivContent(entry.key));
    }
    return values;
}

}  // namespace veskaron
