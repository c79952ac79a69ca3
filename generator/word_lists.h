#pragma once
// The four word lists of the generator window as plain models, and the list
// operations behind its buttons and drag and drop. Entries are text of the
// document's kind (Windows-1251 bytes or UTF-8), kept as typed (never trimmed
// or lower-cased); every search of a list compares whole entries ignoring
// letter case.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/encoding.h"

namespace veskaron::generator {

enum class ListKind { Insert, Delete, Formed, Keyword };

// The lower-cased form used to compare entries.
std::string FoldCase(std::string_view s, TextKind kind = TextKind::Cp1251);

// Alphabetical order ignoring case: Latin before Cyrillic, "ё" beside "е".
// Equal keys compare equal, so a stable sort keeps their order. UTF-8 words
// sort by their Windows-1251 letters; others come first, by code.
bool AlphabeticalLess(std::string_view a, std::string_view b, TextKind kind = TextKind::Cp1251);

class WordList {
public:
    explicit WordList(bool multiSelect = true, TextKind kind = TextKind::Cp1251)
        : multiSelect_(multiSelect), kind_(kind) {}

    TextKind kind() const { return kind_; }

    const std::vector<std::string>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const std::string& at(std::size_t i) const { return entries_.at(i); }

    bool multiSelect() const { return multiSelect_; }

    // The current entry (the one with the focus), -1 when none.
    int current() const { return current_; }
    void SetCurrent(int index);

    // Selection. A one-selection list has the current entry as its selection.
    bool IsSelected(std::size_t i) const;
    void Select(std::size_t i, bool on);
    void SelectAll(bool on);
    std::vector<std::size_t> SelectedIndices() const;  // ascending
    std::size_t SelectedCount() const;

    // Sorted display: turning it on sorts the entries at once; while on, new
    // entries go to their alphabetical place. Turning it off keeps the order.
    bool sorted() const { return sorted_; }
    void SetSorted(bool on);

    bool Contains(std::string_view word) const;  // ignoring case, whole entries
    // Adds an entry as given; returns where it went.
    std::size_t Append(std::string entry);
    void Replace(std::size_t i, std::string entry);
    void RemoveAt(std::size_t i);
    // Removes the given positions (any order, duplicates allowed) in one pass.
    void RemoveIndices(const std::vector<std::size_t>& indices);
    void Swap(std::size_t a, std::size_t b);
    // Replaces the whole content; no current entry and no selection after it.
    void Assign(std::vector<std::string> entries);
    void Clear() { Assign({}); }

private:
    void Forget(const std::string& entry);

    bool multiSelect_ = true;
    TextKind kind_ = TextKind::Cp1251;
    bool sorted_ = false;
    int current_ = -1;
    std::vector<std::string> entries_;
    std::vector<char> selected_;  // parallel to entries_; unused for one selection
    std::unordered_map<std::string, int> folded_;  // folded entry -> how many entries have it
};

// ---- Add, edit, delete, move ----

enum class AddOutcome { Added, Duplicate };
// Appends the text as typed unless the list holds it ignoring case (then the
// window asks whether to enter the word again).
AddOutcome AddWord(WordList& list, std::string text);

enum class EditOutcome { NoCurrent, Replaced, Refused };
// Replaces the current entry. The keyword list refuses a text it already holds
// ignoring case, the current entry itself included.
EditOutcome EditWord(WordList& list, ListKind kind, std::string text);

// How many entries a delete takes: the selected ones, or for a one-selection
// list 1 when it has a current entry.
std::size_t DeleteCount(const WordList& list);
// Deletes what the question spoke of; returns whether anything was deleted.
bool DeleteChosen(WordList& list);

// "Вверх" and "Вниз" of the keyword list: swap the current entry with its
// neighbour; the current entry moves with the word.
bool MoveUp(WordList& list);
bool MoveDown(WordList& list);

// ---- Transfer and drag and drop ----

// The word of a formed-word line or of a dropped entry: the text before its
// first ':' trimmed, or the whole text when it has no ':'.
std::string WordOfEntry(std::string_view entry);

enum class TransferOutcome { Nothing, Added, Duplicate };
// ">": the word of the current formed line to the keyword list; the line stays.
TransferOutcome TransferCurrent(const WordList& formed, WordList& keywords);
// ">>": the selected formed lines, last to first, leave the formed list and
// their words join the keyword list unless it holds them already.
void TransferSelected(WordList& formed, WordList& keywords);

// The dragged text after a drag starts from `source`: its current entry, or
// the previous dragged text when it has none.
std::string DragStartText(const WordList& source, std::string previous);
bool AcceptsDrop(std::string_view dragged);
// A drop of `dragged` from `source` onto `target` (they may be the same list).
void DropWords(WordList& source, WordList& target, std::string_view dragged);

// ---- Keywords text ----

// Separator choice: 0 ",", 1 " ", 2 ", ". Anything else is taken as 0.
std::string_view SeparatorText(int choice);

// Fills `keywords` from the keywords field's text and chooses the separator
// from what the text uses; `choice` stays when the text gives no hint.
void SplitKeywords(std::string_view text, int& choice, WordList& keywords);

// The keywords text composed from the two lists (steps without files).
std::string ComposeKeywordsText(const WordList& insertList, const WordList& keywordList,
                                int choice, bool bolSaveKeyObword, bool sortAlphabetically);

struct ComposeOutcome {
    bool keywordsReady = false;  // `keywords` is to replace the keywords field
    std::string keywords;
    std::string error;           // a list file that could not be written
    bool ok() const { return error.empty(); }
};
// The "Сохранить" of the window: writes the excluded words, composes the text,
// sets the keyword list's sorted display, writes the mandatory words. A failed
// first write leaves the keywords unhanded; a failed second comes after them.
ComposeOutcome ComposeKeywords(const WordList& insertList, const std::string& insertListFile,
                               const WordList& deleteList, const std::string& deleteListFile,
                               WordList& keywordList, int choice, bool bolSaveKeyObword,
                               bool sortAlphabetically);

struct KeywordCounters {
    std::size_t words = 0;       // "Всего слов"
    std::size_t characters = 0;  // "Символов с учетом разделителей"
};
// The two numbers beside the keyword list. A single entry shorter than
// `minWordLen` with its separator is dropped from the list.
KeywordCounters UpdateKeywordCounters(WordList& keywords, int choice, int minWordLen);

}  // namespace veskaron::generator
