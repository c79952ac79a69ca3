#include "engine/writer.h"

#include <algorithm>
#include <utility>

#include "engine/cp1251.h"
#include "engine/head_scanner.h"
#include "engine/modern_head.h"
#include "engine/translations.h"

namespace veskaron {
namespace {

constexpr std::string_view kTitleOpen = "<title>";
constexpr std::string_view kTitleClose = "</title>";

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The length of the line break at `pos` (CR LF, CR or LF), 0 when there is none.
std::size_t LineBreakLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    if (text[pos] == '\r') return pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    return text[pos] == '\n' ? 1 : 0;
}

// A stretch of the text that a run takes out, or replaces by one of its
// replacements.
struct Cut {
    std::size_t start = 0, end = 0;
    int replacement = -1;
    bool Replaces() const { return replacement >= 0; }
};

// The old title and catalogued tags of a page, found once, and removed in one
// pass over the text together with the placing of the block.
// Where a block goes in a scanned text: right after the head's start tag, or
// in front of its end tag, though never after a "<meta" or "<title" that the
// end of the head leaves open (the block would be read as part of that tag).
// Nor inside a comment, script, style or any other tag that holds the "</head>".
std::size_t BlockInsertionPoint(std::string_view text, const HeadScanner& scanner, Placement placement) {
    const HeadRange& head = scanner.Head();
    if (placement == Placement::AfterHeadOpen) return head.begin;
    return std::min({head.end, scanner.UnclosedTagAt(), UnclosedTitleStart(text, head), LeftOpenBeforeHeadEnd(text)});
}

class HeadEdit {
public:
    explicit HeadEdit(std::string_view text) : text_(text) {
        scanner_.Scan(text);
        marks_.assign(scanner_.TagCount(), false);
        // The title a load reads, and every other one before the end of the
        // head, which would be read in its place after a save.
        const HeadRange& head = scanner_.Head();
        TitleElement title = FindTitleElement(text, head);
        while (title.found) {
            titles_.push_back(title);
            if (!title.closed || !head.found || title.end >= head.end) break;
            title = FindTitleElement(text, head, title.end, head.end);
        }
    }

    const HeadRange& Head() const { return scanner_.Head(); }
    bool TitleUnclosed() const { return !titles_.empty() && !titles_.back().closed; }

    void MarkEntry(std::string_view attribute, std::string_view key) { scanner_.MarkMatches(attribute, key, marks_); }
    void MarkTitle() { takeTitle_ = !TitleUnclosed(); }

    std::size_t InsertionPoint(Placement placement) const { return BlockInsertionPoint(text_, scanner_, placement); }

    // Takes the marked tags and titles out of `text` (the text this edit was
    // made for) and puts `block` in at `insertAt`, a position of the original
    // text. Only the part up to the last change is rebuilt: the rest of a large
    // page is moved once, in place when it fits.
    // Whether anything was taken out.
    bool Apply(std::string& text, std::size_t insertAt, std::string_view block) const {
        std::string out;
        const std::size_t touched = Build(insertAt, block, out);
        text.replace(0, touched, out);
        return tookOut_;
    }

    // Whether the last Build took anything out.
    bool TookOut() const { return tookOut_; }

