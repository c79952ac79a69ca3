#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "engine/cp1251.h"
#include "tests/cli/cli_fixture.h"

namespace {

constexpr const char* kLongTitle =
    "Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы, доставка по всей России за один день";

class SerpCommand : public CliTest {
protected:
    SerpCommand() : CliTest({"serp"}) {}
    void SetUp() override {
        CliTest::SetUp();
        std::filesystem::create_directories(dir_ / "site" / "news");
        // A Windows-1251 page: the texts are measured after its decoding.
        cp1251_ = Put("site/news/drill.htm",
                      veskaron::Utf8ToCp1251(std::string("<html><head>\r\n<title>") + kLongTitle +
                                             "</title>\r\n<meta name=\"description\" content=\"Дрель, 600 Вт\">\r\n"
                                             "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n"
                                             "</head><body></body></html>\r\n")
                          .text);
        canonical_ = Put("site/a.htm",
                         "<html><head><meta charset=\"utf-8\"><title>Садовые инструменты</title>"
                         "<link rel=\"canonical\" href=\"https://garden.example/tools/\"></head></html>");
    }
    std::string SiteDir() const { return (dir_ / "site").string(); }
    std::string cp1251_, canonical_;
};

TEST_F(SerpCommand, JsonLinesPerPage) {
    ASSERT_EQ(Run({"-r", SiteDir(), "--format", "jsonl", "--base-url", "https://shop.example/", "--profile",
                   "mobile", "--profile", "desktop"}),
              0)
        << err_.str();
    std::istringstream lines(out_.str());
    std::string first, second, extra;
    ASSERT_TRUE(std::getline(lines, first) && std::getline(lines, second));
    EXPECT_FALSE(std::getline(lines, extra));
    const auto a = nlohmann::ordered_json::parse(first);
    EXPECT_EQ(a.dump(), nlohmann::ordered_json({{"Path", canonical_},
                                                {"Title", "Садовые инструменты"},
                                                {"TitlePx", 212},
                                                {"TitleShown", "Садовые инструменты"},
                                                {"TitleCut", false},
                                                {"Description", ""},
                                                {"DescriptionPx", 0},
                                                {"DescriptionShown", ""},
                                                {"DescriptionCut", false},
                                                {"Address", "https://garden.example/tools/"}})
                            .dump());
    const auto drill = nlohmann::json::parse(second);
    EXPECT_EQ(drill["Title"], kLongTitle);
    EXPECT_EQ(drill["TitlePx"], 913);
    EXPECT_EQ(drill["TitleShown"], "Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы …");
    EXPECT_EQ(drill["TitleCut"], true);
    EXPECT_EQ(drill["DescriptionShown"], "Дрель, 600 Вт");
    EXPECT_EQ(drill["Address"], "https://shop.example/news/drill.htm");

    // The phone's two lines hold the whole title; a narrower line cuts it again.
    ASSERT_EQ(Run({cp1251_, "--format", "jsonl", "--profile", "mobile"}), 0);
    EXPECT_EQ(nlohmann::json::parse(out_.str())["TitleCut"], false);
    EXPECT_EQ(nlohmann::json::parse(out_.str())["TitlePx"], 731);
    EXPECT_EQ(nlohmann::json::parse(out_.str())["Address"], cp1251_);
    ASSERT_EQ(Run({cp1251_, "--format", "jsonl", "--profile", "mobile", "--title-px", "300"}), 0);
    EXPECT_EQ(nlohmann::json::parse(out_.str())["TitleCut"], true);
}

TEST_F(SerpCommand, CsvAndTable) {
    ASSERT_EQ(Run({cp1251_, "--format", "csv", "--description-px", "60"}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "Path,Title,TitlePx,TitleShown,TitleCut,Description,DescriptionPx,DescriptionShown,DescriptionCut,"
              "Address\r\n" +
                  cp1251_ + ",\"" + kLongTitle + "\",913,\"Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы …\","
                  "true,\"Дрель, 600 Вт\",91,Дрель …,true," + cp1251_ + "\r\n");

    ASSERT_EQ(Run({canonical_, cp1251_}), 0);
    EXPECT_EQ(out_.str(), canonical_ + "\n  https://garden.example/tools/\n"
                          "  Title        212/600 px       Садовые инструменты\n"
                          "  Description  0/920 px         \n\n" +
                              cp1251_ + "\n  " + cp1251_ + "\n"
                              "  Title        913/600 px  cut  Купить дрель Bosch GSB 13 RE в Москве — цены, отзывы …\n"
                              "  Description  91/920 px        Дрель, 600 Вт\n\n");
}

TEST_F(SerpCommand, ErrorsNameTheFile) {
    EXPECT_EQ(Run({(dir_ / "missing.htm").string(), canonical_, "--format", "jsonl"}), 2);
    EXPECT_NE(err_.str().find("missing.htm"), std::string::npos);
    EXPECT_NE(out_.str().find("garden.example"), std::string::npos);
    EXPECT_EQ(Run({canonical_, "--title-px", "0"}), 1);
    EXPECT_EQ(Run({}), 1);
}

}  // namespace
