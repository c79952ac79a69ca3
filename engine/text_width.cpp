#include "engine/text_width.h"

#include <algorithm>

#include "engine/text_codec.h"
#include "engine/text_width_table.h"

namespace veskaron {
namespace {

constexpr char32_t kEllipsis = 0x2026;
constexpr std::string_view kEllipsisUtf8 = "\xE2\x80\xA6";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Punctuation that would hang before the " …" of a cut text.
bool DroppedBeforeEllipsis(char32_t cp) {
    return cp == ',' || cp == ':' || cp == ';' || cp == '-' || (cp >= 0x2010 && cp <= 0x2015) || cp == 0x2212;
}

template <class Visit>
void ForEachCodePoint(std::string_view s, Visit&& visit) {
    for (std::size_t i = 0; i < s.size();) {
        // ASCII and two-byte characters (Latin, Cyrillic) inline; the rest, and
        // any byte that is not valid UTF-8, through the codec's decoder.
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t length = 1;
        char32_t cp = lead;
        if (lead >= 0xC2 && lead <= 0xDF && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
            cp = (char32_t(lead & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
            length = 2;
        } else if (lead >= 0x80) {
            cp = DecodeUtf8At(s, i, length);
        }
        if (!visit(cp, i, length)) return;
        i += length;
    }
}

std::uint64_t SumUnits(std::string_view s) {
    std::uint64_t sum = 0;
    ForEachCodePoint(s, [&sum](char32_t cp, std::size_t, std::size_t) {
        sum += AdvanceUnits(cp);
        return true;
    });
    return sum;
}

// The longest run of whole words of `s` (collapsed) that fits `limitPx` with
// " …" after it, or its first word cut between characters.
std::string CutLine(std::string_view s, unsigned sizePx, std::size_t limitPx) {
    const std::uint64_t tail = AdvanceUnits(' ') + AdvanceUnits(kEllipsis);
    // The width up to the last character that stays before the " …" only grows
    // word by word, so the first run that does not fit ends the search.
    std::uint64_t sum = 0, keptUnits = 0;
    std::size_t keptEnd = 0, best = 0;
    bool searching = true;
    auto wordEnd = [&] {
        if (keptEnd == 0) return true;
        if (UnitsToPixels(keptUnits + tail, sizePx) > limitPx) return searching = false;
        best = keptEnd;
        return true;
    };
    ForEachCodePoint(s, [&](char32_t cp, std::size_t at, std::size_t length) {
        if (cp == ' ' && !wordEnd()) return false;
        sum += AdvanceUnits(cp);
        if (cp != ' ' && !DroppedBeforeEllipsis(cp)) {
            keptUnits = sum;
            keptEnd = at + length;
        }
        return true;
    });
    if (searching) wordEnd();
    if (best > 0) return std::string(s.substr(0, best)) + " " + std::string(kEllipsisUtf8);

    const std::uint64_t mark = AdvanceUnits(kEllipsis);
    sum = 0;
    std::size_t end = 0;
    ForEachCodePoint(s, [&](char32_t cp, std::size_t at, std::size_t length) {
        if (cp == ' ') return false;
        sum += AdvanceUnits(cp);
        if (UnitsToPixels(sum + mark, sizePx) > limitPx) return false;
        end = at + length;
        return true;
    });
    return std::string(s.substr(0, end)) + std::string(kEllipsisUtf8);
}

// Where the longest run of whole words of `s` that fits `linePx` ends; 0 when
// the first word alone does not fit.
std::size_t WrapEnd(std::string_view s, unsigned sizePx, std::size_t linePx) {
    std::uint64_t sum = 0;
    std::size_t end = 0;
    ForEachCodePoint(s, [&](char32_t cp, std::size_t at, std::size_t) {
        if (cp == ' ') {
            if (UnitsToPixels(sum, sizePx) > linePx) return false;
            end = at;
        }
        sum += AdvanceUnits(cp);
        return true;
    });
    return end;
}

// The text with its blanks collapsed: itself when they already are (a title
// as typed, usually), else a copy in `storage`. A copy of a long description
// on every keystroke would cost more than measuring it.
std::string_view Collapsed(std::string_view utf8, std::string& storage) {
    bool collapsed = utf8.empty() || (utf8.front() != ' ' && utf8.back() != ' ');
    for (std::size_t i = 0; collapsed && i < utf8.size(); ++i)
        collapsed = utf8[i] == ' ' ? utf8[i + 1] != ' ' : !IsBlank(utf8[i]);
    if (collapsed) return utf8;
    storage = CollapseBlanks(utf8);
    return storage;
}

}  // namespace

std::uint32_t AdvanceUnits(char32_t cp) {
    using namespace font_table;
    if (cp < kDenseCount) {
        const std::uint16_t advance = kDenseAdvances[cp];
        return advance == kNoGlyph ? kMissingAdvance : advance;
    }
    const SparseAdvance* end = kSparseAdvances + kSparseCount;
    const SparseAdvance* it = std::lower_bound(kSparseAdvances, end, cp, [](const SparseAdvance& a, char32_t c) {
        return a.codePoint < c;
    });
    return it != end && it->codePoint == cp ? it->advance : kMissingAdvance;
}

std::uint32_t FontUnitsPerEm() { return font_table::kUnitsPerEm; }

std::size_t UnitsToPixels(std::uint64_t units, unsigned sizePx) {
    const std::uint64_t em = font_table::kUnitsPerEm;
    return static_cast<std::size_t>((2 * units * sizePx + em) / (2 * em));
}

std::string CollapseBlanks(std::string_view utf8) {
    std::string s;
    s.reserve(utf8.size());
    bool blank = false;
    for (char c : utf8) {
        if (IsBlank(c)) {
            blank = !s.empty();
            continue;
        }
        if (blank) s += ' ';
        blank = false;
        s += c;
    }
    return s;
}

std::size_t TextWidthPx(std::string_view utf8, unsigned sizePx) {
    std::string collapsed;
    return UnitsToPixels(SumUnits(Collapsed(utf8, collapsed)), sizePx);
}

FittedText FitText(std::string_view utf8, unsigned sizePx, std::size_t linePx, int lines) {
    std::string collapsed;
    const std::string_view s = Collapsed(utf8, collapsed);
    FittedText r;
    r.px = UnitsToPixels(SumUnits(s), sizePx);
    std::string_view rest = s;
    for (int line = 1;; ++line) {
        if ((line == 1 ? r.px : UnitsToPixels(SumUnits(rest), sizePx)) <= linePx) {
            r.shown += rest;
            if (!rest.empty()) r.lines.emplace_back(rest);
            return r;
        }
        const std::size_t end = line < lines ? WrapEnd(rest, sizePx, linePx) : 0;
        if (end == 0) {
            r.lines.push_back(CutLine(rest, sizePx, linePx));
            r.shown += r.lines.back();
            r.cut = true;
            return r;
        }
        r.shown += rest.substr(0, end + 1);
        r.lines.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
}

}  // namespace veskaron
