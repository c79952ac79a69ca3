#include "generator/word_lists.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "engine/cp1251.h"
#include "generator/word_engine.h"
#include "generator/word_list_file.h"

namespace veskaron::generator {

namespace {

// Sort weights of the Windows-1251 bytes: the lower-case byte value, with the
// Cyrillic letters outside the basic alphabet placed right after their base
// letter ("і" after "и", "ґ" after "г", ...). "ё" weighs as "е", as in a
// dictionary; only otherwise equal words put "е" first.
const std::array<unsigned, 256>& CollationWeights() {
    static const std::array<unsigned, 256> table = [] {
        std::array<unsigned, 256> t{};
        for (int c = 0; c < 256; ++c) t[c] = LowerChar(static_cast<unsigned char>(c)) * 4u;
        const struct { unsigned char letter, base, step; } extra[] = {
            {0xB8, 0xE5, 0},  // ё as е
            {0xBA, 0xE5, 2},  // є after е
            {0xB4, 0xE3, 1},  // ґ after г
            {0xB3, 0xE8, 1},  // і after и
            {0xBF, 0xE8, 2},  // ї after і
            {0xA2, 0xF3, 1},  // ў after у
        };
        for (int c = 0; c < 256; ++c) {
            const unsigned char lower = LowerChar(static_cast<unsigned char>(c));
            for (const auto& e : extra)
                if (lower == e.letter) t[c] = e.base * 4u + e.step;
        }
        return t;
    }();
    return table;
}

}  // namespace

std::string FoldCase(std::string_view s, TextKind kind) { return LowerFor(kind, s); }

bool AlphabeticalLess(std::string_view a, std::string_view b, TextKind kind) {
    if (kind == TextKind::Utf8) {
        const CodecPtr cp1251 = Windows1251Codec();
        return AlphabeticalLess(cp1251->FromUtf8(a).bytes, cp1251->FromUtf8(b).bytes);
    }
    const auto& w = CollationWeights();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned wa = w[static_cast<unsigned char>(a[i])];
        const unsigned wb = w[static_cast<unsigned char>(b[i])];
        if (wa != wb) return wa < wb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    // Equal but for "е" and "ё": "е" first.
    for (std::size_t i = 0; i < n; ++i) {
        const bool ya = LowerChar(static_cast<unsigned char>(a[i])) == 0xB8;
        const bool yb = LowerChar(static_cast<unsigned char>(b[i])) == 0xB8;
        if (ya != yb) return yb;
    }
    return false;
}

// ---- WordList ----

void WordList::SetCurrent(int index) {
    current_ = (index >= 0 && static_cast<std::size_t>(index) < entries_.size()) ? index : -1;
}

bool WordList::IsSelected(std::size_t i) const {
    if (i >= entries_.size()) return false;
    if (!multiSelect_) return current_ == static_cast<int>(i);
    return selected_[i] != 0;
}

void WordList::Select(std::size_t i, bool on) {
    if (i >= entries_.size()) return;
    if (!multiSelect_) {
        if (on) current_ = static_cast<int>(i);
        else if (current_ == static_cast<int>(i)) current_ = -1;
        return;
    }
    selected_[i] = on ? 1 : 0;
}

void WordList::SelectAll(bool on) {
    if (!multiSelect_) return;
    std::fill(selected_.begin(), selected_.end(), on ? 1 : 0);
}

std::vector<std::size_t> WordList::SelectedIndices() const {
    std::vector<std::size_t> out;
    if (!multiSelect_) {
        if (current_ >= 0) out.push_back(static_cast<std::size_t>(current_));
        return out;
    }
    for (std::size_t i = 0; i < selected_.size(); ++i)
        if (selected_[i]) out.push_back(i);
    return out;
}

std::size_t WordList::SelectedCount() const {
    if (!multiSelect_) return current_ >= 0 ? 1 : 0;
    return static_cast<std::size_t>(std::count(selected_.begin(), selected_.end(), 1));
}

void WordList::SetSorted(bool on) {
    sorted_ = on;
    if (!on || entries_.size() < 2) return;
    // Keep the current entry and the selection with their words.
    std::vector<std::size_t> order(entries_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return AlphabeticalLess(entries_[a], entries_[b], kind_);
    });
    std::vector<std::string> entries(entries_.size());
    std::vector<char> selected(selected_.size());
    int current = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        entries[i] = std::move(entries_[order[i]]);
        selected[i] = selected_[order[i]];
        if (current_ == static_cast<int>(order[i])) current = static_cast<int>(i);
    }
    entries_ = std::move(entries);
    selected_ = std::move(selected);
    current_ = current;
}

bool WordList::Contains(std::string_view word) const {
    return folded_.find(FoldCase(word, kind_)) != folded_.end();
}

