#pragma once
// Why the engine refuses to write a page.
#include <string>

namespace veskaron {

// Why a run or a save writes nothing. The windows and veskaron-meta word it
// (messages/refusal_text.h).
enum class Refusal {
    None,
    NegativeRefresh,   // the refresh is on with a negative number of seconds
    EmptyContentType,  // the content type is on with a charset but no type
    NoHead,            // no <head>: the block would land at a wrong place
    NoHeadEnd,         // no </head> where the block or a new tag must go
    // An unclosed title reads as the rest of the head (or of the page); writing
    // it back would copy that into the block, and removing it would take the
    // head's other tags with it.
    UnclosedTitle,
    // A tag that the head's end leaves open: what goes after it is read as part of it.
    UnclosedTag,
    // An edit would not read back as typed, or another field would read
    // otherwise after it (the head tags beside the catalogue after a block).
    UnreadableEdit,
    UnwritableCharset,  // the charset chosen is one no save can write
};

// A refusal with what its text names.
struct RefusalReason {
    Refusal code = Refusal::None;
    std::string charset;  // UnwritableCharset: the charset chosen
    bool empty() const { return code == Refusal::None; }
    friend bool operator==(const RefusalReason&, const RefusalReason&) = default;
};

}  // namespace veskaron