    // What Apply puts in place of the text's first `returned` characters.
    std::size_t Build(std::size_t insertAt, std::string_view block, std::string& out) const {
        std::vector<std::string> replacements;
        const std::vector<Cut> cuts = Tidied(Cuts(replacements));
        const bool insert = insertAt != std::string_view::npos;
        std::size_t touched = insert ? insertAt : 0;
        if (!cuts.empty()) touched = std::max(touched, cuts.back().end);
        tookOut_ = !cuts.empty();
        out.clear();
        out.reserve(touched + block.size());
        std::size_t copied = 0;
        bool inserted = !insert;
        for (const Cut& c : cuts) {
            if (!inserted && insertAt <= c.start) {
                out.append(text_, copied, insertAt - copied);
                out.append(block);
                copied = insertAt;
                inserted = true;
            }
            out.append(text_, copied, c.start - copied);
            if (!inserted && insertAt < c.end) {
                // Never inside what goes: in front of it.
                out.append(block);
                inserted = true;
            }
            if (c.Replaces()) out.append(replacements[static_cast<std::size_t>(c.replacement)]);
            copied = c.end;
        }
        if (!inserted) {
            out.append(text_, copied, insertAt - copied);
            out.append(block);
            copied = insertAt;
        }
        out.append(text_, copied, touched - copied);
        return touched;
    }

private:
    // The stretches to take out, in text order, without overlaps; the texts
    // that replace some of them go to `replacements`.
    std::vector<Cut> Cuts(std::vector<std::string>& replacements) const {
        // What stays in a stretch's place comes in pieces, each at the place
        // of the tag it is kept for, so that stretches run together keep
        // them in text order.
        struct Piece {
            std::size_t at;
            std::string text;
        };
        struct Stretch {
            std::size_t start, end;
            std::vector<Piece> pieces;
        };
        std::vector<Stretch> stretches;
        for (const TitleElement& title : titles_) {
            if (!takeTitle_) break;
            // A title that holds the head's start tag keeps that tag.
            const HeadRange& head = scanner_.Head();
            const std::size_t from = title.start, to = title.end;
            if (head.found && from < head.begin && head.startTag < to) {
                if (from < head.startTag) stretches.push_back({from, head.startTag, {}});
                if (head.begin < to) stretches.push_back({head.begin, to, {}});
            } else {
                stretches.push_back({from, to, {}});
                // "<meta charset=x<title>": the tag lacks its own '>' and the
                // load reads it up to the title's; that '>' stays with the tag.
                if (ClosesATag(from)) stretches.back().pieces.push_back({from, ">"});
            }
            // "<title\n<meta charset=x></title>": the title's start tag runs
            // over a META tag that the load may read the page's charset from.
            AddCharsetsWithin(from, to, [&](std::size_t at, std::string kept) {
                stretches.back().pieces.push_back({at, std::move(kept)});
            });
        }
        const std::size_t titleStretches = stretches.size();
        for (std::size_t i = 0; i < marks_.size(); ++i) {
            if (!marks_[i]) continue;
            const TagSpan span = scanner_.Span(i);
            stretches.push_back({span.start, span.end, {}});
            // A charset declared in a catalogued tag outlives the tag, and so
            // does a property ("og:description") that the tag carries beside its name.
            // (The tag kept for its property keeps its charset attribute too.)
            const std::string_view raw = text_.substr(span.start, span.end - span.start);
            std::string kept = TagKeptWithoutName(raw);
            if (kept.empty() && FindNoCase(raw, "charset") != std::string_view::npos) {
                const std::string charset = CharsetAttribute(raw);
                if (!charset.empty()) kept = "<meta charset=\"" + charset + "\">";
            }
            if (!kept.empty()) stretches.back().pieces.push_back({span.start, std::move(kept)});
        }
        // Both parts are in text order already.
        auto byStart = [](const Stretch& a, const Stretch& b) { return a.start < b.start; };
        std::inplace_merge(stretches.begin(), stretches.begin() + static_cast<std::ptrdiff_t>(titleStretches),
                           stretches.end(), byStart);
        std::vector<Stretch> merged;
        merged.reserve(stretches.size());
        for (Stretch& s : stretches) {
            if (!merged.empty() && s.start < merged.back().end) {
                // A tag inside the old title goes with it; a title that a
                // removed tag runs into goes with the tag, and the '>' kept
                // for that tag is not needed. What either keeps stays.
                Stretch& into = merged.back();
                into.end = std::max(into.end, s.end);
                for (Piece& piece : s.pieces)
                    if (piece.text != ">") into.pieces.push_back(std::move(piece));
                continue;
            }
            merged.push_back(std::move(s));
        }
        std::vector<Cut> cuts;
        cuts.reserve(merged.size());
        for (Stretch& s : merged) {
            Cut cut{s.start, s.end, -1};
            if (!s.pieces.empty()) {
                std::stable_sort(s.pieces.begin(), s.pieces.end(),
                                 [](const Piece& a, const Piece& b) { return a.at < b.at; });
                std::string text;
                for (const Piece& piece : s.pieces) text += piece.text;
                cut.replacement = static_cast<int>(replacements.size());
                replacements.push_back(std::move(text));
            }
            cuts.push_back(cut);
        }
        return cuts;
    }

    // Removals with only line breaks between them go as one stretch, with the
    // line breaks; up to two line breaks after the stretch go with it (its own
    // line's and an empty line's). A stretch right after the head's start tag
    // keeps the line breaks after it: that is where a run puts its block, so a
    // run over its own output gives the same text again.
    std::vector<Cut> Tidied(const std::vector<Cut>& cuts) const {
        std::vector<Cut> out;
        for (std::size_t i = 0; i < cuts.size();) {
            if (cuts[i].Replaces()) {
                out.push_back(cuts[i]);
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j + 1 < cuts.size() && !cuts[j + 1].Replaces() && OnlyLineBreaks(cuts[j].end, cuts[j + 1].start)) ++j;
            const std::size_t start = cuts[i].start;
            std::size_t end = cuts[j].end;
            const HeadRange& head = scanner_.Head();
            if (!(head.found && start == head.begin)) {
                end += LineBreakLength(text_, end);
                end += LineBreakLength(text_, end);
            }
            out.push_back({start, end, -1});
            i = j + 1;
        }
        return out;
    }

