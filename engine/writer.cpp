#include "engine/writer.h"

#include <algorithm>
#include <utility>

#include "engine/cp1251.h"
#include "engine/head_scanner.h"
#include "engine/translations.h"

namespace veskaron {
namespace {

constexpr std::string_view kHeadOpen = "<head>";
constexpr std::string_view kHeadClose = "</head>";
constexpr std::string_view kTitleOpen = "<title>";
constexpr std::string_view kTitleClose = "</title>";

// The text of a run together with the head's bounds and a lower-cased copy of
// the head, kept in step with every removal so that the old-tag searches never
// lower-case the page again.
class HeadWork {
public:
    explicit HeadWork(std::string& text) : text_(text), head_(FindHead(text)) {
        lower_ = LowerAscii(std::string_view(text_).substr(head_.begin, head_.end - head_.begin));
    }

    const HeadRange& Head() const { return head_; }

    bool RemoveTag(std::string_view attribute, std::string_view key) {
        std::string quoted;
        quoted.reserve(attribute.size() + key.size() + 3);
        quoted.append(attribute).append("=\"").append(key).append("\"");
        std::string bare(attribute);
        bare.append("=").append(key);
        for (const std::string* pattern : {&quoted, &bare}) {
            for (std::size_t at = lower_.find(*pattern); at != std::string::npos;
                 at = lower_.find(*pattern, at + 1)) {
                // Only a whole tag inside the head goes: "<" before the match with
                // no ">" between them, and ">" after it. Text that merely looks
                // like the attribute is left alone, and so is the tag before it.
                const std::size_t open = lower_.rfind('<', at);
                const std::size_t close = lower_.find('>', at);
                if (open == std::string::npos || close == std::string::npos) return false;
                const std::size_t lastClose = lower_.rfind('>', at);
                if (lastClose != std::string::npos && lastClose > open) continue;
                const std::size_t start = head_.begin + open;
                Erase(start, close - open + 1);
                DropBreaks(start);
                return true;
            }
        }
        return false;
    }

    std::string TakeTitle(std::string_view title) {
        const std::size_t open = FindNoCase(text_, kTitleOpen);
        if (open != std::string::npos) {
            const std::size_t close = FindNoCase(text_, kTitleClose, open + kTitleOpen.size());
            if (close != std::string::npos) {
                const std::size_t end = close + kTitleClose.size();
                // A title that overlaps the head's own tags stays, so that the
                // block still finds its place.
                if (!Overlaps(open, end)) {
                    Erase(open, end - open);
                    DropBreaks(open);
                }
            }
        }
        std::string line;
        line.reserve(title.size() + 16);
        line.append(kTitleOpen).append(EscapeTitle(title)).append(kTitleClose);
        return line;
    }

private:
    bool Overlaps(std::size_t from, std::size_t to) const {
        if (!head_.found) return false;
        auto hits = [from, to](std::size_t a, std::size_t b) { return from < b && a < to; };
        if (hits(head_.begin - kHeadOpen.size(), head_.begin)) return true;
        return head_.closed && hits(head_.end, head_.end + kHeadClose.size());
    }

    void DropBreaks(std::size_t pos) {
        for (int i = 0; i < 2; ++i) {
            const std::size_t n = LineBreakLength(pos);
            if (n == 0) return;
            Erase(pos, n);
        }
    }

    std::size_t LineBreakLength(std::size_t pos) const {
        if (pos >= text_.size()) return 0;
        if (text_[pos] == '\r') return pos + 1 < text_.size() && text_[pos + 1] == '\n' ? 2 : 1;
        return text_[pos] == '\n' ? 1 : 0;
    }

    // Removes text_[pos, pos + n) and keeps the head's bounds and copy in step.
    void Erase(std::size_t pos, std::size_t n) {
        const std::size_t end = pos + n;
        const std::size_t a = std::max(pos, head_.begin), b = std::min(end, head_.end);
        if (a < b) lower_.erase(a - head_.begin, b - a);
        auto shift = [pos, end, n](std::size_t p) { return p <= pos ? p : (p >= end ? p - n : pos); };
        head_.begin = shift(head_.begin);
        head_.end = shift(head_.end);
        text_.erase(pos, n);
    }

