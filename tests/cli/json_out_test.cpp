// The compact writer gives the library's own text, byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "cli/fields_json.h"
#include "cli/json_out.h"

namespace veskaron::cli {
namespace {

TEST(CompactJson, SameTextAsTheLibrary) {
    using nlohmann::json;
    const json values[] = {
        json::object(),
        json::array(),
        json{{"b", 1}, {"a", "x"}, {"c", json{{"On", true}, {"Effect", -23}, {"Duration", 0}}}},
        json{{"Path", "/tmp/\xD0\xB0 \"q\" \\ \t\r\n\b\f\x01\x1F\x7F"}, {"Size", 18446744073709551615ULL}},
        json{{"bad", "\xC0\xAF \xFF x \xE2\x82 \xED\xA0\x80 \xF4\x90\x80\x80 end"}, {"n", nullptr}},
        json{{"k", "\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD"}, {"f", 2.5}, {"neg", -9223372036854775807LL}},
        json::array({1, "two", false, json::array({nullptr})}),
    };
    for (const json& v : values) {
        std::string out;
        AppendCompactJson(out, v);
        EXPECT_EQ(out, v.dump(-1, ' ', false, json::error_handler_t::replace));
    }
    // Any bytes at all in a text, as a path or a page's title may hold them.
    std::mt19937 rng(3);
    const unsigned char bytes[] = {'a', '"', '\\', 0x01, 0x7F, 0x80, 0xBF, 0xC2, 0xD0, 0xE2, 0xED, 0xF0, 0xF4, 0xFF};
    for (int round = 0; round < 3000; ++round) {
        std::string s(rng() % 12, ' ');
        for (char& c : s) c = static_cast<char>(bytes[rng() % std::size(bytes)]);
        std::string out;
        AppendCompactJson(out, json(s));
        ASSERT_EQ(out, json(s).dump(-1, ' ', false, json::error_handler_t::replace)) << round;
    }
}

}  // namespace
}  // namespace veskaron::cli

namespace veskaron::cli {
namespace {

TEST(CompactJson, FieldsWithExtraMembersAsTheObject) {
    MetaFields f;
    f.Title = "T \"\xC0\xE1\"";
    f.Author = "\x98 bad byte";
    f.TransitionAt(2).On = true;
    nlohmann::json extra = {{"Path", "/p\xFF"}, {"Size", 12}, {"Error", "e"}, {"Title", "set over"}, {"AAA", nullptr}};
    const auto& codec = *Windows1251Codec();
    nlohmann::json all = FieldsToJson(f, codec);
    for (auto& [name, value] : extra.items()) all[name] = value;
    std::string out;
    AppendFieldsJson(out, f, codec, extra);
    EXPECT_EQ(out, all.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

}  // namespace
}  // namespace veskaron::cli
