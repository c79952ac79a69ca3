#include "generator/word_engine.h"

#include <algorithm>
#include <array>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/cp1251.h"
#include "engine/large_buffer.h"

namespace veskaron::generator {

namespace {

// Separator classes of the Windows-1251 bytes. Everything not listed is a word
// character: letters, '+', brackets, '^', '_', '`', '|', the tab and the other
// control bytes, dashes, typographic quotes, the non-breaking space and so on.
enum : unsigned char { kWordChar = 0, kAlways = 1, kDigit = 2 };

constexpr std::array<unsigned char, 256> MakeSeparatorTable() {
    std::array<unsigned char, 256> t{};
    for (int c : {10, 13, 32, 39}) t[c] = kAlways;  // line ends, space, apostrophe
    for (int c = 33; c <= 38; ++c) t[c] = kAlways;  // ! " # $ % &
    for (int c = 40; c <= 42; ++c) t[c] = kAlways;  // ( ) *
    for (int c = 44; c <= 47; ++c) t[c] = kAlways;  // , - . /
    for (int c = 58; c <= 64; ++c) t[c] = kAlways;  // : ; < = > ? @
    for (int c : {92, 126, 0xAB, 0xBB}) t[c] = kAlways;  // \ ~ guillemets
    for (int c = '0'; c <= '9'; ++c) t[c] = kDigit;
    return t;
}

constexpr std::array<unsigned char, 256> kSeparatorClass = MakeSeparatorTable();

constexpr std::string_view kHeadEnd = "</head>";

void Report(const ProgressFn& progress, int percent) {
    if (progress) progress(percent);
}

bool Cancelled(const CancelFlag* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// The first occurrence of `marker` at or after `from`. The search is exact
// (the working text is already lower case) and goes 16 positions at a time
// over the marker's first two bytes, since '<' alone is in every tag.
std::size_t FindMarker(std::string_view text, std::size_t from, std::string_view marker) {
    const std::size_t n = text.size(), m = marker.size();
    if (from > n || m > n - from) return std::string_view::npos;
    const char* p = text.data();
    std::size_t i = from;
    if (m == 1) {
        // Inline rather than memchr: between two tags the distance is short.
#if defined(__SSE2__)
        const __m128i c = _mm_set1_epi8(marker[0]);
        for (; i + 16 <= n; i += 16) {
            const auto bits = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), c)));
            if (bits != 0) return i + static_cast<std::size_t>(__builtin_ctz(bits));
        }
#endif
        for (; i < n; ++i)
            if (p[i] == marker[0]) return i;
        return std::string_view::npos;
    }
    const std::size_t last = n - m;  // the last position where the marker fits
    auto matchesAt = [&](std::size_t at) {
        return m == 2 || std::memcmp(p + at + 2, marker.data() + 2, m - 2) == 0;
    };
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(marker[0]), second = _mm_set1_epi8(marker[1]);
    for (; i + 17 <= n && i + 15 <= last; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        auto bits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
        while (bits != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(bits));
            if (matchesAt(at)) return at;
            bits &= bits - 1;
        }
    }
#endif
    for (; i <= last; ++i)
        if (p[i] == marker[0] && p[i + 1] == marker[1] && matchesAt(i)) return i;
    return std::string_view::npos;
}

// Where the body text starts: just past the first "</head>", or the beginning
// of a text that has none.
std::size_t BodyStart(std::string_view text) {
    const std::size_t head = FindMarker(text, 0, kHeadEnd);
    return head == std::string_view::npos ? 0 : head + kHeadEnd.size();
}

