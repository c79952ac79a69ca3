#include "settings/output_order.h"

#include <gtest/gtest.h>

#include "messages/catalogue_texts.h"

namespace veskaron {
namespace {

TEST(OutputOrderTest, DefaultText) {
    EXPECT_EQ(DefaultOrderText(), "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21");
    EXPECT_EQ(ParseOutputOrder(DefaultOrderText()), DefaultOutputOrder());
}

TEST(OutputOrderTest, UnusableListsGiveTheDefaultOrder) {
    const std::string reversed = "21,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0";
    const struct {
        const char* label;
        std::string text;
        bool usable;
    } cases[] = {
        {"reversed", reversed, true},
        {"leading zeros", "01,00,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21", true},
        {"three elements", "5,4,3", false},
        {"empty", "", false},
        {"21 elements", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20", false},
        {"23 elements", reversed + ",0", false},
        {"trailing comma", reversed + ",", false},
        {"blank kept in element", " 21,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0", false},
        {"not a number", "a,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0", false},
        {"negative", "-1,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0", false},
        {"out of range", "22,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0", false},
        {"huge", "99999999999999999999,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0", false},
        {"repeated", "0,0,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21", false},
        {"empty element", "0,,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const OutputOrder order = ParseOutputOrder(c.text);
        EXPECT_TRUE(IsPermutation(order));
        EXPECT_EQ(order != DefaultOutputOrder(), c.usable);
    }
}

TEST(OutputOrderTest, MovesFormatAndParseRoundTrip) {
    OutputOrder order = DefaultOutputOrder();
    int selected = 3;  // description to the top
    while (selected > 0) selected = MoveOrderUp(order, selected);
    EXPECT_EQ(MoveOrderUp(order, selected), 0);  // already at the top
    EXPECT_EQ(FormatOutputOrder(order), "3,0,1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21");
    EXPECT_EQ(MoveOrderDown(order, 21), 21);   // already at the bottom
    EXPECT_EQ(MoveOrderDown(order, -1), -1);   // nothing selected
    EXPECT_EQ(MoveOrderUp(order, -1), -1);
    EXPECT_EQ(MoveOrderDown(order, 0), 1);
    EXPECT_EQ(MoveOrderDown(order, 20), 21);
    EXPECT_EQ(FormatOutputOrder(order), "0,3,1,2,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,21,20");
    EXPECT_TRUE(IsPermutation(order));
    EXPECT_EQ(ParseOutputOrder(FormatOutputOrder(order)), order);
}

TEST(OutputOrderTest, CaptionTable) {
    const OrderCaptionTable rows = MakeOrderCaptions();
    for (int i = 0; i < kEntryCount; ++i) EXPECT_EQ(rows[static_cast<std::size_t>(i)].index, i);
    EXPECT_EQ(rows[0].caption, "name - Title (Заголовок)");
    EXPECT_EQ(rows[8].caption, "name - ProgId");
    EXPECT_EQ(rows[11].caption, "http-equiv - Case-control (управление кешированием)");
    EXPECT_EQ(rows[12].caption, "http-equiv - Progma (Запрет кеширования)");
    EXPECT_EQ(rows[14].caption, "http-equiv - Expiries (Дата устаревания документа)");
    EXPECT_EQ(rows[21].caption, "http-equiv - Site-Exit (Эффект ухода с сайта)");
    EXPECT_EQ(EntryCaption(11), "http-equiv - Case-control (управление кешированием)");
    for (auto e : ListTexts::Effect) EXPECT_EQ(e.back(), ' ');
    EXPECT_EQ(ListTexts::Effect[23], "23 - Random (случайный эффект) ");
}

}  // namespace
}  // namespace veskaron
