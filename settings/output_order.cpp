#include "settings/output_order.h"

#include <utility>

#include "messages/catalogue_texts.h"

namespace veskaron {

std::string DefaultOrderText() {
    std::string text = "0";
    for (int i = 1; i < kEntryCount; ++i) {
        text += ',';
        text += std::to_string(i);
    }
    return text;
}

OutputOrder ParseOutputOrder(std::string_view text) {
    OutputOrder order{};
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view element =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (count == order.size() || element.empty()) return DefaultOutputOrder();
        std::int32_t value = 0;
        for (char c : element) {
            if (c < '0' || c > '9') return DefaultOutputOrder();
            value = value * 10 + (c - '0');
            if (value >= kEntryCount) return DefaultOutputOrder();
        }
        order[count++] = value;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != order.size() || !IsPermutation(order)) return DefaultOutputOrder();
    return order;
}

std::string FormatOutputOrder(const OutputOrder& order) {
    std::string text;
    for (std::size_t p = 0; p < order.size(); ++p) {
        if (p) text += ',';
        text += std::to_string(order[p]);
    }
    return text;
}

int MoveOrderUp(OutputOrder& order, int selected) {
    if (selected < 1 || selected >= kEntryCount) return selected;
    std::swap(order[static_cast<std::size_t>(selected)], order[static_cast<std::size_t>(selected - 1)]);
    return selected - 1;
}

int MoveOrderDown(OutputOrder& order, int selected) {
    if (selected < 0 || selected > kEntryCount - 2) return selected;
    std::swap(order[static_cast<std::size_t>(selected)], order[static_cast<std::size_t>(selected + 1)]);
    return selected + 1;
}

OrderCaptionTable MakeOrderCaptions() {
    OrderCaptionTable table;
    for (int i = 0; i < kEntryCount; ++i) {
        auto& row = table[static_cast<std::size_t>(i)];
        row.caption = std::string(EntryCaption(i));
        row.index = static_cast<std::uint8_t>(i);
    }
    return table;
}

}  // namespace veskaron