std::size_t WordList::Append(std::string entry) {
    std::size_t pos = entries_.size();
    if (sorted_) {
        pos = static_cast<std::size_t>(
            std::upper_bound(entries_.begin(), entries_.end(), entry,
                             [this](const std::string& a, const std::string& b) {
                                 return AlphabeticalLess(a, b, kind_);
                             }) -
            entries_.begin());
    }
    ++folded_[FoldCase(entry, kind_)];
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(entry));
    selected_.insert(selected_.begin() + static_cast<std::ptrdiff_t>(pos), 0);
    if (current_ >= static_cast<int>(pos)) ++current_;
    return pos;
}

void WordList::Forget(const std::string& entry) {
    auto it = folded_.find(FoldCase(entry, kind_));
    if (it != folded_.end() && --it->second <= 0) folded_.erase(it);
}

void WordList::Replace(std::size_t i, std::string entry) {
    if (i >= entries_.size()) return;
    Forget(entries_[i]);
    ++folded_[FoldCase(entry, kind_)];
    entries_[i] = std::move(entry);
}

void WordList::RemoveAt(std::size_t i) { RemoveIndices({i}); }

void WordList::RemoveIndices(const std::vector<std::size_t>& indices) {
    std::vector<char> drop(entries_.size(), 0);
    bool any = false;
    for (std::size_t i : indices) {
        if (i < entries_.size()) {
            drop[i] = 1;
            any = true;
        }
    }
    if (!any) return;
    std::size_t out = 0;
    int current = -1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (drop[i]) {
            Forget(entries_[i]);
            continue;
        }
        if (current_ == static_cast<int>(i)) current = static_cast<int>(out);
        if (out != i) {
            entries_[out] = std::move(entries_[i]);
            selected_[out] = selected_[i];
        }
        ++out;
    }
    entries_.resize(out);
    selected_.resize(out);
    current_ = current;
}

void WordList::Swap(std::size_t a, std::size_t b) {
    if (a >= entries_.size() || b >= entries_.size() || a == b) return;
    std::swap(entries_[a], entries_[b]);
    std::swap(selected_[a], selected_[b]);
    if (current_ == static_cast<int>(a)) current_ = static_cast<int>(b);
    else if (current_ == static_cast<int>(b)) current_ = static_cast<int>(a);
}

void WordList::Assign(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    selected_.assign(entries_.size(), 0);
    current_ = -1;
    folded_.clear();
    for (const auto& e : entries_) ++folded_[FoldCase(e, kind_)];
    if (sorted_) SetSorted(true);
}

// ---- Add, edit, delete, move ----

AddOutcome AddWord(WordList& list, std::string text) {
    if (list.Contains(text)) return AddOutcome::Duplicate;
    list.Append(std::move(text));
    return AddOutcome::Added;
}

EditOutcome EditWord(WordList& list, ListKind kind, std::string text) {
    if (list.current() < 0) return EditOutcome::NoCurrent;
    if (kind == ListKind::Keyword && list.Contains(text)) return EditOutcome::Refused;
    list.Replace(static_cast<std::size_t>(list.current()), std::move(text));
    return EditOutcome::Replaced;
}

std::size_t DeleteCount(const WordList& list) { return list.SelectedCount(); }

bool DeleteChosen(WordList& list) {
    if (list.empty()) return false;
    const auto chosen = list.SelectedIndices();
    if (chosen.empty()) return false;
    list.RemoveIndices(chosen);
    return true;
}

bool MoveUp(WordList& list) {
    const int i = list.current();
    if (i <= 0) return false;
    list.Swap(static_cast<std::size_t>(i), static_cast<std::size_t>(i - 1));
    return true;
}

bool MoveDown(WordList& list) {
    const int i = list.current();
    if (i < 0 || static_cast<std::size_t>(i) + 1 >= list.size()) return false;
    list.Swap(static_cast<std::size_t>(i), static_cast<std::size_t>(i + 1));
    return true;
}

// ---- Transfer and drag and drop ----

std::string WordOfEntry(std::string_view entry) {
    const std::size_t colon = entry.find(':');
    if (colon == std::string_view::npos) return std::string(entry);
    return std::string(TrimBlanks(entry.substr(0, colon)));
}

TransferOutcome TransferCurrent(const WordList& formed, WordList& keywords) {
    if (formed.empty() || formed.current() < 0) return TransferOutcome::Nothing;
    std::string word = WordOfEntry(formed.at(static_cast<std::size_t>(formed.current())));
    if (keywords.Contains(word)) return TransferOutcome::Duplicate;
    keywords.Append(std::move(word));
    return TransferOutcome::Added;
}

