#pragma once
// Whether a document differs from what was last loaded or saved.
#include <array>
#include <string>

#include "engine/meta_fields.h"

namespace veskaron {

// The values compared against after a load or save: texts trimmed, indices,
// the revisit count, the content type and charset, and the transitions.
struct RememberedFields {
    std::string Author, Copyright, Distribution, Generator, ProgId, Url, Location,
        ContentLanguage;
    int Robots = -1, RevisitUnit = -1, CacheControl = -1, Pragma = -1;
    // The content type and charset chosen: a new charset alone is worth a save.
    int ContentType = -1, Charset = -1;
    std::string CharsetText;
    int RevisitCount = 0;
    std::array<Transition, 4> Transitions{};
    // The page's own words: choosing a list entry over them is an edit.
    std::array<std::string, 22> OwnText;
    friend bool operator==(const RememberedFields&, const RememberedFields&) = default;
};

// What the comparison cannot see: the user's own edits of the title, the two
// memos and the source, and the three toggles of the content-type, refresh and
// expiry controls.
struct EditMarks {
    bool titleEdited = false;
    bool descriptionEdited = false;
    bool keywordsEdited = false;
    bool sourceEdited = false;
    bool contentTypeToggled = false;
    bool refreshTouched = false;
    bool expiryTouched = false;
    bool Any() const {
        return titleEdited || descriptionEdited || keywordsEdited || sourceEdited ||
               contentTypeToggled || refreshTouched || expiryTouched;
    }
};

RememberedFields RememberFields(const MetaFields& f);

// The new modified flag. A modified document stays modified until the next
// snapshot.
bool UpdateModifiedState(bool modified, const RememberedFields& snapshot,
                         const MetaFields& current, const EditMarks& marks);

}  // namespace veskaron
