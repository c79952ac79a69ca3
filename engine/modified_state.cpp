#include "engine/modified_state.h"

#include "engine/catalogue.h"
#include "engine/translations.h"

namespace veskaron {

RememberedFields RememberFields(const MetaFields& f) {
    RememberedFields r;
    r.Author = TrimBlanks(f.Author);
    r.Copyright = TrimBlanks(f.Copyright);
    r.Distribution = TrimBlanks(ItemText(kDistribution, f.Distribution));
    r.Generator = TrimBlanks(f.Generator);
    r.ProgId = TrimBlanks(f.ProgId);
    r.Url = TrimBlanks(f.Url);
    r.Location = TrimBlanks(f.Location);
    r.ContentLanguage = TrimBlanks(ItemText(kContentLanguage, f.ContentLanguage));
    r.Robots = f.Robots;
    r.RevisitUnit = f.RevisitUnit;
    r.CacheControl = f.CacheControl;
    r.Pragma = f.Pragma;
    r.ContentType = f.ContentType;
    r.Charset = f.Charset;
    r.CharsetText = f.CharsetText;
    r.RevisitCount = f.RevisitCount;
    for (int i = 0; i < 4; ++i) r.Transitions[static_cast<std::size_t>(i)] = f.TransitionAt(i);
    r.OwnText = f.OwnText;
    return r;
}

bool UpdateModifiedState(bool modified, const RememberedFields& snapshot, const MetaFields& current,
                         const EditMarks& marks) {
    if (modified) return true;
    return marks.Any() || RememberFields(current) != snapshot;
}

}  // namespace veskaron
