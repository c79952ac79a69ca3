#include <gtest/gtest.h>

#include "engine/expiry.h"

using namespace veskaron;

namespace {
const DateTime kNow{{2026, 12, 7}, {10, 22, 31}};
}

TEST(ExpiryText, Format) {
    EXPECT_EQ(FormatExpiryText({2026, 12, 7}, {10, 22, 31}), "Mon, 07 Dec 2026 22:10:31 GMT");
    EXPECT_EQ(FormatExpiryText({2026, 7, 20}, {9, 5, 0}), "Mon, 20 Iul 2026 05:09:00 GMT");
    EXPECT_EQ(FormatExpiryText({2024, 1, 1}, {0, 0, 0}), "Mon, 01 Yan 2024 00:00:00 GMT");
    EXPECT_EQ(FormatExpiryText({2026, 2, 30}, {0, 0, 0}), std::nullopt);
}

TEST(ExpiryText, Parse) {
    struct Case { const char* text; bool ok; DateTime expected; };
    const Case cases[] = {
        {"Sat, 19 Dec 2026 30:14:05 GMT", true, {{2026, 12, 19}, {14, 30, 5}}},
        {"19 Avg 2025 01:02:03", true, {{2025, 8, 19}, {2, 1, 3}}},
        {"", true, kNow},
        {"0", false, kNow},
        {":", false, kNow},
        {",", false, kNow},
        {"Sat, 31 Feb 2026 30:14:05 GMT", false, kNow},
        {"Sat, 19 Xyz 2026 30:14:05 GMT", false, kNow},
        {"Sat, 19 Dec 2026 30:25:05 GMT", false, kNow},
    };
    for (const auto& c : cases) {
        const ExpiryParse p = ParseExpiryText(c.text, kNow);
        EXPECT_EQ(p.ok, c.ok) << c.text;
        EXPECT_EQ(p.value, c.expected) << c.text;
    }
}

TEST(ExpiryText, FormatThenParseRoundTrips) {
    for (int month = 1; month <= 12; ++month) {
        const DateTime dt{{2031, month, 28}, {month + 5, month * 4, 59 - month}};
        const auto text = FormatExpiryText(dt.date, dt.time);
        ASSERT_TRUE(text);
        const ExpiryParse p = ParseExpiryText(*text, kNow);
        EXPECT_TRUE(p.ok) << *text;
        EXPECT_EQ(p.value, dt) << *text;
    }
}
