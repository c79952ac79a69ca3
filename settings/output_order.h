#pragma once
// The order in which the writer emits the 22 entries, its stored form
// ("3,0,1,2,...") and the captions of the dialog's order list.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/catalogue.h"

namespace veskaron {

// One row of the caption table: the list caption and its catalogue index.
struct TMETARec {
    std::string caption;  // UTF-8
    std::uint8_t index = 0;
};
using OrderCaptionTable = std::array<TMETARec, kEntryCount>;

// "0,1,2,...,21".
std::string DefaultOrderText();

// The stored list split at every comma. Fewer or more than 22 elements, an
// element that is not a decimal number, or numbers that are not each of 0 to
// 21 exactly once give the default order, so the result can always index the
// 22 caption rows.
OutputOrder ParseOutputOrder(std::string_view text);

// The stored form: 22 decimal numbers separated by single commas.
std::string FormatOutputOrder(const OutputOrder& order);

// The dialog's up and down buttons: exchange the selected position with its
// neighbour. Return the new selected position, or the old one when nothing
// moves (no selection, or already at that end).
int MoveOrderUp(OutputOrder& order, int selected);
int MoveOrderDown(OutputOrder& order, int selected);

// The 22 rows in catalogue order.
OrderCaptionTable MakeOrderCaptions();

}  // namespace veskaron