// Removes every span from `opener` to the next `closer`, moving the rest of
// the text down in place; an opener without a closer keeps the rest.
void RemoveSpansInPlace(std::string& text, std::string_view opener, std::string_view closer) {
    const std::size_t n = text.size();
    std::size_t pos = 0, out = 0;
    while (pos < n) {
        const std::size_t open = FindMarker(text, pos, opener);
        if (open == std::string_view::npos) break;
        const std::size_t close = FindMarker(text, open + opener.size(), closer);
        if (close == std::string_view::npos) break;
        if (out != pos) std::memmove(text.data() + out, text.data() + pos, open - pos);
        out += open - pos;
        pos = close + closer.size();
    }
    if (out == pos) return;  // nothing removed
    if (pos < n) std::memmove(text.data() + out, text.data() + pos, n - pos);
    text.resize(out + (pos < n ? n - pos : 0));
}

// The working text of a run: the source lower-cased, without comments,
// declarations and scripts. Comments are left out while the text is lowered
// (their markers hold no letters, so lowering cannot make or break one); the
// other two removals then work in place on the lowered text. Lowering goes by
// characters, and a piece between removed spans starts and ends at an ASCII
// marker, so lowering the pieces one by one gives the same text as lowering
// the whole.
std::string WorkingText(std::string_view source, TextKind kind, const ProgressFn& progress,
                        const CancelFlag* cancel) {
    std::string text;
    ReserveLarge(text, source.size() + source.size() / 8);
    std::size_t pos = 0;
    while (pos < source.size()) {
        const std::size_t open = FindMarker(source, pos, "<!--");
        if (open == std::string_view::npos) break;
        const std::size_t close = FindMarker(source, open + 4, "-->");
        if (close == std::string_view::npos) break;
        AppendLowerFor(kind, source.substr(pos, open - pos), text);
        pos = close + 3;
    }
    if (pos < source.size()) AppendLowerFor(kind, source.substr(pos), text);
    if (Cancelled(cancel)) return {};
    Report(progress, 10);
    Report(progress, 20);
    RemoveSpansInPlace(text, "<!", ">");
    if (Cancelled(cancel)) return {};
    Report(progress, 30);
    RemoveSpansInPlace(text, "<script", "</script>");
    if (Cancelled(cancel)) return {};
    Report(progress, 40);
    return text;
}

// Whether a text is longer than `minWordLen` characters.
bool LongerThan(TextKind kind, std::string_view text, int minWordLen) {
    if (minWordLen < 0) return !text.empty();
    // No character takes more than four bytes: a long chunk needs no count.
    if (text.size() >= 4 * (static_cast<std::size_t>(minWordLen) + 1)) return true;
    return LongerThanChars(kind, text, static_cast<std::size_t>(minWordLen));
}

// Calls `take` with each text chunk of the body that is long enough, in order.
template <class Take>
void ForEachChunk(std::string_view text, int minWordLen, TextKind kind, const CancelFlag* cancel,
                  Take&& take) {
    std::size_t start = BodyStart(text);
    for (unsigned chunks = 1; start < text.size(); ++chunks) {
        if (chunks % 4096 == 0 && Cancelled(cancel)) break;
        const std::size_t gt = FindMarker(text, start, ">");
        if (gt == std::string_view::npos) break;
        const std::size_t begin = gt + 1;
        if (begin >= text.size()) break;
        const std::size_t lt = FindMarker(text, begin, "<");
        if (lt == std::string_view::npos) break;
        const std::string_view chunk = TrimBlanks(text.substr(begin, lt - begin));
        if (LongerThan(kind, chunk, minWordLen)) take(chunk);
        start = lt + 2;
    }
}


// All retained alt values, each followed by CR LF.
std::string CollectAltTexts(std::string_view text, int minWordLen, TextKind kind) {
    std::string all;
    std::size_t start = BodyStart(text);
    while (start < text.size()) {
        const std::size_t alt = FindMarker(text, start, "alt");
        if (alt == std::string_view::npos) break;
        const std::size_t open = text.find_first_of("\">", alt + 3);
        if (open == std::string_view::npos) break;
        const std::size_t begin = open + 1;
        if (begin >= text.size()) break;
        // The value's first character is not examined, as in `alt=""`.
        const std::size_t close = text.find_first_of("\">", begin + 1);
        if (close == std::string_view::npos) break;
        const std::string_view value = TrimBlanks(text.substr(begin, close - begin));
        if (LongerThan(kind, value, minWordLen)) {
            all.append(value);
            all.append("\r\n");
        }
        // Three characters on: in UTF-8 the two after the quote may be longer.
        start = close + 1;
        for (int k = 0; k < 2 && start < text.size(); ++k) {
            ++start;
            if (kind == TextKind::Utf8)
                while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
        }
    }
    return all;
}

