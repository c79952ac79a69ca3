#include "engine/translations.h"

#include <cstdio>

#include "engine/catalogue.h"
#include "engine/cp1251.h"

namespace veskaron {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Index of `text` in `items` comparing whole texts with ASCII case ignored;
// -1 on a miss. The item lists compared here are ASCII.
template <std::size_t N>
int FindItem(const std::array<std::string_view, N>& items, std::string_view text) {
    const std::string lower = LowerAscii(text);
    for (std::size_t i = 0; i < N; ++i)
        if (LowerAscii(items[i]) == lower) return static_cast<int>(i);
    return -1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return LowerAscii(a) == LowerAscii(b);
}

std::string JoinLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') { ++i; continue; }
        out += text[i];
    }
    return out;
}

// The robots words, compared whole in any case with blanks ignored. The
// list's four entries say whether to index and whether to follow; words the
// list has no entry for (noarchive, max-snippet:50) do not change that, and
// where the words disagree the stricter one counts. Words that say neither
// give 0: the page's own words then stand alone.
void ReadRobots(std::string_view content, MetaFields& f, TextKind kind) {
    f.Robots = 0;
    if (content.empty()) return;
    int index = 0, follow = 0;  // 1 yes, -1 no, 0 not said
    const std::string lower = LowerFor(kind, content);
    for (std::size_t from = 0; from <= lower.size();) {
        std::size_t comma = lower.find(',', from);
        if (comma == std::string::npos) comma = lower.size();
        const std::string word = TrimBlanks(std::string_view(lower).substr(from, comma - from));
        from = comma + 1;
        auto say = [](int& what, int value) { what = what < 0 ? what : value; };
        if (word == "none") { say(index, -1); say(follow, -1); }
        else if (word == "all") { say(index, 1); say(follow, 1); }
        else if (word == "index") say(index, 1);
        else if (word == "noindex") say(index, -1);
        else if (word == "follow") say(follow, 1);
        else if (word == "nofollow") say(follow, -1);
    }
    if (index == 0 && follow == 0) return;
    if (index < 0) f.Robots = follow < 0 ? 1 : 4;
    else f.Robots = follow < 0 ? 3 : 2;
}

std::string ReadRevisit(std::string_view content, MetaFields& f) {
    if (content.empty()) { f.RevisitCount = 30; f.RevisitUnit = 0; return {}; }
    const WordParts w = SplitWords(content, ' ');
    const IntResult n = ParseContentInt(w.part[0]);
    if (!n.ok) return n.error;
    f.SetRevisitCount(n.value);
    f.RevisitUnit = 0;
    if (EqualsNoCase(w.part[1], "day")) f.RevisitUnit = 1;
    else if (EqualsNoCase(w.part[1], "weeks")) f.RevisitUnit = 2;
    else if (EqualsNoCase(w.part[1], "month")) f.RevisitUnit = 3;
    return {};
}

// Distribution and cache-control: short contents clear, known words select.
void ReadWordIndex(std::string_view content, int& field, TextKind kind,
                   std::initializer_list<std::pair<const char*, int>> words) {
    field = 0;
    if (CharCount(kind, content) <= 4) return;
    for (const auto& [word, value] : words)
        if (EqualsNoCase(content, word)) { field = value; return; }
}

// The refresh box follows the page: a save keeps the page's own refresh tag
// and never adds one the page lacks. A delay alone counts as a refresh too;
// the address keeps its letter case (servers may tell it apart).
std::string ReadRefresh(std::string_view content, MetaFields& f, bool& urlEnabled, TextKind kind) {
    const ContentParts parts = SplitContent(content, "url", kind);
    f.RefreshUrl.clear();
    if (parts.outcome == SplitOutcome::Absent) {
        // A content that is no delay at all must not become a reload every few seconds.
        const std::string trimmed = TrimBlanks(content);
        const IntResult delay = ParseContentInt(trimmed);
        f.RefreshOn = !trimmed.empty() && delay.ok;
        f.RefreshSeconds = kRefreshDefault;
        if (f.RefreshOn) f.SetRefreshSeconds(delay.value);
        urlEnabled = f.RefreshOn;
        return {};
    }
    urlEnabled = true;
    if (parts.outcome == SplitOutcome::Both) f.RefreshUrl = parts.secondAsWritten;
    if (parts.outcome == SplitOutcome::FirstOnly && parts.first.empty()) {
        f.RefreshOn = true;
        f.RefreshSeconds = kRefreshDefault;
        return {};
    }
    const IntResult n = ParseContentInt(parts.first);
    if (!n.ok) return n.error;
    f.RefreshOn = true;
    f.SetRefreshSeconds(n.value);
    return {};
}