    std::string& text_;
    HeadRange head_;
    std::string lower_;
};

// A stored order that is not a permutation would write an entry twice and
// leave another's old tag behind: keep the first place of each valid index
// and add the missing ones in catalogue order.
OutputOrder UsableOrder(const OutputOrder& order) {
    if (IsPermutation(order)) return order;
    OutputOrder out{};
    std::array<bool, kEntryCount> seen{};
    std::size_t n = 0;
    for (int index : order) {
        if (index < 0 || index >= kEntryCount || seen[static_cast<std::size_t>(index)]) continue;
        seen[static_cast<std::size_t>(index)] = true;
        out[n++] = index;
    }
    for (int index = 0; index < kEntryCount; ++index)
        if (!seen[static_cast<std::size_t>(index)]) out[n++] = index;
    return out;
}

std::string AttributeLine(std::string_view attribute, std::string_view key, std::string_view value,
                          int attributeOrder) {
    std::string line;
    line.reserve(key.size() + value.size() + 40);
    if (attributeOrder == 0) {
        line.append("<meta ").append(attribute).append("=\"").append(key);
        line.append("\" content=\"").append(value).append("\" >");
    } else {
        line.append("<meta content=\"").append(value).append("\" ");
        line.append(attribute).append("=\"").append(key).append("\" >");
    }
    return line;
}

// The refresh and content-type forms: one value, no blank before ">".
std::string PairLine(std::string_view key, std::string_view value, int attributeOrder) {
    std::string line;
    if (attributeOrder == 0) {
        line.append("<meta http-equiv=\"").append(key).append("\" content=\"").append(value);
        line.append("\">");
    } else {
        line.append("<meta content=\"").append(value).append("\" http-equiv=\"").append(key);
        line.append("\">");
    }
    return line;
}

}  // namespace

HeadRange FindHead(std::string_view text) {
    HeadRange head;
    const std::size_t open = FindNoCase(text, kHeadOpen);
    if (open == std::string_view::npos) return head;
    head.found = true;
    head.begin = open + kHeadOpen.size();
    // A "</head>" earlier on the same line makes the scanner see an empty head.
    const std::size_t lineStart = text.find_last_of("\r\n", open) == std::string_view::npos
                                      ? 0
                                      : text.find_last_of("\r\n", open) + 1;
    const std::size_t earlyClose = FindNoCase(text.substr(0, open), kHeadClose, lineStart);
    if (earlyClose != std::string_view::npos) {
        head.end = head.begin;
        return head;
    }
    const std::size_t close = FindNoCase(text, kHeadClose, head.begin);
    head.closed = close != std::string_view::npos;
    head.end = head.closed ? close : text.size();
    return head;
}

std::string EscapeNameValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
            case '"': out += "&quot;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': {
                // Only an ampersand that would be read back as an entity is
                // escaped; "&nbsp;" and the like stay as the page had them.
                const std::string_view rest = value.substr(i + 1);
                const bool entity = rest.starts_with("lt;") || rest.starts_with("gt;") ||
                                    rest.starts_with("copy;") || rest.starts_with("quot;") ||
                                    rest.starts_with("amp;");
                out += entity ? "&amp;" : "&";
                break;
            }
            default: out += c;
        }
    }
    return out;
}

std::string EscapeHttpEquivValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '"': out += "&quot;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string EscapeTitle(std::string_view title) {
    // The title ends at the first "</title>": only that sequence is broken up.
    std::string out;
    out.reserve(title.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = FindNoCase(title, "</title", pos);
        if (hit == std::string_view::npos) break;
        out.append(title.substr(pos, hit - pos)).append("&lt;");
        pos = hit + 1;
    }
    out.append(title.substr(pos));
    return out;
}

std::string BuildEntryLine(int index, const MetaFields& fields, int attributeOrder, TextKind kind) {
    if (index < 0 || index >= kEntryCount) return {};
    const WrittenContent w = WriteEntry(index, fields, kind);
    if (!w.written) return {};
    const CatalogueEntry& entry = CatalogueAt(index);
    switch (index) {
        case kTitle: {
            std::string line;
            line.append(kTitleOpen).append(EscapeTitle(w.content)).append(kTitleClose);
            return line;
        }
        case kRefresh:
            if (CharCount(kind, w.second) > 3)
                return PairLine(entry.key, w.content + ";url=" + EscapeHttpEquivValue(w.second),
                                attributeOrder);
            return AttributeLine("http-equiv", entry.key, w.content, attributeOrder);
        case kContentType:
            return PairLine(entry.key,
                            EscapeHttpEquivValue(w.content) + "; charset=" +
                                EscapeHttpEquivValue(w.second),
                            attributeOrder);
        default:
            break;
    }
    if (entry.kind == EntryKind::Name)
        return AttributeLine("name", entry.key, EscapeNameValue(w.content), attributeOrder);
    return AttributeLine("http-equiv", entry.key, EscapeHttpEquivValue(w.content), attributeOrder);
}

