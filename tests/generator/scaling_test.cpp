// The word engine stays linear in the page size, with many distinct words and
// with many spans to remove.
#include <gtest/gtest.h>

#include <string>

#include "generator/word_engine.h"
#include "tests/scaling_guard.h"

namespace veskaron::generator {
namespace {

// Many distinct words (Cyrillic ones in both encodings), alt texts.
std::string WordsPage(std::size_t bytes) {
    std::string page = "<html><head><title>T</title></head><body>\r\n";
    for (unsigned i = 0; page.size() < bytes; ++i) {
        page += "<p>word" + std::to_string(i) + " \xF1\xEB\xEE\xE2\xEE \xD0\xA1\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xBE" +
                std::to_string(i % 977) +
                " repeated <img alt=\"picture " + std::to_string(i % 13) + "\"></p>\r\n";
    }
    return page + "</body></html>";
}

std::string SpansPage(std::size_t bytes) {
    std::string page = "<html><head></head><body>\r\n";
    while (page.size() < bytes)
        page += "<!-- note --><!DOCTYPE x><script>if (a < b) c = \"</p>\";</script><b>text words</b>\r\n";
    return page + "</body></html>";
}

TEST(Scaling, WordEngineIsLinear) {
    for (TextKind kind : {TextKind::Cp1251, TextKind::Utf8}) {
        GeneratorOptions options;
        options.bolAlt = true;
        options.kind = kind;
        for (auto make : {WordsPage, SpansPage}) {
            const auto r = test::MeasureScaling(1u << 20, make, [&](const std::string& page) {
                WordTable table;
                RunGenerator(page, {}, {"repeated"}, options, table);
                FillWordList(table, SortMode::MostFrequentFirst, false, 0);
            });
            EXPECT_LE(r.Ratio(), test::kMaxScaling) << r.small << " s, then " << r.large << " s";
        }
    }
}

}  // namespace
}  // namespace veskaron::generator