// A charset text kept for writing back must be a plain name, or one in quotes
// ("'utf-8'", kept with them so it is written back as the page had it): a text
// such as "= koi8-r" stays unread, as before, rather than coming back as another charset.
std::string OwnCharsetText(std::string_view text) {
    const std::string name = TrimBlanks(text);
    std::string_view bare = name;
    if (bare.size() >= 2 && (bare.front() == '\'' || bare.front() == '"') && bare.back() == bare.front())
        bare = bare.substr(1, bare.size() - 2);
    if (bare.empty() || bare.size() > 40) return {};
    for (char c : bare) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '_' || c == '.' || c == ':';
        if (!ok) return {};
    }
    return name;
}

void ReadContentType(std::string_view content, MetaFields& f, TextKind kind) {
    const ContentParts parts = SplitContent(content, "charset", kind);
    f.CharsetText.clear();
    if (parts.outcome == SplitOutcome::Absent) {
        f.ContentTypeOn = false;
        f.ContentType = -1;
        f.Charset = -1;
        return;
    }
    f.ContentTypeOn = true;
    const int type = FindItem(ItemLists::Type, parts.first);
    f.ContentType = type < 1 ? 0 : type;
    if (parts.outcome == SplitOutcome::Both) {
        const int charset = FindItem(ItemLists::Charset, parts.second);
        f.Charset = charset < 1 ? 0 : charset;
        if (f.Charset == 0) f.CharsetText = OwnCharsetText(parts.secondAsWritten);
    } else {
        // A page that names no charset must not inherit the previous page's:
        // a KOI8 charset left over would convert this page's text on save.
        f.Charset = 0;
    }
}

// Substring by a 0-based start that may lie outside the text, end
// exclusive; anything outside the text is cut off.
std::string_view Slice(std::string_view s, long long start, long long end) {
    if (start < 0) start = 0;
    if (end > static_cast<long long>(s.size())) end = static_cast<long long>(s.size());
    if (start >= end) return {};
    return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

long long PosOrMinus1(std::string_view s, std::string_view what) {
    const auto p = s.find(what);
    return p == std::string_view::npos ? -1 : static_cast<long long>(p);
}

// A content the numbers cannot be read from (another filter, "blendTrans(...)")
// is still a transition the page has: it stays on, its words kept as its own.
void ReadTransition(std::string_view content, Transition& t, char localeSep, TextKind kind) {
    t.Duration = 4;
    t.Effect = 23;
    t.On = !content.empty();
    if (!t.On) return;
    const std::string lower = LowerFor(kind, content);
    // A missing word or terminator behaves as a position before the text, so
    // the slices below come out empty or start near the beginning.
    const long long dur = PosOrMinus1(lower, "duration");
    const long long dot = PosOrMinus1(lower, ".");
    const long long tra = PosOrMinus1(lower, "transition");
    const long long paren = PosOrMinus1(lower, ")");
    const IntResult d = ParseContentInt(CleanNumberText(Slice(lower, dur + 9, dot), localeSep));
    const IntResult e = ParseContentInt(CleanNumberText(Slice(lower, tra + 11, paren), localeSep));
    if (!d.ok || !e.ok) return;
    t.SetDuration(d.value);
    t.SetEffect(e.value);
}

// Blanks dropped and ASCII letters lowered: list words compare so.
std::string Normalised(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!IsBlank(c)) out += LowerAsciiChar(c);
    return out;
}

bool IsTextEntry(int index) {
    switch (index) {
        case kAuthor: case kCopyright: case kDescription: case kKeywords: case kGenerator:
        case kProgId: case kUrl: case kLocation:
            return true;
        default:
            return false;
    }
}

