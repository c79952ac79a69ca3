#include <gtest/gtest.h>

#include "engine/koi8.h"

using namespace veskaron;

TEST(Koi8, KnownBytes) {
    EXPECT_EQ(TranslateChars("\xF0\xD2\xC9\xD7\xC5\xD4", Koi8RLoad()), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(TranslateChars("\xCF\xF0\xE8\xE2\xE5\xF2", Koi8RSave()), "\xF0\xD2\xC9\xD7\xC5\xD4");
    EXPECT_EQ(TranslateChars("\xA3\xB3", Koi8RLoad()), "\xB8\xB3");
    EXPECT_EQ(TranslateChars("\xB8", Koi8RSave()), "\xA3");
    EXPECT_EQ(TranslateChars("\xA4\xA6\xA7", Koi8ULoad()), "\xA4\xA6\xA7");
    EXPECT_EQ(TranslateChars("<p>Text\r\n", Koi8RLoad()), "<p>Text\r\n");
    EXPECT_EQ(TranslateChars("", Koi8ULoad()), "");
}

TEST(Koi8, EveryPairIsAPermutationUndoneBySave) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    for (int charset : {3, 4}) {
        const ByteTable* load = Koi8LoadTable(charset);
        const ByteTable* save = Koi8SaveTable(charset);
        ASSERT_TRUE(load && save);
        EXPECT_EQ(TranslateChars(TranslateChars(all, *load), *save), all) << charset;
        EXPECT_EQ(TranslateChars(TranslateChars(all, *save), *load), all) << charset;
    }
    EXPECT_EQ(Koi8LoadTable(2), nullptr);
    EXPECT_EQ(Koi8SaveTable(0), nullptr);
    EXPECT_EQ(Koi8LoadTable(-1), nullptr);
}

TEST(Koi8, LetterBlockFollowsKoiOrder) {
    // 0xC1 is KOI8 "а", 0xE1 is "А"; Windows-1251 has them at 0xE0 and 0xC0.
    EXPECT_EQ(Koi8RLoad()[0xC1], 0xE0);
    EXPECT_EQ(Koi8ULoad()[0xE1], 0xC0);
    EXPECT_EQ(Koi8RLoad()[0xC0], 0xFE);  // ю
}