// Length of the separator at s[i], 0 for a word character. In UTF-8 every
// byte from 0x80 on belongs to a word character except the guillemets
// (U+00AB, U+00BB), which separate as their Windows-1251 bytes do.
template <bool Utf8>
std::size_t SeparatorAt(std::string_view s, std::size_t i, unsigned char mask) {
    const auto b = static_cast<unsigned char>(s[i]);
    if constexpr (Utf8) {
        if (b >= 0x80)
            return b == 0xC2 && i + 1 < s.size() && (s[i + 1] == '\xAB' || s[i + 1] == '\xBB') ? 2 : 0;
    }
    return (kSeparatorClass[b] & mask) ? 1 : 0;
}

template <bool Utf8>
void CountWord(std::string_view word, const GeneratorOptions& options, WordTable& table) {
    word = TrimBlanks(word);
    // A word in the table got there by being long enough, under this run's
    // limit; so a word too short is neither counted nor added, and no look-up
    // is needed to know it. A UTF-8 word has no more characters than bytes;
    // its characters are counted only when it is new.
    if (word.empty() || static_cast<long long>(word.size()) <= options.minWordLen) return;
    const std::uint64_t hash = WordTable::HashOf(word);
    if constexpr (Utf8) {
        if (!table.Increment(word, hash) && LongerThan(options.kind, word, options.minWordLen))
            table.Count(word, hash);
    } else {
        table.Count(word, hash);
    }
}

template <bool Utf8>
void CountWordsOf(std::string_view entry, const GeneratorOptions& options, WordTable& table) {
    const unsigned char mask = options.keyCifra ? kAlways : (kAlways | kDigit);
    std::size_t i = 0;
    const std::size_t n = entry.size();
    while (i < n) {
        while (i < n) {
            const std::size_t len = SeparatorAt<Utf8>(entry, i, mask);
            if (len == 0) break;
            i += len;
        }
        const std::size_t begin = i;
        while (i < n && SeparatorAt<Utf8>(entry, i, mask) == 0) ++i;
        if (i > begin) CountWord<Utf8>(entry.substr(begin, i - begin), options, table);
    }
}

void CountWords(std::string_view entry, const GeneratorOptions& options, WordTable& table) {
    if (options.kind == TextKind::Utf8) CountWordsOf<true>(entry, options, table);
    else CountWordsOf<false>(entry, options, table);
}

}  // namespace

bool IsWordSeparator(unsigned char c, bool keyCifra) {
    return (kSeparatorClass[c] & (keyCifra ? kAlways : (kAlways | kDigit))) != 0;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

// ---- WordTable ----

std::uint64_t WordTable::HashOf(std::string_view word) {
    // Eight bytes at a time, then a final mix.
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ word.size();
    const char* p = word.data();
    std::size_t n = word.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t x;
        std::memcpy(&x, p, 8);
        h = (h ^ x) * 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 29;
    }
    if (n > 0) {
        // The last bytes by two overlapping loads (or three single bytes),
        // never a byte-wise copy that the following multiply would wait for.
        std::uint64_t x;
        if (n >= 4) {
            std::uint32_t lo, hi;
            std::memcpy(&lo, p, 4);
            std::memcpy(&hi, p + n - 4, 4);
            x = lo | (static_cast<std::uint64_t>(hi) << 32);
        } else {
            x = static_cast<unsigned char>(p[0]) | (static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8) |
                (static_cast<std::uint64_t>(static_cast<unsigned char>(p[n - 1])) << 16);
        }
        h = (h ^ x) * 0x94D049BB133111EBULL;
    }
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ULL;
    return h ^ (h >> 32);
}