const std::string& EntryText(int index, const MetaFields& f) {
    switch (index) {
        case kAuthor: return f.Author;
        case kCopyright: return f.Copyright;
        case kDescription: return f.Description;
        case kKeywords: return f.Keywords;
        case kGenerator: return f.Generator;
        case kProgId: return f.ProgId;
        case kUrl: return f.Url;
        default: return f.Location;
    }
}

int Selected(int index) { return index < 0 ? 0 : index; }

}  // namespace

bool SameEntryValues(int index, const MetaFields& a, const MetaFields& b) {
    switch (index) {
        case kRobots: return Selected(a.Robots) == Selected(b.Robots);
        case kRevisitAfter:
            return Selected(a.RevisitUnit) == Selected(b.RevisitUnit) && a.RevisitCount == b.RevisitCount;
        case kDistribution: return Selected(a.Distribution) == Selected(b.Distribution);
        case kCacheControl: return Selected(a.CacheControl) == Selected(b.CacheControl);
        case kPragma: return Selected(a.Pragma) == Selected(b.Pragma);
        case kRefresh:
            return a.RefreshOn == b.RefreshOn && a.RefreshSeconds == b.RefreshSeconds &&
                   TrimBlanks(a.RefreshUrl) == TrimBlanks(b.RefreshUrl);
        case kContentType:
            return a.ContentTypeOn == b.ContentTypeOn && Selected(a.ContentType) == Selected(b.ContentType) &&
                   Selected(a.Charset) == Selected(b.Charset) && a.CharsetText == b.CharsetText;
        case kContentLanguage: return Selected(a.ContentLanguage) == Selected(b.ContentLanguage);
        case kPageEnter: case kPageExit: case kSiteEnter: case kSiteExit:
            return a.TransitionAt(index - kPageEnter) == b.TransitionAt(index - kPageEnter);
        default: return IsTextEntry(index) ? EntryText(index, a) == EntryText(index, b) : false;
    }
}

namespace {

WrittenContent WriteByFields(int index, const MetaFields& f, TextKind kind);

}  // namespace

std::string TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

WordParts SplitWords(std::string_view text, char sep) {
    WordParts w;
    int part = 0;
    for (char c : text) {
        if (c == sep) {
            ++w.separators;
            ++part;
            continue;
        }
        if (part < 3) w.part[part] += c;
    }
    return w;
}

ContentParts SplitContent(std::string_view content, std::string_view secondName, TextKind kind) {
    ContentParts r;
    if (TrimBlanks(content).empty()) return r;
    const auto semi = content.find(';');
    if (semi == std::string_view::npos) return r;
    // Positions are taken in the content itself: lower case may change the
    // length of a UTF-8 text. The name is ASCII, so ASCII case is enough to find it.
    r.first = LowerFor(kind, content.substr(0, semi));
    const auto name = LowerAscii(content).find(secondName);
    if (name == std::string::npos) {
        r.outcome = SplitOutcome::FirstOnly;
        return r;
    }
    const std::size_t from = name + secondName.size() + 1;
    if (from < content.size()) {
        r.secondAsWritten = content.substr(from);
        r.second = LowerFor(kind, r.secondAsWritten);
    }
    r.outcome = SplitOutcome::Both;
    return r;
}

IntResult ParseContentInt(std::string_view text) {
    IntResult r;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t digits = i;
    long long value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (overflow) continue;  // keep scanning for a stray character, stop growing
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) overflow = true;
    }
    if (i == digits || i != text.size() || overflow || (!negative && value > 2147483647LL)) {
        r.error = "'" + std::string(text) + "' is not a valid integer value";
        return r;
    }
    r.ok = true;
    r.value = negative ? -value : value;
    return r;
}

std::string CleanNumberText(std::string_view text, char localeSep) {
    std::string s(text);
    const char other = localeSep == ',' ? '.' : localeSep == '.' ? ',' : '\0';
    if (other != '\0') {
        const auto p = s.find(other);
        if (p != std::string::npos) s[p] = localeSep;
    }
    s = TrimBlanks(s);
    const auto cut = s.find(localeSep);
    if (cut != std::string::npos) s.erase(cut);
    if (s.empty()) s = "0";
    return s;
}

