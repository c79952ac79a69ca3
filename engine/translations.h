#pragma once
// Translation of tag contents to field values (reading) and of field values to
// tag contents (writing), one rule per catalogue entry.
#include <optional>
#include <string>
#include <string_view>

#include "engine/encoding.h"
#include "engine/meta_fields.h"

namespace veskaron {

// Splits at every `sep` into at most three parts; returns the number of separators.
// Text after a third separator is dropped.
struct WordParts {
    std::string part[3];
    int separators = 0;
};
WordParts SplitWords(std::string_view text, char sep);

enum class SplitOutcome { Absent, FirstOnly, Both };
struct ContentParts {
    SplitOutcome outcome = SplitOutcome::Absent;
    std::string first;   // lower case, blanks kept
    std::string second;  // lower case
    std::string secondAsWritten;  // the second part with the page's own case
};
ContentParts SplitContent(std::string_view content, std::string_view secondName,
                          TextKind kind = TextKind::Cp1251);

// A decimal integer as a content holds it: leading blanks and a sign allowed,
// anything else (a trailing blank too) fails. The error text names the input.
struct IntResult {
    bool ok = false;
    long long value = 0;
    std::string error;
};
IntResult ParseContentInt(std::string_view text);

// Blanks and control characters trimmed from both ends.
std::string TrimBlanks(std::string_view s);

// The number cleaning applied to transition texts; `localeSep` is the user's
// decimal separator.
std::string CleanNumberText(std::string_view text, char localeSep = '.');

// Read translations. Each returns an error text when a number in the content
// cannot be converted (the field is then left as it was), empty otherwise.
// Expiries (14) are read by the loader, which owns the date parsing.
struct ReadOutcome {
    std::string error;
    bool refreshUrlEnabled = true;  // refresh only: the URL box is usable
};
// Texts are in the document's text kind, which decides lower case and length.
ReadOutcome ReadEntry(int index, std::string_view content, MetaFields& f,
                      char localeSep = '.', TextKind kind = TextKind::Cp1251);

// Write translations. `written` is false when the entry gives no line. For
// refresh, `content` is the seconds and `second` the trimmed URL; for
// content-type, `content` is the trimmed type item and `second` the trimmed
// charset item (or the page's own charset text). The title is always written,
// with `content` = Title. Lengths are counted in characters of `kind`.
struct WrittenContent {
    bool written = false;
    bool own = false;  // `content` is the page's own words, the whole content
    std::string content;
    std::string second;
};
// An entry whose values still read as the page's own words writes those.
WrittenContent WriteEntry(int index, const MetaFields& f, TextKind kind = TextKind::Cp1251);

// The content the entry's tag would carry, before escaping; empty when the
// entry writes no line.
std::string EntryContentText(int index, const MetaFields& f, TextKind kind = TextKind::Cp1251);
// Keeps `content`, just read into the entry, as the page's own words when the
// fields would write it otherwise (blank runs and the letter case of list words
// aside); clears them when they would write it so.
void KeepOwnText(int index, std::string_view content, MetaFields& f, TextKind kind = TextKind::Cp1251);
// Whether the entry's values are the same in `a` and `b` (own words aside).
bool SameEntryValues(int index, const MetaFields& a, const MetaFields& b);
// After edits that may set an entry's own words and its values both (a CSV
// row holds both columns): own words that changed are read into the entry as a
// load reads them; values that changed without them replace them.
void ReconcileOwnTexts(const MetaFields& before, MetaFields& after, TextKind kind = TextKind::Cp1251);
// Whether the entry's own words are set and its values still read as them.
bool OwnTextHolds(int index, const MetaFields& f, TextKind kind = TextKind::Cp1251);

// The charset the content-type line names: the list item, or the page's own
// charset text when the list holds none.
std::string CharsetNameOf(const MetaFields& f);

// The word an index field writes, as pages hold it, for the lists of such
// words (content type, language, distribution); "" for no selection.
std::string_view ItemText(int entryIndex, int itemIndex);

}  // namespace veskaron
