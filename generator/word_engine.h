#pragma once
// The word engine of the keyword generator: takes a page source (the document
// text, Windows-1251 bytes or UTF-8), collects its visible body text, optional alt texts and description
// lines, counts the lower-cased words and turns the count into the formed-word
// lines and statistics that the generator window shows.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/encoding.h"

namespace veskaron::generator {

// Whether a byte ends a word. With keyCifra on, digits are word characters;
// off, they separate words like punctuation does.
bool IsWordSeparator(unsigned char c, bool keyCifra);

struct WordEntry {
    std::string word;  // lower case, in the text kind of the run
    std::int64_t count = 0;
};

// Distinct words in the order of their first occurrence, each with its count.
// Lookup is by hash, so counting a page is linear in its size.
class WordTable {
public:
    // Adds one occurrence of a lower-cased word; a new word is appended.
    void Count(std::string_view word);
    // Adds one occurrence of a word the table already holds; false (and no
    // change) for a word it does not hold.
    bool Increment(std::string_view word);
    // Whether the table holds the word (already lower-cased).
    bool Contains(std::string_view word) const;
    std::int64_t CountOf(std::string_view word) const;  // 0 when absent
    // Removes the given lower-cased words, keeping the order of the rest.
    void Remove(const std::vector<std::string>& words);
    void Clear();

    // For counting many words: the hash of a word and the two operations
    // above with the hash already known (it must be HashOf(word)).
    static std::uint64_t HashOf(std::string_view word);
    void Count(std::string_view word, std::uint64_t hash);
    bool Increment(std::string_view word, std::uint64_t hash);

    const std::vector<WordEntry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

private:
    // Open addressing over the entries: a slot holds the word's hash in its
    // upper half and the entry's position plus one in its lower half (0 is an
    // empty slot). At most half the slots are used, so a probe stays short.
    // The slot that holds the word, or the empty slot where it would go.
    std::size_t SlotOf(std::string_view word, std::uint64_t hash) const;
    void Rebuild(std::size_t slots);

    std::vector<WordEntry> entries_;
    std::vector<std::uint64_t> slots_;
};

struct GeneratorOptions {
    int minWordLen = 4;              // a word counts when longer than this
    bool keyCifra = true;            // digits are word characters
    bool bolAlt = false;             // count the alt texts
    bool insertDescription = false;  // count the description lines
    // The text kind of the source, the description and the excluded words; the
    // words come out in it. Both kinds give the same words for the same page.
    TextKind kind = TextKind::Cp1251;
};

// Receives the progress in percent: 0, 10, 20, 30, 40, 60, 80, 100.
using ProgressFn = std::function<void(int)>;

// Set from another thread to stop a run early; the run looks at it now and
// then (between its passes and every few thousand pieces of text).
using CancelFlag = std::atomic<bool>;

// One whole run: rebuilds `table` from empty. The source, the description lines
// and the excluded words are text of `options.kind`; the source is not changed.
// Returns false when `cancel` stopped it; the table is then empty.
bool RunGenerator(std::string_view source, const std::vector<std::string>& descriptionLines,
                  const std::vector<std::string>& deleteList, const GeneratorOptions& options,
                  WordTable& table, const ProgressFn& progress = {},
                  const CancelFlag* cancel = nullptr);

// The pieces of text a run splits into words, in order: body chunks, then one
// entry with all alt texts (when bolAlt), then the description lines (when
// insertDescription). Exposed for tests and for the run itself.
std::vector<std::string> CollectTextEntries(std::string_view source,
                                            const std::vector<std::string>& descriptionLines,
                                            const GeneratorOptions& options,
                                            const ProgressFn& progress = {});

// Removes every span from `opener` to the next `closer` in one pass; an opener
// without a closer leaves the rest of the text as it is. The markers must be
// given in lower case and the text must already be lower-cased.
std::string RemoveSpans(std::string_view text, std::string_view opener, std::string_view closer);

enum class SortMode { None = 0, MostFrequentFirst = 1, LeastFrequentFirst = 2 };

// Sort mode from its radio index; anything out of range means no sorting.
SortMode SortModeFromIndex(int index);

// "word : count".
std::string FormedWordLine(const WordEntry& entry);

// The formed-word lines in display order. With repeatedOnly, only the words
// counted more than `threshold` times pass. Ties keep the table's order.
std::vector<std::string> FillWordList(const WordTable& table, SortMode mode, bool repeatedOnly,
                                      int threshold);

struct WordStatistics {
    std::int64_t total = 0;     // all occurrences
    std::int64_t selected = 0;  // lines shown
    std::int64_t over3 = 0;     // occurrences of words counted more than 3 times
    std::int64_t exactly3 = 0;  // occurrences of words counted 3 times
    std::int64_t twice = 0;     // occurrences of words counted twice
    std::int64_t once = 0;      // words counted once
    friend bool operator==(const WordStatistics&, const WordStatistics&) = default;
};

WordStatistics ComputeWordStatistics(const WordTable& table, std::size_t linesShown);

// Removes characters of code 32 and below from both ends.
std::string_view TrimBlanks(std::string_view s);

}  // namespace veskaron::generator