ReadOutcome ReadEntry(int index, std::string_view content, MetaFields& f, char localeSep,
                      TextKind kind) {
    ReadOutcome r;
    switch (index) {
        case kTitle: f.Title = content; break;
        case kAuthor: f.Author = content; break;
        case kCopyright: f.Copyright = content; break;
        case kDescription: f.Description = content; break;
        case kKeywords: f.Keywords = content; break;
        case kRobots: ReadRobots(content, f, kind); break;
        case kRevisitAfter: r.error = ReadRevisit(content, f); break;
        case kGenerator: f.Generator = content; break;
        case kProgId: f.ProgId = content; break;
        case kDistribution:
            ReadWordIndex(content, f.Distribution, kind, {{"global", 1}, {"local", 2}});
            break;
        case kUrl: f.Url = content; break;
        case kCacheControl:
            ReadWordIndex(content, f.CacheControl, kind,
                          {{"public", 1}, {"private", 2}, {"no-store", 3}, {"no-cache", 4}});
            break;
        case kPragma: f.Pragma = CharCount(kind, content) > 4 ? 1 : 0; break;
        case kRefresh: r.error = ReadRefresh(content, f, r.refreshUrlEnabled, kind); break;
        case kExpiries: break;  // the loader reads it with the date parser
        case kContentType: ReadContentType(content, f, kind); break;
        case kContentLanguage: {
            const int i = FindItem(ItemLists::Language, content);
            f.ContentLanguage = i >= 1 ? i : 0;
            break;
        }
        case kLocation: f.Location = content; break;
        case kPageEnter: case kPageExit: case kSiteEnter: case kSiteExit:
            ReadTransition(content, f.TransitionAt(index - kPageEnter), localeSep, kind);
            break;
        default: break;
    }
    if (index >= 0 && index < kEntryCount && r.error.empty()) KeepOwnText(index, content, f, kind);
    return r;
}

std::string_view ItemText(int entryIndex, int itemIndex) {
    auto pick = [itemIndex](const auto& items) -> std::string_view {
        return itemIndex >= 0 && itemIndex < static_cast<int>(items.size())
                   ? items[static_cast<std::size_t>(itemIndex)]
                   : std::string_view();
    };
    switch (entryIndex) {
        case kDistribution: return pick(ItemLists::Distribution);
        case kContentType: return pick(ItemLists::Type);
        case kContentLanguage: return pick(ItemLists::Language);
        default: return {};
    }
}

std::string CharsetNameOf(const MetaFields& f) {
    if (f.Charset >= 1 && f.Charset < static_cast<int>(ItemLists::Charset.size()))
        return TrimBlanks(ItemLists::Charset[static_cast<std::size_t>(f.Charset)]);
    return TrimBlanks(f.CharsetText);
}

std::string EntryContentText(int index, const MetaFields& f, TextKind kind) {
    const WrittenContent w = WriteEntry(index, f, kind);
    if (!w.written || w.own) return w.content;
    if (index == kRefresh && CharCount(kind, w.second) > 3) return w.content + ";url=" + w.second;
    if (index == kContentType) return w.content + "; charset=" + w.second;
    return w.content;
}

void KeepOwnText(int index, std::string_view content, MetaFields& f, TextKind kind) {
    std::string& own = f.OwnText[static_cast<std::size_t>(index)];
    own.clear();
    // The title and the expiry date are always written as read; an absent tag
    // writes nothing.
    if (index == kTitle || index == kExpiries || content.empty()) return;
    if (IsTextEntry(index)) {
        // A text is written as it stands once it is long enough.
        if (!WriteByFields(index, f, kind).written) own = content;
        return;
    }
    // An http-equiv value is read back as it stands: words the writer would
    // have to escape could not come back as the page had them.
    if (CatalogueAt(index).kind == EntryKind::HttpEquiv && content.find_first_of("\"<>") != std::string_view::npos)
        return;
    if (Normalised(EntryContentText(index, f, kind)) != Normalised(content)) own = content;
}

bool OwnTextHolds(int index, const MetaFields& f, TextKind kind) {
    if (index <= kTitle || index >= kEntryCount || index == kExpiries) return false;
    const std::string& own = f.OwnText[static_cast<std::size_t>(index)];
    if (own.empty()) return false;
    if (IsTextEntry(index)) {
        const std::string& text = EntryText(index, f);
        return (index == kDescription || index == kKeywords ? JoinLines(text) : text) == own;
    }
    MetaFields read = f;
    if (!ReadEntry(index, own, read, '.', kind).error.empty()) return false;
    return SameEntryValues(index, f, read);
}