namespace {

// Words are short: compared eight bytes at a time without a library call.
bool SameBytes(std::string_view a, std::string_view b) {
    std::size_t n = a.size();
    if (n != b.size()) return false;
    const char *p = a.data(), *q = b.data();
    for (; n >= 8; p += 8, q += 8, n -= 8) {
        std::uint64_t x, y;
        std::memcpy(&x, p, 8);
        std::memcpy(&y, q, 8);
        if (x != y) return false;
    }
    for (; n > 0; --n)
        if (*p++ != *q++) return false;
    return true;
}

}  // namespace

std::size_t WordTable::SlotOf(std::string_view word, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t tag = hash & 0xFFFFFFFF00000000ULL;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const std::uint64_t s = slots_[i];
        if (s == 0) return i;
        if ((s & 0xFFFFFFFF00000000ULL) == tag && SameBytes(entries_[(s & 0xFFFFFFFFULL) - 1].word, word))
            return i;
    }
}

void WordTable::Rebuild(std::size_t slots) {
    slots_.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        const std::uint64_t hash = HashOf(entries_[e].word);
        std::size_t i = static_cast<std::size_t>(hash) & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = (hash & 0xFFFFFFFF00000000ULL) | (e + 1);
    }
}

void WordTable::Count(std::string_view word) { Count(word, HashOf(word)); }

bool WordTable::Increment(std::string_view word) { return Increment(word, HashOf(word)); }

void WordTable::Count(std::string_view word, std::uint64_t hash) {
    if ((entries_.size() + 1) * 2 > slots_.size()) Rebuild(std::max<std::size_t>(64, slots_.size() * 2));
    const std::size_t i = SlotOf(word, hash);
    if (slots_[i] != 0) {
        ++entries_[(slots_[i] & 0xFFFFFFFFULL) - 1].count;
        return;
    }
    entries_.push_back({std::string(word), 1});
    slots_[i] = (hash & 0xFFFFFFFF00000000ULL) | entries_.size();
}

bool WordTable::Increment(std::string_view word, std::uint64_t hash) {
    if (entries_.empty()) return false;
    const std::size_t i = SlotOf(word, hash);
    if (slots_[i] == 0) return false;
    ++entries_[(slots_[i] & 0xFFFFFFFFULL) - 1].count;
    return true;
}

bool WordTable::Contains(std::string_view word) const {
    return !entries_.empty() && slots_[SlotOf(word, HashOf(word))] != 0;
}

std::int64_t WordTable::CountOf(std::string_view word) const {
    if (entries_.empty()) return 0;
    const std::uint64_t s = slots_[SlotOf(word, HashOf(word))];
    return s == 0 ? 0 : entries_[(s & 0xFFFFFFFFULL) - 1].count;
}

void WordTable::Remove(const std::vector<std::string>& words) {
    std::size_t removed = 0;
    for (const auto& w : words) {
        if (entries_.empty()) break;
        const std::uint64_t s = slots_[SlotOf(w, HashOf(w))];
        if (s == 0) continue;
        WordEntry& e = entries_[(s & 0xFFFFFFFFULL) - 1];
        if (e.count == 0) continue;  // named twice
        e.count = 0;  // marks the entry for the compaction below
        ++removed;
    }
    if (removed == 0) return;
    std::erase_if(entries_, [](const WordEntry& e) { return e.count == 0; });
    Rebuild(slots_.size());
}

void WordTable::Clear() {
    entries_.clear();
    slots_.clear();
}

// ---- The run ----

std::string RemoveSpans(std::string_view text, std::string_view opener, std::string_view closer) {
    std::string out(text);
    RemoveSpansInPlace(out, opener, closer);
    return out;
}

