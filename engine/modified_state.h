#pragma once
// Whether a document differs from what was last loaded or saved.

#include "engine/meta_fields.h"

namespace veskaron {

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

// The values compared after a load or save: every field, its free texts
// without their leading and trailing blanks. Left out on purpose: the expiry
// text, only the shown form of the expiry date and time (those are compared).
MetaFields RememberFields(const MetaFields& f);

// Whether the fields differ from a snapshot taken by RememberFields, or an
// edit the comparison cannot see was made.
bool DiffersFromSnapshot(const MetaFields& snapshot, const MetaFields& current, const EditMarks& marks);

// The new modified flag. A modified document stays modified until the next
// snapshot.
bool UpdateModifiedState(bool modified, const MetaFields& snapshot, const MetaFields& current,
                         const EditMarks& marks);

}  // namespace veskaron
