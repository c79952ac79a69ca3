#pragma once
// The catalogue as the windows show it: each entry's line in the output-order
// list, and the fixed lists whose items are Russian texts (the robots words,
// the revisit units, caching, the transition effects). Index 0 of a list is
// always the empty item; a field's number is its item's index.
#include <array>
#include <string_view>

namespace veskaron {

std::string_view EntryCaption(int index);

struct ListTexts {
    static const std::array<std::string_view, 5> Robots;
    static const std::array<std::string_view, 4> Unit;
    static const std::array<std::string_view, 5> Cache;
    static const std::array<std::string_view, 2> Pragma;
    static const std::array<std::string_view, 24> Effect;
};

}  // namespace veskaron
