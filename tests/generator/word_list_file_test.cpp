#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <iterator>
#include <string>
#include <vector>

#include "generator/word_list_file.h"

namespace veskaron::generator {
namespace {

using Lines = std::vector<std::string>;

TEST(WordListFile, ParseLineEnds) {
    struct Case {
        std::string bytes;
        Lines entries;
    } cases[] = {
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\ntwo\n", {"one", "two"}},
        {"one\rtwo", {"one", "two"}},
        {"one\r\n\r\ntwo", {"one", "", "two"}},
        {"\n", {""}},
        {"", {}},
        {std::string("one\r\ntw\0o\r\nthree", 17), {"one", "tw"}},
        {" spaced \r\n\xC0\xE1\r\n", {" spaced ", "\xC0\xE1"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseWordList(c.bytes), c.entries);
    EXPECT_EQ(FormatWordList({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(FormatWordList({}), "");
}

class WordListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("veskaron_wordlist_" + std::to_string(std::random_device{}()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path dir_;
};

TEST_F(WordListFiles, SaveAndReopenGiveTheSameList) {
    const Lines list = {"the", "", " and ", "\xEF\xF0\xE8"};
    const std::string path = Path("worddel.fkw");
    EXPECT_EQ(WriteWordListFile(path, list), "");
    EXPECT_EQ(Bytes(path), "the\r\n\r\n and \r\n\xEF\xF0\xE8\r\n");
    const auto read = ReadWordListFile(path);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.entries, list);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);  // no temporary left
}

TEST_F(WordListFiles, EntryWithALineBreakIsRefusedAndTheFileKept) {
    const std::string path = Path("wordins.fkh");
    ASSERT_EQ(WriteWordListFile(path, {"old"}), "");
    const std::string error = WriteWordListFile(path, {"fine", "two\r\nlines"});
    EXPECT_NE(error.find("2"), std::string::npos) << error;
    EXPECT_NE(WriteWordListFile(path, {std::string("nul\0byte", 8)}), "");
    EXPECT_EQ(Bytes(path), "old\r\n");
}

TEST_F(WordListFiles, UnreadableFilesReportTheirPath) {
    ASSERT_EQ(WriteWordListFile(Path("page.htm"), {}), "");
    std::filesystem::create_symlink(Path("nowhere"), Path("dangling.fkw"));
    // Not there for whatever reason: missing, not unreadable.
    for (const std::string& path : {Path("missing.fkh"), Path("page.htm/bad.fkw"), Path("dangling.fkw"), dir_.string()}) {
        const auto read = ReadWordListFile(path);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.missing, path != dir_.string()) << path;
        EXPECT_NE(read.error.find(path), std::string::npos) << read.error;
    }
    EXPECT_NE(WriteWordListFile(dir_.string(), {"x"}), "");
}

}  // namespace
}  // namespace veskaron::generator
