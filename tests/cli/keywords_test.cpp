#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_fixture.h"
#include "engine/cp1251.h"
#include "engine/koi8.h"
#include "platform/key_store.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

std::string W(std::string_view utf8) { return veskaron::Utf8ToCp1251(utf8).text; }

// A page with text in the head, the body, an alt text and a description.
const char* const kPage =
    "<html><head><title>Заголовок страницы</title>"
    "<meta name=\"description\" content=\"Описание страницы\"></head><body>"
    "<p>Слово слово СЛОВО engine</p><!-- <p>hidden comment</p> -->"
    "<img src=\"a.gif\" alt=\"Picture caption\"><p>engine mp3-плеер</p></body></html>";

class KeywordsCommand : public CliTest {
protected:
    KeywordsCommand() : CliTest({"keywords"}) {}
    void SetUp() override {
        CliTest::SetUp();
        page_ = Put("page.htm", W(kPage));
    }

    // Runs on the test page unless the arguments name another one first.
    nlohmann::json Json(std::vector<std::string> args) {
        if (args.empty() || args.front().starts_with("--")) args.insert(args.begin(), page_);
        args.push_back("--json");
        EXPECT_EQ(Run(args), 0) << err_.str();
        return nlohmann::json::parse(out_.str());
    }

    std::string page_;
};

TEST_F(KeywordsCommand, TextOutputListsLinesThenStatistics) {
    ASSERT_EQ(Run({page_}), 0) << err_.str();
    EXPECT_EQ(out_.str(),
              "слово : 3\nengine : 2\nплеер : 1\n\n"
              "Total: 6\nSelected: 3\nOver3: 0\nExactly3: 3\nTwice: 2\nOnce: 1\n");
}

TEST_F(KeywordsCommand, OptionsTable) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::vector<std::string> args;
        Lines lines;
    } cases[] = {
        {{}, {"слово : 3", "engine : 2", "плеер : 1"}},
        {{"--min-len", "2"}, {"слово : 3", "engine : 2", "mp3 : 1", "плеер : 1"}},
        {{"--min-len", "2", "--digits", "off"}, {"слово : 3", "engine : 2", "плеер : 1"}},
        {{"--alt"}, {"слово : 3", "engine : 2", "плеер : 1", "picture : 1", "caption : 1"}},
        {{"--description"}, {"слово : 3", "engine : 2", "плеер : 1", "описание : 1", "страницы : 1"}},
        {{"--sort", "2"}, {"плеер : 1", "engine : 2", "слово : 3"}},
        {{"--sort", "1", "--repeated", "2"}, {"слово : 3"}},
        {{"--repeated", "0"}, {"слово : 3", "engine : 2", "плеер : 1"}},
    };
    for (const auto& c : cases) {
        const auto j = Json(c.args);
        EXPECT_EQ(j["Lines"].get<Lines>(), c.lines) << ::testing::PrintToString(c.args);
        const auto& s = j["Stats"];
        EXPECT_EQ(s["Selected"].get<std::size_t>(), c.lines.size());
        EXPECT_EQ(s["Over3"].get<long>() + s["Exactly3"].get<long>() + s["Twice"].get<long>() +
                      s["Once"].get<long>(),
                  s["Total"].get<long>());
    }
}

TEST_F(KeywordsCommand, DefaultsComeFromTheSettingsStore) {
    {
        veskaron::KeyAccess access;
        access.WriteInteger("MinWord", 2);
        access.WriteBool("KeyCifra", false);
        access.WriteBool("BolAlt", true);
        access.WriteBool("InsertDescription", true);
        ASSERT_TRUE(access.Close());
    }
    // The program folder's excluded word list.
    Put("data/worddel.fkw", W("ENGINE\r\nПЛЕЕР\r\n"));
    EXPECT_EQ(Json({})["Lines"],
              nlohmann::json({"слово : 3", "picture : 1", "caption : 1", "описание : 1", "страницы : 1"}));
    EXPECT_EQ(Json({"--digits", "on", "--no-alt", "--no-description", "--min-len", "4"})["Lines"],
              nlohmann::json({"слово : 3"}));

    // An explicit list replaces the stored one.
    const std::string list = Put("mine.fkw", W("слово\r\n"));
    EXPECT_EQ(Json({"--exclude", list, "--no-alt", "--no-description"})["Lines"],
              nlohmann::json({"engine : 2", "плеер : 1"}));
}

TEST_F(KeywordsCommand, StoredListPathIsUsed) {
    const std::string list = Put("elsewhere.fkw", "engine\n");
    {
        veskaron::KeyAccess access;
        access.WriteString("FWordDel", list);
        ASSERT_TRUE(access.Close());
    }
    EXPECT_EQ(Json({})["Lines"], nlohmann::json({"слово : 3", "плеер : 1"}));
}

TEST_F(KeywordsCommand, Koi8PageIsConvertedBeforeCounting) {
    const std::string cp = W(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\"></head>"
        "<body><p>Привет, мир! Привет!</p></body></html>");
    const std::string koi8 = Put("koi8.htm", veskaron::TranslateChars(cp, veskaron::Koi8RSave()));
    EXPECT_EQ(Json({koi8, "--min-len", "2"})["Lines"], nlohmann::json({"привет : 2", "мир : 1"}));
}

TEST_F(KeywordsCommand, Utf8PageGivesTheSameWords) {
    Put("data/worddel.fkw", W("ENGINE\r\n"));
    for (const std::string& bytes : {std::string(kPage), "\xEF\xBB\xBF" + std::string(kPage)}) {
        const std::string utf8 = Put("utf8.htm", bytes);
        for (const std::vector<std::string>& options :
             {std::vector<std::string>{}, {"--description", "--alt", "--min-len", "2"}}) {
            std::vector<std::string> onUtf8 = options, onCp1251 = options;
            onUtf8.insert(onUtf8.begin(), utf8);
            EXPECT_EQ(Json(onUtf8), Json(onCp1251)) << ::testing::PrintToString(options);
        }
    }
    // Repeated options: the last one wins.
    EXPECT_EQ(Json({"--min-len", "2", "--min-len", "4", "--alt", "--no-alt"})["Lines"],
              nlohmann::json({"слово : 3", "плеер : 1"}));
}

TEST_F(KeywordsCommand, ErrorsAreReported) {
    EXPECT_EQ(Run({(dir_ / "missing.htm").string()}), veskaron::cli::kExitFileError);
    EXPECT_NE(err_.str().find("missing.htm"), std::string::npos) << err_.str();
    EXPECT_EQ(out_.str(), "");

    EXPECT_EQ(Run({page_, "--exclude", (dir_ / "nolist.fkw").string()}), veskaron::cli::kExitFileError);
    EXPECT_NE(err_.str().find("nolist.fkw"), std::string::npos) << err_.str();

    for (const auto& bad : std::vector<std::vector<std::string>>{
             {page_, "--sort", "3"}, {page_, "--digits", "maybe"}, {page_, "--min-len", "1"},
             {page_, "--repeated", "-1"}, {}}) {
        EXPECT_NE(Run(bad), 0) << ::testing::PrintToString(bad);
    }
}

TEST_F(KeywordsCommand, EmptyAndBinaryPages) {
    const auto empty = Json({Put("empty.htm", "")});
    EXPECT_TRUE(empty["Lines"].empty());
    EXPECT_EQ(empty["Stats"]["Total"], 0);

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    EXPECT_EQ(Run({Put("binary.htm", binary), "--json"}), 0) << err_.str();
    EXPECT_TRUE(nlohmann::json::accept(out_.str())) << out_.str();
}

}  // namespace
