#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/cp1251.h"
#include "engine/modern_head.h"
#include "engine/text_codec.h"
#include "messages/audit_texts.h"
#include "site/audit.h"

namespace {

using veskaron::site::Level;

// The width findings of a Windows-1251 page with this title and description
// (UTF-8 here), as "code|level|message".
std::vector<std::string> WidthFindings(const std::string& title, const std::string& description) {
    veskaron::Document doc;
    doc.page.text = "<html><head><meta charset=\"windows-1251\"></head></html>";
    doc.fields.Title = veskaron::Utf8ToCp1251(title).text;
    doc.fields.Description = veskaron::Utf8ToCp1251(description).text;
    std::vector<std::string> found;
    for (const auto& f : veskaron::site::AuditPage(doc, doc.page.text).findings) {
        if (!f.code.ends_with("-width") && f.code != "title-short") continue;
        found.push_back(std::string(f.code) + "|" + std::string(veskaron::site::LevelName(f.level)) + "|" + f.message);
    }
    return found;
}

TEST(AuditWidths, TitleAndDescriptionAgainstTheDesktopResult) {
    const std::string phrase = "Описание садовых инструментов с доставкой";  // 300 px at 14 px
    const std::string fitting = phrase + " " + phrase + " " + phrase + " и";  // 917 px
    struct Case {
        std::string title, description;
        std::vector<std::string> findings;
    };
    const Case cases[] = {
        {"Дрели и шуруповёрты Bosch", fitting, {}},
        {"Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы, доставка по всей России", fitting,
         {"title-width|warning|Заголовок шире строки результата поиска: 787 из 600 px"}},
        {"Садовый инвентарь", "",
         {"title-short|info|Заголовок занимает мало места в результате поиска: 187 px, меньше 200 px"}},
        // Blanks around and inside count as one space, as the result shows them.
        {"  Дрели\tи\r\nшуруповёрты   Bosch ", fitting + " инструмент",
         {"description-width|warning|Описание длиннее места в результате поиска: 996 из 920 px"}},
    };
    for (const Case& c : cases) EXPECT_EQ(WidthFindings(c.title, c.description), c.findings) << c.title;
}

// A broken JSON-LD block is reported in Russian, with where the parser stopped.
TEST(AuditTexts, JsonLdErrorsSayWhereInRussian) {
    const std::string page =
        "<html><head><script type=\"application/ld+json\">{\n  \"@type\": \"A\",\n  \"x\": ,\n}</script>"
        "<script type=\"application/ld+json\">{\"@type\": </script></head></html>";
    const veskaron::ModernHead h = veskaron::ReadModernHead(page, veskaron::Utf8Codec().get());
    ASSERT_EQ(h.jsonLd.size(), 2u);
    EXPECT_EQ(veskaron::JsonLdErrorText(h.jsonLd[0]), "строка 3, столбец 8: ошибка в записи данных (знак не на месте или лишний)");
    EXPECT_TRUE(veskaron::JsonLdErrorText(h.jsonLd[1]).starts_with("строка 1, столбец 11: запись оборвана"));
    EXPECT_EQ(veskaron::FindingName("canonical-missing"), "Нет канонического адреса");
    EXPECT_EQ(veskaron::FindingName("new-code"), "new-code");
}

}  // namespace
