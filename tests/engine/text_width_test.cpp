#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "engine/modern_head.h"
#include "engine/serp.h"
#include "engine/text_width.h"
#include "tests/scaling_guard.h"

using veskaron::FitText;
using veskaron::TextWidthPx;

namespace {

// The expected widths and cuts were computed apart from this code, from the
// font file with python3-fonttools (Debian python3-fonttools):
//   cmap = font.getBestCmap(); adv = font['hmtx'][cmap.get(ord(c), cmap[ord('o')])][0]
//   px = round_half_up(sum(adv) * size / font['head'].unitsPerEm)
// and a plain quadratic reading of the cut rule (every run of words tried).
struct Case {
    const char* text;
    unsigned size;
    std::size_t linePx;
    int lines;
    std::size_t px;
    const char* shown;
    bool cut;
};

const Case kCases[] = {
    {"Hello, World", 20, 600, 1, 109, "Hello, World", false},
    {"WWWWWWWWWW", 20, 600, 1, 189, "WWWWWWWWWW", false},
    {"iiiiiiiiii", 20, 600, 1, 44, "iiiiiiiiii", false},
    {"Садовые инструменты", 20, 600, 1, 212, "Садовые инструменты", false},
    // Blanks: tabs and line breaks are spaces, runs one space, none at the ends.
    {"  Садовые\t\tинструменты\r\n", 20, 600, 1, 212, "Садовые инструменты", false},
    // Characters the font lacks measure as "o".
    {"Дрель 中文 Bosch", 20, 600, 1, 147, "Дрель 中文 Bosch", false},
    {"a\xFF" "b", 20, 600, 1, 33, "a\xFF" "b", false},  // not UTF-8: one missing character
    {"", 14, 920, 1, 0, "", false},
    // Exactly the limit fits; a pixel less cuts.
    {"Садовые инструменты", 20, 212, 1, 212, "Садовые инструменты", false},
    {"Садовые инструменты", 20, 211, 1, 212, "Садовые …", true},
    {"Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы, доставка по всей России за один день", 20, 600, 1,
     913, "Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы …", true},
    // Commas, colons, semicolons and dashes before the " …" are dropped.
    {"Alpha, beta: gamma; delta - epsilon", 20, 150, 1, 315, "Alpha, beta …", true},
    {"Alpha, beta: gamma; delta - epsilon", 20, 250, 1, 315, "Alpha, beta: gamma …", true},
    {"Alpha, beta: gamma; delta - epsilon", 20, 260, 1, 315, "Alpha, beta: gamma; delta …", true},
    {"Доставка — по Москве и области", 20, 150, 1, 310, "Доставка …", true},
    {"Доставка — по Москве и области", 20, 170, 1, 310, "Доставка — по …", true},
    // A first word that does not fit is cut between characters.
    {"Электрокультиватор бензиновый", 20, 100, 1, 310, "Электро…", true},
    {"Доставка — по Москве и области", 20, 110, 1, 310, "Доставка…", true},
    {"Электрокультиватор бензиновый", 20, 5, 1, 310, "…", true},
    // Two lines: words wrap, the second line is cut.
    {"Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы, доставка по всей России за один день", 16, 400, 2,
     731, "Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы, доставка по всей России за один день", false},
    {"Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы, доставка по всей России за один день, гарантия и сервис",
     16, 400, 2, 875, "Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы, доставка по всей России за один день …",
     true},
    {"Электрокультиваторбензиновыйсчетырьмяфрезамииколесом для дачи", 16, 400, 2, 534,
     "Электрокультиваторбензиновыйсчетырьмяфрезам…", true},
};

TEST(TextWidth, WidthsAndShownTexts) {
    for (const Case& c : kCases) {
        const veskaron::FittedText fit = FitText(c.text, c.size, c.linePx, c.lines);
        EXPECT_EQ(fit.px, c.px) << c.text;
        EXPECT_EQ(fit.shown, c.shown) << c.text << " in " << c.linePx;
        EXPECT_EQ(fit.cut, c.cut) << c.text << " in " << c.linePx;
        EXPECT_EQ(TextWidthPx(c.text, c.size), c.px) << c.text;
    }
}

TEST(TextWidth, RoundsTheSumOnceAtTheEnd) {
    // "i" is 455 of 2048 units: 4.44 px at 20 px, so ten of them are 44 px, not 40.
    EXPECT_EQ(veskaron::AdvanceUnits('i'), 455u);
    EXPECT_EQ(veskaron::FontUnitsPerEm(), 2048u);
    EXPECT_EQ(TextWidthPx("i", 20), 4u);
    // Halves round up: 1024 units at 1 px are exactly half a pixel.
    EXPECT_EQ(veskaron::UnitsToPixels(1024, 1), 1u);
    EXPECT_EQ(veskaron::UnitsToPixels(1023, 1), 0u);
    EXPECT_EQ(veskaron::AdvanceUnits(0x4E2D), veskaron::AdvanceUnits('o'));
    EXPECT_EQ(veskaron::AdvanceUnits(0x1F600), veskaron::AdvanceUnits('o'));
}

TEST(TextWidth, LinearInTheText) {
    // Dash words make a naive search for the last kept character go back over
    // every earlier word.
    const auto make = [](std::size_t n) {
        std::string s;
        while (s.size() < n) s += "слово — ";
        return s;
    };
    // Both sizes larger than a core's cache, so that only the pass itself differs.
    const auto r = veskaron::test::MeasureScaling(
        1 << 21, make, [](const std::string& s) { (void)FitText(s, 14, 5000, 2); }, 3);
    EXPECT_LE(r.Ratio(), veskaron::test::kMaxScaling);

    const std::string mb = make(1 << 20);
    const auto t0 = std::chrono::steady_clock::now();
    const veskaron::FittedText fit = FitText(mb, veskaron::kDesktopSerp.descriptionSizePx, veskaron::kDesktopSerp.descriptionPx);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_TRUE(fit.cut);
    EXPECT_LT(ms, 500.0) << "a 1 MB description took " << ms << " ms";
}

TEST(Serp, CanonicalHrefAndAddress) {
    auto ReadCanonicalAddress = [](std::string_view text) { return veskaron::ReadModernHead(text).fields[veskaron::kCanonical]; };
    EXPECT_EQ(ReadCanonicalAddress("<head><LINK Rel=\"alternate canonical\" HREF='https://a.ru/x'></head>"),
              "https://a.ru/x");
    EXPECT_EQ(ReadCanonicalAddress("<head><link rel=stylesheet href=s.css><link href=/y rel=canonical></head>"), "/y");
    // Only the head counts, and a data-href is not the href.
    EXPECT_EQ(ReadCanonicalAddress("<head></head><body><link rel=canonical href=/z>"), "");
    EXPECT_EQ(ReadCanonicalAddress("<link rel=canonical data-href=/a><body>"), "");

    using veskaron::SerpAddress;
    EXPECT_EQ(SerpAddress("https://a.ru/x", "https://b.ru", "p.htm"), "https://a.ru/x");
    EXPECT_EQ(SerpAddress("/shop/", "https://b.ru/site/", "news/p.htm"), "https://b.ru/shop/");
    EXPECT_EQ(SerpAddress("q.htm", "https://b.ru", "news/p.htm"), "https://b.ru/news/q.htm");
    EXPECT_EQ(SerpAddress("", "https://b.ru/", "news/p.htm"), "https://b.ru/news/p.htm");
    EXPECT_EQ(SerpAddress("", "", "news/p.htm"), "news/p.htm");
}

}  // namespace
