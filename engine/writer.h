#pragma once
// Writes the title and the META tags of the fields into a page's head: removes
// every catalogued entry's old tag, then places a fresh block of lines at the
// start or the end of the head.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/block_layout.h"
#include "engine/catalogue.h"
#include "engine/encoding.h"
#include "engine/head_scanner.h"
#include "engine/meta_fields.h"
#include "engine/refusal.h"

namespace veskaron {

struct MetaWriteOptions {
    Placement placement = Placement::AfterHeadOpen;
    AttributeOrder attributeOrder = AttributeOrder::KeyFirst;
    LineMode lineMode = LineMode::TagPerLine;
    OutputOrder order = DefaultOutputOrder();
    TextKind kind = TextKind::Cp1251;  // the document's text kind: lengths count its characters
};

enum class WriteStatus { Done, Refused };
struct WriteResult {
    WriteStatus status = WriteStatus::Done;
    Refusal refusal = Refusal::None;
    bool Done() const { return status == WriteStatus::Done; }
};

// The whole run on `text` (document text, CR LF). A refused run leaves the
// text unchanged.
WriteResult WriteMetaBlock(std::string& text, const MetaFields& fields,
                           const MetaWriteOptions& options);
// The same run on the document's own fields: a written transition without an
// effect is given effect 23, so that the fields show what the page now holds.
WriteResult WriteMetaBlock(std::string& text, MetaFields& fields, const MetaWriteOptions& options);

// The steps of a run, for callers that need one of them alone. Removals take
// the tags the head scanner reads: every META tag of the head for the key.
bool RemoveMetaTag(std::string& text, std::string_view attribute, std::string_view key);
std::string TakeTitle(std::string& text, std::string_view title);
// Removes up to two line breaks at `pos`; returns the number of characters removed.
std::size_t DropLineBreakAt(std::string& text, std::size_t pos);
// Joins the lines by the line mode and inserts them at the placement; false
// (text unchanged) when the page has no place for them.
bool PlaceBlock(std::string& text, const std::vector<std::string>& lines,
                const MetaWriteOptions& options);

// Writes the title and the name entries whose lines differ between `was` and
// `now` over the page's own tags, leaving every other byte: the title's text
// between its tags, a META tag as a whole; a name tag the page lacks gets a
// line of its own where the block would go. Only where each stands in a
// closed head at most once (the title exactly once) and the result reads as
// intended; otherwise (and for the http-equiv entries, whose values reach
// beyond their tag) the text stays as it is and false says the block must be
// written instead.
bool ReplaceEntriesInPlace(std::string& text, const MetaFields& was, const MetaFields& now,
                           const MetaWriteOptions& options);

// Whether the writer would make another block of `now` than of `was`: values
// that write nothing (an expiry date while the expiry is off) are no change.
bool BlockDiffers(const MetaFields& was, const MetaFields& now, const MetaWriteOptions& options);

// The block line of one entry, empty when the entry writes nothing.
std::string BuildEntryLine(int index, const MetaFields& fields, AttributeOrder attributeOrder,
                           TextKind kind = TextKind::Cp1251);

// Values go into double-quoted attributes. A name value is read back through
// entity decoding, so it may use any of the entities the reader turns back; an
// http-equiv value is read back as it stands, so only the characters that would
// break the tag are replaced.
std::string EscapeNameValue(std::string_view value);
std::string EscapeHttpEquivValue(std::string_view value);
std::string EscapeTitle(std::string_view title);

}  // namespace veskaron
