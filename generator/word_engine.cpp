#include "generator/word_engine.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "engine/cp1251.h"

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

// Where the body text starts: just past the first "</head>", or the beginning
// of a text that has none.
std::size_t BodyStart(std::string_view text) {
    const std::size_t head = text.find(kHeadEnd);
    return head == std::string_view::npos ? 0 : head + kHeadEnd.size();
}

// Whether a text is longer than `minWordLen` characters.
bool LongerThan(TextKind kind, std::string_view text, int minWordLen) {
    return minWordLen < 0 ? !text.empty() : LongerThanChars(kind, text, static_cast<std::size_t>(minWordLen));
}

void CollectChunks(std::string_view text, int minWordLen, TextKind kind,
                   std::vector<std::string>& entries) {
    std::size_t start = BodyStart(text);
    while (start < text.size()) {
        const std::size_t gt = text.find('>', start);
        if (gt == std::string_view::npos) break;
        const std::size_t begin = gt + 1;
        if (begin >= text.size()) break;
        const std::size_t lt = text.find('<', begin);
        if (lt == std::string_view::npos) break;
        const std::string_view chunk = TrimBlanks(text.substr(begin, lt - begin));
        if (LongerThan(kind, chunk, minWordLen)) entries.emplace_back(chunk);
        start = lt + 2;
    }
}

// All retained alt values, each followed by CR LF.
std::string CollectAltTexts(std::string_view text, int minWordLen, TextKind kind) {
    std::string all;
    std::size_t start = BodyStart(text);
    while (start < text.size()) {
        const std::size_t alt = text.find("alt", start);
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
        const std::string_view word = TrimBlanks(entry.substr(begin, i - begin));
        if (word.empty()) continue;
        if (table.Contains(word) || LongerThan(options.kind, word, options.minWordLen))
            table.Count(word);
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

void WordTable::Count(std::string_view word) {
    auto it = index_.find(word);
    if (it != index_.end()) {
        ++entries_[it->second].count;
        return;
    }
    index_.emplace(std::string(word), entries_.size());
    entries_.push_back({std::string(word), 1});
}

bool WordTable::Contains(std::string_view word) const { return index_.find(word) != index_.end(); }

std::int64_t WordTable::CountOf(std::string_view word) const {
    auto it = index_.find(word);
    return it == index_.end() ? 0 : entries_[it->second].count;
}

void WordTable::Remove(const std::vector<std::string>& words) {
    std::size_t removed = 0;
    for (const auto& w : words) {
        auto it = index_.find(w);
        if (it == index_.end()) continue;
        entries_[it->second].count = 0;  // marks the entry for the compaction below
        index_.erase(it);
        ++removed;
    }
    if (removed == 0) return;
    std::erase_if(entries_, [](const WordEntry& e) { return e.count == 0; });
    for (std::size_t i = 0; i < entries_.size(); ++i) index_[entries_[i].word] = i;
}

void WordTable::Clear() {
    entries_.clear();
    index_.clear();
}

// ---- The run ----

std::string RemoveSpans(std::string_view text, std::string_view opener, std::string_view closer) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find(opener, pos);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find(closer, open + opener.size());
        if (close == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        pos = close + closer.size();
    }
    if (pos < text.size()) out.append(text.substr(pos));
    return out;
}

std::vector<std::string> CollectTextEntries(std::string_view source,
                                            const std::vector<std::string>& descriptionLines,
                                            const GeneratorOptions& options,
                                            const ProgressFn& progress) {
    // Every marker search ignores case and every collected text is lower-cased
    // anyway, so the working copy is lower-cased once up front.
    std::string text = LowerFor(options.kind, source);
    Report(progress, 10);
    text = RemoveSpans(text, "<!--", "-->");
    Report(progress, 20);
    text = RemoveSpans(text, "<!", ">");
    Report(progress, 30);
    text = RemoveSpans(text, "<script", "</script>");
    Report(progress, 40);
    std::vector<std::string> entries;
    CollectChunks(text, options.minWordLen, options.kind, entries);
    Report(progress, 60);
    if (options.bolAlt) {
        std::string alts = CollectAltTexts(text, options.minWordLen, options.kind);
        if (!alts.empty()) entries.push_back(std::move(alts));
    }
    if (options.insertDescription) {
        for (const auto& line : descriptionLines) entries.push_back(LowerFor(options.kind, line));
    }
    return entries;
}

void RunGenerator(std::string_view source, const std::vector<std::string>& descriptionLines,
                  const std::vector<std::string>& deleteList, const GeneratorOptions& options,
                  WordTable& table, const ProgressFn& progress) {
    Report(progress, 0);
    table.Clear();
    const std::vector<std::string> entries =
        CollectTextEntries(source, descriptionLines, options, progress);
    Report(progress, 80);
    for (const auto& entry : entries) CountWords(entry, options, table);

    std::vector<std::string> excluded;
    excluded.reserve(deleteList.size());
    for (const auto& item : deleteList) {
        const std::string_view trimmed = TrimBlanks(item);
        if (!trimmed.empty()) excluded.push_back(LowerFor(options.kind, trimmed));
    }
    table.Remove(excluded);
    Report(progress, 100);
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
