#include <gtest/gtest.h>

#include "engine/cp1251.h"
#include "engine/text_codec.h"

using namespace veskaron;

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    const auto back = Utf8ToCp1251(Cp1251ToUtf8(all));
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.text, all);
}

TEST(Cp1251, RefusesWhatItCannotHold) {
    struct Case { const char* utf8; bool ok; };
    const Case cases[] = {
        {"Привет, мир", true},
        {"\xE2\x84\x96 \xC2\xAB\xC2\xBB", true},  // № « »
        {"\xE4\xB8\xAD", false},                  // a CJK character
        {"\xC3\xA9", false},                      // é
        {"\xD0", false},                          // truncated sequence
        {"\xC0\x80", false},                      // overlong NUL
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1251(c.utf8).ok, c.ok) << c.utf8;
}

TEST(Cp1251, LetterCasePairs) {
    EXPECT_EQ(LowerText("ABC \xC0\xDF\xA8\xAA\xB2\xAF\xA5"), "abc \xE0\xFF\xB8\xBA\xB3\xBF\xB4");
    EXPECT_EQ(UpperText("\xE0\xFF\xB8"), "\xC0\xDF\xA8");
    EXPECT_EQ(LowerAscii("ABC\xC0"), "abc\xC0");
    EXPECT_TRUE(IsLetterChar(0xB8));
    EXPECT_FALSE(IsLetterChar('1'));
    EXPECT_FALSE(IsLetterChar(0xB9));  // №
}

TEST(TextCodec, Windows1251KeepsEveryByteAndWritesReferencesForTheRest) {
    const auto codec = veskaron::Windows1251Codec();
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    const auto back = codec->FromUtf8(codec->ToUtf8(all));
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(back.references, 0u);

    const auto mixed = codec->FromUtf8("\xD0\x96 \xE4\xB8\xAD \xF0\x9F\x98\x80");  // Ж 中 😀
    EXPECT_EQ(mixed.bytes, "\xC6 &#20013; &#128512;");
    EXPECT_EQ(mixed.references, 2u);
}