namespace {

// Moves the given source entries (last to first) to the target as words,
// dropping words the target holds already. When source and target are the
// same list, an entry still waiting to be moved counts as held, as it would be
// if the entries were moved one at a time.
void MoveWords(WordList& source, WordList& target, const std::vector<std::size_t>& chosen) {
    const bool self = &source == &target;
    std::vector<std::string> folded;
    std::unordered_map<std::string, int> pending;
    std::vector<std::string> words;
    words.reserve(chosen.size());
    for (std::size_t i : chosen) {
        words.push_back(WordOfEntry(source.at(i)));
        if (self) {
            folded.push_back(FoldCase(source.at(i), source.kind()));
            ++pending[folded.back()];
        }
    }
    source.RemoveIndices(chosen);
    for (std::size_t k = words.size(); k-- > 0;) {
        if (self) --pending[folded[k]];
        if (target.Contains(words[k])) continue;
        if (self) {
            auto it = pending.find(FoldCase(words[k], source.kind()));
            if (it != pending.end() && it->second > 0) continue;
        }
        target.Append(std::move(words[k]));
    }
}

}  // namespace

void TransferSelected(WordList& formed, WordList& keywords) {
    MoveWords(formed, keywords, formed.SelectedIndices());
}

std::string DragStartText(const WordList& source, std::string previous) {
    if (source.current() < 0) return previous;
    return source.at(static_cast<std::size_t>(source.current()));
}

bool AcceptsDrop(std::string_view dragged) { return !dragged.empty(); }

void DropWords(WordList& source, WordList& target, std::string_view dragged) {
    if (!AcceptsDrop(dragged)) return;
    if (source.multiSelect() && source.SelectedCount() == 1) {
        std::string word = WordOfEntry(dragged);
        if (target.Contains(word)) return;
        target.Append(std::move(word));  // keeps the source's current entry in step
        if (source.current() >= 0) source.RemoveAt(static_cast<std::size_t>(source.current()));
        return;
    }
    MoveWords(source, target, source.SelectedIndices());
}

// ---- Keywords text ----

std::string_view SeparatorText(int choice) {
    switch (choice) {
        case 1: return " ";
        case 2: return ", ";
        default: return ",";
    }
}

void SplitKeywords(std::string_view text, int& choice, WordList& keywords) {
    keywords.Clear();
    if (text.empty()) return;
    char split = ' ';
    if (text.find(", ") != std::string_view::npos) {
        choice = 2;
        split = ',';
    } else if (text.find(',') != std::string_view::npos) {
        choice = 0;
        split = ',';
    } else if (text.find(' ') != std::string_view::npos) {
        choice = 1;
    }
    auto add = [&keywords](std::string_view piece) {
        std::string word(TrimBlanks(piece));
        if (!keywords.Contains(word)) keywords.Append(std::move(word));
    };
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != split) continue;
        add(text.substr(begin, i - begin));
        begin = i + 1;
    }
    if (begin < text.size()) add(text.substr(begin));
}

std::string ComposeKeywordsText(const WordList& insertList, const WordList& keywordList,
                                int choice, bool bolSaveKeyObword, bool sortAlphabetically) {
    std::vector<std::string_view> result;
    std::unordered_set<std::string> held;
    if (bolSaveKeyObword) {
        for (const auto& e : insertList.entries()) {
            result.push_back(e);
            held.insert(FoldCase(e, keywordList.kind()));
        }
    }
    for (const auto& e : keywordList.entries()) {
        if (held.insert(FoldCase(e, keywordList.kind())).second) result.push_back(e);
    }
    if (sortAlphabetically) {
        std::stable_sort(result.begin(), result.end(), [&keywordList](std::string_view a, std::string_view b) {
            return AlphabeticalLess(a, b, keywordList.kind());
        });
    }
    const std::string_view separator = SeparatorText(choice);
    std::string text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (i > 0) text += separator;
        text += TrimBlanks(result[i]);
    }
    return text;
}

ComposeOutcome ComposeKeywords(const WordList& insertList, const std::string& insertListFile,
                               const WordList& deleteList, const std::string& deleteListFile,
                               WordList& keywordList, int choice, bool bolSaveKeyObword,
                               bool sortAlphabetically) {
    ComposeOutcome outcome;
    outcome.error = WriteWordListFile(deleteListFile, deleteList.entries());
    if (!outcome.ok()) return outcome;
    outcome.keywords =
        ComposeKeywordsText(insertList, keywordList, choice, bolSaveKeyObword, sortAlphabetically);
    keywordList.SetSorted(sortAlphabetically);
    outcome.keywordsReady = true;
    outcome.error = WriteWordListFile(insertListFile, insertList.entries());
    return outcome;
}

KeywordCounters UpdateKeywordCounters(WordList& keywords, int choice, int minWordLen) {
    const std::size_t sepLen = SeparatorText(choice).size();
    std::size_t total = 0;
    for (const auto& e : keywords.entries()) total += CharCount(keywords.kind(), TrimBlanks(e)) + sepLen;
    if (keywords.size() == 1 && static_cast<long long>(total) < minWordLen) keywords.Clear();
    KeywordCounters c;
    c.words = keywords.size();
    c.characters = keywords.empty() ? 0 : total - sepLen;
    return c;
}

}  // namespace veskaron::generator
