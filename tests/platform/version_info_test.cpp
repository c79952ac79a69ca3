#include "platform/version_info.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace veskaron {
namespace {

namespace fs = std::filesystem;

std::string OwnExecutable() { return fs::read_symlink("/proc/self/exe").string(); }

TEST(VersionInfoTest, QueryPathJoinsLanguageCodePageAndField) {
    EXPECT_EQ(VersionQueryPath("0409", "FileVersion"), "StringFileInfo\\040904E4\\FileVersion");
}

TEST(VersionInfoTest, RunningProgramCarriesEveryField) {
    for (const char* field : {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                              "LegalCopyright", "LegalTradeMarks", "OriginalFilename",
                              "ProductName", "ProductVersion", "Comments"}) {
        SCOPED_TRACE(field);
        EXPECT_FALSE(QueryVersionValue("0409", field).empty());
    }
    EXPECT_EQ(QueryVersionValue("0409", "CompanyName"), "Varnok-Soft");
}

struct LookupCase {
    const char* language;
    const char* field;
    bool found;
};

TEST(VersionInfoTest, MissingFieldOrLanguageGivesEmptyText) {
    const LookupCase cases[] = {
        {"0409", "FileVersion", true},
        {"0409", "fileversion", true},   // names compare without case, as the system does
        {"0409", "LegalTrademarks", true},
        {"0409", "NoSuchField", false},
        {"0419", "FileVersion", false},  // a language the table does not hold
        {"", "FileVersion", false},
        {"0409", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language) + "/" + c.field);
        EXPECT_EQ(!QueryVersionValue(c.language, c.field).empty(), c.found);
    }
}

TEST(VersionInfoTest, OwnExecutableFileCarriesTheSameTable) {
    const std::string exe = OwnExecutable();
    EXPECT_EQ(QueryVersionValueFromFile(exe, "0409", "FileVersion"),
              QueryVersionValue("0409", "FileVersion"));
    EXPECT_EQ(QueryVersionValueFromFile(exe, "0419", "FileVersion"), "");
}

class VersionFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("veskaron-ver-" + std::to_string(std::random_device{}()));
        // A long folder name: the lookup has no path length limit.
        dir_ /= std::string(150, 'd');
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_.parent_path()); }
    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    fs::path dir_;
};

TEST_F(VersionFileTest, FindsBlockOfAnotherLanguageInsideOtherBytes) {
    const std::string block = FormatVersionBlock({
        {VersionQueryPath("0419", "FileVersion"), "2.5.0.1"},
        {VersionQueryPath("0419", "ProductName"), "Другое"},
    });
    // The block straddles the reader's chunk size, after a decoy marker whose
    // body is broken.
    std::string bytes(1 << 20, '\x7f');
    bytes.replace(100, 30, block.substr(0, 30));
    bytes.insert(bytes.size() - 10, block);
    const std::string path = Write("other.bin", bytes);
    EXPECT_EQ(QueryVersionValueFromFile(path, "0419", "FileVersion"), "2.5.0.1");
    EXPECT_EQ(QueryVersionValueFromFile(path, "0419", "ProductName"), "Другое");
    EXPECT_EQ(QueryVersionValueFromFile(path, "0409", "FileVersion"), "");
}

TEST_F(VersionFileTest, FilesWithoutAValidBlockGiveEmptyText) {
    const std::string block = FormatVersionBlock({{VersionQueryPath("0409", "FileVersion"), "1"}});
    const std::string cases[] = {
        "",
        "plain bytes with no table",
        block.substr(0, block.size() - 2),  // cut before its end mark
    };
    for (const auto& bytes : cases) {
        EXPECT_EQ(QueryVersionValueFromFile(Write("f.bin", bytes), "0409", "FileVersion"), "");
    }
    EXPECT_EQ(QueryVersionValueFromFile((dir_ / "missing").string(), "0409", "FileVersion"), "");
    EXPECT_EQ(QueryVersionValueFromFile(dir_.string(), "0409", "FileVersion"), "");
}

}  // namespace
}  // namespace veskaron