    // Calls add(where, "<meta charset=\"x\">") for each META tag of the scan,
    // not taken out on its own, that starts within [from, to) and declares a
    // charset: the load takes the first of them it can use.
    template <typename Add>
    void AddCharsetsWithin(std::size_t from, std::size_t to, Add&& add) const {
        std::size_t lo = 0, hi = scanner_.TagCount();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (scanner_.Span(mid).start < from) lo = mid + 1;
            else hi = mid;
        }
        for (std::size_t i = lo; i < scanner_.TagCount() && scanner_.Span(i).start < to; ++i) {
            if (marks_[i]) continue;
            const TagSpan span = scanner_.Span(i);
            const std::string_view raw = text_.substr(span.start, span.end - span.start);
            if (FindNoCase(raw, "charset") == std::string_view::npos) continue;
            const std::string charset = CharsetAttribute(raw);
            if (!charset.empty()) add(span.start, "<meta charset=\"" + charset + "\">");
        }
    }

    // Whether a META tag of the scan starts before `pos` and ends after it.
    bool ClosesATag(std::size_t pos) const {
        std::size_t lo = 0, hi = scanner_.TagCount();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (scanner_.Span(mid).start < pos) lo = mid + 1;
            else hi = mid;
        }
        return lo > 0 && scanner_.Span(lo - 1).end > pos;
    }

    bool OnlyLineBreaks(std::size_t from, std::size_t to) const {
        for (std::size_t k = from; k < to; ++k)
            if (!IsLineBreak(text_[k])) return false;
        return true;
    }

    std::string_view text_;
    HeadScanner scanner_;
    std::vector<TitleElement> titles_;
    std::vector<bool> marks_;
    bool takeTitle_ = false;
    mutable bool tookOut_ = false;
};

std::string TitleLine(std::string_view title) {
    std::string line;
    line.reserve(title.size() + 16);
    line.append(kTitleOpen).append(EscapeTitle(title)).append(kTitleClose);
    return line;
}

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
                          AttributeOrder attributeOrder) {
    std::string line;
    line.reserve(key.size() + value.size() + 40);
    if (attributeOrder == AttributeOrder::KeyFirst) {
        line.append("<meta ").append(attribute).append("=\"").append(key);
        line.append("\" content=\"").append(value).append("\" >");
    } else {
        line.append("<meta content=\"").append(value).append("\" ");
        line.append(attribute).append("=\"").append(key).append("\" >");
    }
    return line;
}

// The refresh and content-type forms: one value, no blank before ">".
std::string PairLine(std::string_view key, std::string_view value, AttributeOrder attributeOrder) {
    std::string line;
    if (attributeOrder == AttributeOrder::KeyFirst) {
        line.append("<meta http-equiv=\"").append(key).append("\" content=\"").append(value);
        line.append("\">");
    } else {
        line.append("<meta content=\"").append(value).append("\" http-equiv=\"").append(key);
        line.append("\">");
    }
    return line;
}

}  // namespace

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
    // The title ends at the first "</title>", and the head (the title with it)
    // at the first "</head>", each also with a blank or '/' after the name:
    // only those are broken up ("</header>" or "</titles" end nothing).
    auto endTag = [](std::string_view rest, std::string_view lowerName) {
        if (FindNoCase(rest.substr(0, lowerName.size()), lowerName) != 0 || rest.size() == lowerName.size()) return false;
        const char next = rest[lowerName.size()];
        return next == '>' || next == '/' || IsTagSpace(next);
    };
    std::string out;
    out.reserve(title.size());
    std::size_t pos = 0;
    for (std::size_t hit = title.find('<'); hit != std::string_view::npos; hit = title.find('<', hit + 1)) {
        const std::string_view rest = title.substr(hit);
        if (!endTag(rest, "</title") && !endTag(rest, "</head")) continue;
        out.append(title.substr(pos, hit - pos)).append("&lt;");
        pos = hit + 1;
    }
    out.append(title.substr(pos));
    return out;
}