void ReconcileOwnTexts(const MetaFields& before, MetaFields& after, TextKind kind) {
    for (int index = kAuthor; index < kEntryCount; ++index) {
        if (index == kExpiries || IsTextEntry(index)) continue;
        const auto i = static_cast<std::size_t>(index);
        if (after.OwnText[i] != before.OwnText[i]) {
            // Words typed for the entry: read as a load reads them.
            const std::string words = after.OwnText[i];
            ReadEntry(index, words, after, '.', kind);
        } else if (!SameEntryValues(index, before, after)) {
            after.OwnText[i].clear();
        }
    }
}

WrittenContent WriteEntry(int index, const MetaFields& f, TextKind kind) {
    if (OwnTextHolds(index, f, kind)) {
        WrittenContent w;
        w.written = true;
        w.own = true;
        w.content = f.OwnText[static_cast<std::size_t>(index)];
        return w;
    }
    return WriteByFields(index, f, kind);
}

namespace {

WrittenContent WriteByFields(int index, const MetaFields& f, TextKind kind) {
    WrittenContent w;
    auto text = [&w, kind](const std::string& value, std::size_t min) {
        if (CharCount(kind, value) >= min) { w.written = true; w.content = value; }
    };
    auto word = [&w](int value, std::initializer_list<const char*> words) {
        if (value >= 1 && value <= static_cast<int>(words.size())) {
            w.written = true;
            w.content = *(words.begin() + (value - 1));
        }
    };
    switch (index) {
        case kTitle: w.written = true; w.content = f.Title; break;
        case kAuthor: text(f.Author, 3); break;
        case kCopyright: text(f.Copyright, 3); break;
        case kDescription: text(JoinLines(f.Description), 3); break;
        case kKeywords: text(JoinLines(f.Keywords), 2); break;
        case kRobots: word(f.Robots, {"none", "all", "index,nofollow", "noindex,follow"}); break;
        case kRevisitAfter:
            if (f.RevisitUnit >= 1 && f.RevisitUnit <= 3) {
                static constexpr const char* kUnits[] = {"day", "weeks", "month"};
                w.written = true;
                w.content = std::to_string(f.RevisitCount) + " " + kUnits[f.RevisitUnit - 1];
            }
            break;
        case kGenerator: text(f.Generator, 3); break;
        case kProgId: text(f.ProgId, 3); break;
        case kDistribution: word(f.Distribution, {"global", "local"}); break;
        case kUrl: text(f.Url, 3); break;
        case kCacheControl: word(f.CacheControl, {"public", "private", "no-store", "no-cache"}); break;
        case kPragma: word(f.Pragma, {"no-cache"}); break;
        case kRefresh:
            if (f.RefreshOn) {
                w.written = true;
                w.content = std::to_string(f.RefreshSeconds);
                w.second = TrimBlanks(f.RefreshUrl);
            }
            break;
        case kExpiries:
            if (f.ExpiriesOn) { w.written = true; w.content = f.ExpiriesText; }
            break;
        case kContentType:
            if (f.ContentTypeOn) {
                w.written = true;
                w.content = TrimBlanks(ItemText(kContentType, f.ContentType));
                w.second = CharsetNameOf(f);
            }
            break;
        case kContentLanguage: text(std::string(ItemText(kContentLanguage, f.ContentLanguage)), 2); break;
        case kLocation: text(f.Location, 3); break;
        case kPageEnter: case kPageExit: case kSiteEnter: case kSiteExit: {
            const Transition& t = f.TransitionAt(index - kPageEnter);
            if (t.On) {
                char buf[96];
                const int effect = t.Effect >= 0 && t.Effect < kEffectCount ? t.Effect : 23;
                std::snprintf(buf, sizeof buf, "RevealTrans(Duration=%d.0,Transition=%d)", t.Duration, effect);
                w.written = true;
                w.content = buf;
            }
            break;
        }
        default: break;
    }
    return w;
}

}  // namespace

}  // namespace veskaron
