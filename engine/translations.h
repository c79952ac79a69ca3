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
    std::string content;
    std::string second;
};
WrittenContent WriteEntry(int index, const MetaFields& f, TextKind kind = TextKind::Cp1251);

// The charset the content-type line names: the list item, or the page's own
// charset text when the list holds none.
std::string CharsetNameOf(const MetaFields& f);

// Item text of an index field (UTF-8 display text; "" for no selection).
std::string_view ItemText(int entryIndex, int itemIndex);

}  // namespace veskaron