std::string BuildEntryLine(int index, const MetaFields& fields, AttributeOrder attributeOrder, TextKind kind) {
    if (index < 0 || index >= kEntryCount) return {};
    const WrittenContent w = WriteEntry(index, fields, kind);
    if (!w.written) return {};
    const CatalogueEntry& entry = CatalogueAt(index);
    if (w.own) {
        // The page's own words, in the block's layout.
        if (entry.kind == EntryKind::Name)
            return AttributeLine("name", entry.key, EscapeNameValue(w.content), attributeOrder);
        if (index == kRefresh || index == kContentType)
            return PairLine(entry.key, EscapeHttpEquivValue(w.content), attributeOrder);
        return AttributeLine("http-equiv", entry.key, EscapeHttpEquivValue(w.content), attributeOrder);
    }
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

bool BlockDiffers(const MetaFields& was, const MetaFields& now, const MetaWriteOptions& options) {
    if (was.Title != now.Title) return true;
    for (int index = kTitle + 1; index < kEntryCount; ++index) {
        if (BuildEntryLine(index, was, options.attributeOrder, options.kind) !=
            BuildEntryLine(index, now, options.attributeOrder, options.kind))
            return true;
    }
    return false;
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
    HeadEdit edit(text);
    edit.MarkEntry(LowerAscii(attribute), key);
    return edit.Apply(text, std::string_view::npos, {});
}

std::string TakeTitle(std::string& text, std::string_view title) {
    HeadEdit edit(text);
    edit.MarkTitle();
    edit.Apply(text, std::string_view::npos, {});
    return TitleLine(title);
}

namespace {

std::string JoinBlock(const std::vector<std::string>& lines, LineMode lineMode) {
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    std::string block;
    block.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && lineMode != LineMode::OneLine) block += "\r\n";
        block += lines[i];
    }
    return block;
}

bool HasPlace(const HeadRange& head, const MetaWriteOptions& options) {
    return head.found && (options.placement == Placement::AfterHeadOpen || head.closed);
}

}  // namespace