namespace {

// The pieces of text of a run in their order: each body chunk as it is found
// (a view into the working text, valid during the call), then the alt texts
// and the description lines.
template <class Take>
void ForEachEntry(std::string_view source, const std::vector<std::string>& descriptionLines,
                  const GeneratorOptions& options, const ProgressFn& progress,
                  const CancelFlag* cancel, Take&& take) {
    const std::string working = WorkingText(source, options.kind, progress, cancel);
    ForEachChunk(working, options.minWordLen, options.kind, cancel, take);
    if (Cancelled(cancel)) return;
    Report(progress, 60);
    std::vector<std::string> rest;
    if (options.bolAlt) {
        std::string alts = CollectAltTexts(working, options.minWordLen, options.kind);
        if (!alts.empty()) rest.push_back(std::move(alts));
    }
    if (options.insertDescription) {
        for (const auto& line : descriptionLines) rest.push_back(LowerFor(options.kind, line));
    }
    Report(progress, 80);
    for (const std::string& entry : rest) take(entry);
}

}  // namespace

std::vector<std::string> CollectTextEntries(std::string_view source,
                                            const std::vector<std::string>& descriptionLines,
                                            const GeneratorOptions& options,
                                            const ProgressFn& progress) {
    std::vector<std::string> entries;
    ForEachEntry(source, descriptionLines, options, progress, nullptr,
                 [&entries](std::string_view entry) { entries.emplace_back(entry); });
    return entries;
}

bool RunGenerator(std::string_view source, const std::vector<std::string>& descriptionLines,
                  const std::vector<std::string>& deleteList, const GeneratorOptions& options,
                  WordTable& table, const ProgressFn& progress, const CancelFlag* cancel) {
    Report(progress, 0);
    table.Clear();
    // Counted as they are found: the chunks need not be kept.
    ForEachEntry(source, descriptionLines, options, progress, cancel,
                 [&](std::string_view entry) { CountWords(entry, options, table); });
    if (Cancelled(cancel)) {
        table.Clear();
        return false;
    }

    std::vector<std::string> excluded;
    excluded.reserve(deleteList.size());
    for (const auto& item : deleteList) {
        const std::string_view trimmed = TrimBlanks(item);
        if (!trimmed.empty()) excluded.push_back(LowerFor(options.kind, trimmed));
    }
    table.Remove(excluded);
    Report(progress, 100);
    return true;
}

// ---- Formed-word list and statistics ----

SortMode SortModeFromIndex(int index) {
    switch (index) {
        case 1: return SortMode::MostFrequentFirst;
        case 2: return SortMode::LeastFrequentFirst;
        default: return SortMode::None;
    }
}

std::string FormedWordLine(const WordEntry& entry) {
    return entry.word + " : " + std::to_string(entry.count);
}

std::vector<std::string> FillWordList(const WordTable& table, SortMode mode, bool repeatedOnly,
                                      int threshold) {
    const auto& entries = table.entries();
    std::vector<const WordEntry*> passing;
    passing.reserve(entries.size());
    for (const auto& e : entries) {
        if (!repeatedOnly || e.count > threshold) passing.push_back(&e);
    }
    if (mode == SortMode::MostFrequentFirst) {
        std::stable_sort(passing.begin(), passing.end(),
                         [](const WordEntry* a, const WordEntry* b) { return a->count > b->count; });
    } else if (mode == SortMode::LeastFrequentFirst) {
        std::stable_sort(passing.begin(), passing.end(),
                         [](const WordEntry* a, const WordEntry* b) { return a->count < b->count; });
    }
    std::vector<std::string> lines;
    lines.reserve(passing.size());
    for (const WordEntry* e : passing) lines.push_back(FormedWordLine(*e));
    return lines;
}

WordStatistics ComputeWordStatistics(const WordTable& table, std::size_t linesShown) {
    WordStatistics s;
    s.selected = static_cast<std::int64_t>(linesShown);
    for (const auto& e : table.entries()) {
        s.total += e.count;
        if (e.count > 3) s.over3 += e.count;
        else if (e.count == 3) s.exactly3 += e.count;
        else if (e.count == 2) s.twice += e.count;
        else if (e.count == 1) s.once += 1;
    }
    return s;
}

}  // namespace veskaron::generator