std::size_t DropLineBreakAt(std::string& text, std::size_t pos) {
    // A CR LF pair goes whole; a stray CR or LF alone, so that the character
    // after it (which may start a tag) is never taken with it.
    std::size_t removed = 0;
    for (int i = 0; i < 2 && pos < text.size(); ++i) {
        std::size_t n = 0;
        if (text[pos] == '\r') n = pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
        else if (text[pos] == '\n') n = 1;
        if (n == 0) break;
        text.erase(pos, n);
        removed += n;
    }
    return removed;
}

bool RemoveMetaTag(std::string& text, std::string_view attribute, std::string_view key) {
    HeadWork work(text);
    return work.RemoveTag(LowerAscii(attribute), LowerAscii(key));
}

std::string TakeTitle(std::string& text, std::string_view title) {
    HeadWork work(text);
    return work.TakeTitle(title);
}

namespace {

std::string JoinBlock(const std::vector<std::string>& lines, int lineMode) {
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    std::string block;
    block.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && lineMode != 1) block += "\r\n";
        block += lines[i];
    }
    return block;
}

bool PlaceAt(std::string& text, const HeadRange& head, const std::vector<std::string>& lines,
             const MetaWriteOptions& options) {
    if (!head.found || (options.placement != 0 && !head.closed)) return false;
    // At the end of the head the block goes right in front of "</head>": a run
    // over its own output then gives the same text again.
    const std::size_t at = options.placement == 0 ? head.begin : head.end;
    text.insert(at, JoinBlock(lines, options.lineMode));
    return true;
}

}  // namespace

bool PlaceBlock(std::string& text, const std::vector<std::string>& lines,
                const MetaWriteOptions& options) {
    return PlaceAt(text, FindHead(text), lines, options);
}

WriteResult WriteMetaBlock(std::string& text, const MetaFields& fields,
                           const MetaWriteOptions& options) {
    auto refuse = [](std::string_view message) {
        return WriteResult{WriteStatus::Refused, std::string(message)};
    };
    if (fields.RefreshOn && fields.RefreshSeconds < 0) return refuse(kRefreshRefusal);
    if (fields.ContentTypeOn) {
        const WrittenContent ct = WriteEntry(kContentType, fields);
        if (ct.content.empty() && !ct.second.empty()) return refuse(kContentTypeRefusal);
    }
    {
        const HeadRange head = FindHead(text);
        if (!head.found) return refuse(kNoHeadRefusal);
        if (options.placement != 0 && !head.closed) return refuse(kNoHeadEndRefusal);
        const std::size_t title = FindNoCase(text, kTitleOpen);
        if (title != std::string::npos &&
            FindNoCase(text, kTitleClose, title + kTitleOpen.size()) == std::string::npos)
            return refuse(kUnclosedTitleRefusal);
    }

    HeadWork work(text);
    std::vector<std::string> block;
    block.reserve(kEntryCount);
    for (int index : UsableOrder(options.order)) {
        const CatalogueEntry& entry = CatalogueAt(index);
        std::string line;
        if (index == kTitle) {
            line = work.TakeTitle(fields.Title);
        } else {
            work.RemoveTag(entry.kind == EntryKind::Name ? "name" : "http-equiv", entry.key);
            line = BuildEntryLine(index, fields, options.attributeOrder, options.kind);
        }
        if (line.size() > 3) block.push_back(std::move(line));
    }
    PlaceAt(text, work.Head(), block, options);
    return {};
}

WriteResult WriteMetaBlock(std::string& text, MetaFields& fields, const MetaWriteOptions& options) {
    WriteResult result = WriteMetaBlock(text, std::as_const(fields), options);
    if (!result.Done()) return result;
    for (int i = 0; i < 4; ++i) {
        Transition& t = fields.TransitionAt(i);
        if (t.On && (t.Effect < 0 || t.Effect >= kEffectCount)) t.Effect = 23;
    }
    return result;
}

}  // namespace veskaron