namespace {

// Whether `edited` reads like `text` but for the entries whose lines changed,
// which read as their new lines do on their own.
bool ReadsAsWritten(std::string_view text, std::string_view edited, const MetaFields& was, const MetaFields& now,
                    const MetaWriteOptions& options) {
    const std::vector<std::string> old = CatalogueReading(text), got = CatalogueReading(edited);
    for (int index = 0; index < kEntryCount; ++index) {
        const std::string line = BuildEntryLine(index, now, options.attributeOrder, options.kind);
        const auto i = static_cast<std::size_t>(index);
        if (line == BuildEntryLine(index, was, options.attributeOrder, options.kind)) {
            if (got[i] != old[i]) return false;
        } else if (got[i] != CatalogueReading("<head>" + line + "</head>")[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ReplaceEntriesInPlace(std::string& text, const MetaFields& was, const MetaFields& now,
                           const MetaWriteOptions& options) {
    HeadScanner scanner;
    scanner.Scan(text);
    const HeadRange& head = scanner.Head();
    if (!head.found || !head.closed) return false;
    // What is replaced, and the whole element it belongs to, which no other
    // change may reach into.
    struct Change {
        std::size_t start, end;
        std::string with;
        std::size_t elementStart, elementEnd;
    };
    std::vector<Change> changes;
    std::vector<bool> marks;
    const TitleElement title = FindTitleElement(text, head);
    // Tags the page lacks go where the block would, one line each, in the
    // output order.
    std::string added;
    for (int index : UsableOrder(options.order)) {
        const std::string line = BuildEntryLine(index, now, options.attributeOrder, options.kind);
        if (line == BuildEntryLine(index, was, options.attributeOrder, options.kind)) continue;
        const CatalogueEntry& entry = CatalogueAt(index);
        if (line.empty() || entry.kind == EntryKind::HttpEquiv) return false;
        if (index == kTitle) {
            if (!title.found || !title.closed || title.start < head.begin || title.end > head.end ||
                FindTitleElement(text, head, title.end, head.end).found)
                return false;
            changes.push_back({title.textBegin, title.textEnd,
                               line.substr(kTitleOpen.size(), line.size() - kTitleOpen.size() - kTitleClose.size()),
                               title.start, title.end});
            continue;
        }
        marks.assign(scanner.TagCount(), false);
        scanner.MarkMatches("name", entry.key, marks);
        const auto count = std::count(marks.begin(), marks.end(), true);
        if (count == 0) {
            added.append(line).append("\r\n");
            continue;
        }
        if (count != 1) return false;
        const auto tag = static_cast<std::size_t>(std::find(marks.begin(), marks.end(), true) - marks.begin());
        const TagSpan span = scanner.Span(tag);
        if (span.start < head.begin || span.end > head.end) return false;
        // A tag that also carries a property, or an http-equiv that the load
        // may read it under too, is split by the block.
        const std::string_view raw = std::string_view(text).substr(span.start, span.end - span.start);
        if (FindNoCase(raw, "property") != std::string_view::npos || FindNoCase(raw, "itemprop") != std::string_view::npos ||
            FindNoCase(raw, "http-equiv") != std::string_view::npos)
            return false;
        changes.push_back({span.start, span.end, line, span.start, span.end});
    }
    if (!added.empty()) {
        const std::size_t at = BlockInsertionPoint(text, scanner, options.placement);
        // On lines of their own, without an empty line after them.
        if (at > 0 && text[at - 1] != '\n') added.insert(0, "\r\n");
        if (std::string_view(text).substr(at, 2) == "\r\n") added.resize(added.size() - 2);
        changes.push_back({at, at, std::move(added), at, at});
    }
    std::sort(changes.begin(), changes.end(),
              [](const Change& a, const Change& b) {
                  // Added lines (an empty stretch) go in front of a tag they touch.
                  return a.elementStart != b.elementStart ? a.elementStart < b.elementStart
                                                          : a.elementEnd < b.elementEnd;
              });
    for (std::size_t i = 1; i < changes.size(); ++i)
        if (changes[i].elementStart < changes[i - 1].elementEnd) return false;
    std::string edited;
    edited.reserve(text.size() + 64 * changes.size());
    std::size_t copied = 0;
    for (const Change& c : changes) {
        edited.append(text, copied, c.start - copied).append(c.with);
        copied = c.end;
    }
    edited.append(text, copied);
    // A tag may hold the title's start tag (a '>' inside a quoted value ends
    // it there) or another entry's key, and a broken head can read a tag
    // otherwise once its neighbour changed: the edit stands only when every
    // entry reads as intended, else the block goes.
    if (!ReadsAsWritten(text, edited, was, now, options)) return false;
    text = std::move(edited);
    return true;
}

bool PlaceBlock(std::string& text, const std::vector<std::string>& lines,
                const MetaWriteOptions& options) {
    const HeadEdit edit(text);
    if (!HasPlace(edit.Head(), options)) return false;
    edit.Apply(text, edit.InsertionPoint(options.placement), JoinBlock(lines, options.lineMode));
    return true;
}

WriteResult WriteMetaBlock(std::string& text, const MetaFields& fields,
                           const MetaWriteOptions& options) {
    auto refuse = [](Refusal why) { return WriteResult{WriteStatus::Refused, why}; };
    if (fields.RefreshOn && fields.RefreshSeconds < 0) return refuse(Refusal::NegativeRefresh);
    if (fields.ContentTypeOn) {
        const WrittenContent ct = WriteEntry(kContentType, fields);
        if (ct.content.empty() && !ct.second.empty()) return refuse(Refusal::EmptyContentType);
    }
    HeadEdit edit(text);
    if (!edit.Head().found) return refuse(Refusal::NoHead);
    if (!HasPlace(edit.Head(), options)) return refuse(Refusal::NoHeadEnd);
    if (edit.TitleUnclosed()) return refuse(Refusal::UnclosedTitle);

    // Every catalogued tag of the head goes, however often the page repeats it,
    // so that the page holds what the fields say.
    std::vector<std::string> block;
    block.reserve(kEntryCount);
    for (int index : UsableOrder(options.order)) {
        const CatalogueEntry& entry = CatalogueAt(index);
        std::string line;
        if (index == kTitle) {
            edit.MarkTitle();
            line = TitleLine(fields.Title);
        } else {
            edit.MarkEntry(entry.kind == EntryKind::Name ? "name" : "http-equiv", entry.key);
            line = BuildEntryLine(index, fields, options.attributeOrder, options.kind);
        }
        if (line.size() > 3) block.push_back(std::move(line));
    }
    std::string head;
    const std::size_t touched = edit.Build(edit.InsertionPoint(options.placement), JoinBlock(block, options.lineMode), head);
    // Taking a tag out may close or open a quote of a tag beside it as HTML
    // reads the head: the head tags beside the catalogue must read as
    // before, else the run is refused. They are read from the new head and
    // the old end tag after it. A block put in alone changes no tag.
    if (edit.TookOut()) {
        const std::size_t headEnd = edit.Head().end;
        const std::size_t tail = headEnd > touched ? headEnd - touched + 64 : 64;
        if (!KeepsHeadTags(ReadModernHead(text), head + text.substr(touched, tail)))
            return refuse(Refusal::UnreadableEdit);
    }
    text.replace(0, touched, head);
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
