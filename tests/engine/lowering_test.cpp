// Lower-casing goes block by block where it can; it must give exactly what
// lowering one character at a time gives, whatever the bytes.
#include <gtest/gtest.h>

#include <utf8proc.h>

#include <random>
#include <string>

#include "engine/cp1251.h"
#include "engine/encoding.h"
#include "engine/text_codec.h"

using namespace veskaron;

namespace {

std::string LowerByCharacter(std::string_view text) {
    std::string out;
    for (std::size_t i = 0, len = 1; i < text.size(); i += len) {
        const char32_t cp = DecodeUtf8At(text, i, len);
        const auto lower = static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(cp)));
        if ((cp == 0xFFFD && len == 1) || lower == cp) out.append(text.substr(i, len));
        else AppendUtf8(out, lower);
    }
    return out;
}

}  // namespace

TEST(Lowering, BlocksGiveWhatCharactersGive) {
    // Russian text in both encodings, with what breaks a block: other
    // scripts, letters that grow or shrink, stray and cut-off bytes.
    const char* utf8[] = {"\xD0\x90", "\xD0\xAF", "\xD0\x81", "\xD0\x80", "\xD0\xB0", "\xD1\x8F", "\xD1\x91",
                          "\xD1\xA0", "\xD1\xA1", "A", "z", " ", "\xE2\x84\xAA", "\xC4\xB0", "\xC8\xBA",
                          "\xE2\x80\x94", "\xC2\xAB", "\xF0\x90\x90\x80", "\xD0", "\xD1", "\x90", "\xFF"};
    std::mt19937 rng(11);
    for (int round = 0; round < 20000; ++round) {
        std::string u, c;
        for (int k = static_cast<int>(rng() % 70); k > 0; --k) {
            u += rng() % 4 ? utf8[rng() % 10] : utf8[rng() % std::size(utf8)];
            c += static_cast<char>(rng() % 3 ? 0xC0 + rng() % 64 : rng() % 256);
        }
        ASSERT_EQ(LowerFor(TextKind::Utf8, u), LowerByCharacter(u)) << round;
        ASSERT_EQ(LowerFor(TextKind::Cp1251, c), LowerText(c)) << round;
    }
}
