#include "engine/modified_state.h"

#include <initializer_list>

#include "engine/translations.h"

namespace veskaron {
namespace {

// The free texts of the fields, as a user types them.
constexpr std::initializer_list<std::string MetaFields::*> kTexts = {
    &MetaFields::Title,      &MetaFields::Author,       &MetaFields::Copyright,   &MetaFields::Description,
    &MetaFields::Keywords,   &MetaFields::Generator,    &MetaFields::ProgId,      &MetaFields::Url,
    &MetaFields::RefreshUrl, &MetaFields::CharsetText,  &MetaFields::Location};

}  // namespace

MetaFields RememberFields(const MetaFields& f) {
    MetaFields compared = f;
    for (std::string MetaFields::*text : kTexts) compared.*text = TrimBlanks(compared.*text);
    compared.ExpiriesText.clear();
    return compared;
}

bool DiffersFromSnapshot(const MetaFields& snapshot, const MetaFields& current, const EditMarks& marks) {
    return marks.Any() || RememberFields(current) != snapshot;
}

bool UpdateModifiedState(bool modified, const MetaFields& snapshot, const MetaFields& current,
                         const EditMarks& marks) {
    return modified || DiffersFromSnapshot(snapshot, current, marks);
}

}  // namespace veskaron
