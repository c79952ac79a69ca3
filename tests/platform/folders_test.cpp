#include <cstdlib>

#include "platform/line_list.h"
#include "platform/paths.h"
#include "platform/shell_folders.h"
#include "tests/platform/store_fixture.h"

namespace veskaron {
namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;

TEST(LineListTest, SplitsEveryLineEndKind) {
    const struct {
        const char* label;
        std::string bytes;
        Items items;
    } cases[] = {
        {"empty file", "", {}},
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lf", "a\nb\n", {"a", "b"}},
        {"cr", "a\rb\r", {"a", "b"}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"empty lines kept", "a\r\n\r\n\nb\r\n", {"a", "", "", "b"}},
        {"only a line end", "\r\n", {""}},
        {"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
        {"bytes kept", std::string("\xCF\xF3\xF2\x00x\r\n", 7), {std::string("\xCF\xF3\xF2\x00x", 5)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(SplitLineList(c.bytes), c.items);
    }
}

class LineListFileTest : public testing::StoreFixture {
protected:
    std::string ListPath() const { return (data_ / "list.fkd").string(); }
};

TEST_F(LineListFileTest, WritesCrLfAfterEveryItemInWindows1251) {
    ASSERT_TRUE(WriteLineListUtf8(ListPath(), {"Путь", "", "b"}).ok);
    EXPECT_EQ(ReadRaw(ListPath()), "\xCF\xF3\xF2\xFC\r\n\r\nb\r\n");
    const LineListRead back = ReadLineListUtf8(ListPath());
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.items, (Items{"Путь", "", "b"}));
    ASSERT_TRUE(WriteLineList(ListPath(), {}).ok);
    EXPECT_EQ(ReadRaw(ListPath()), "");
}

TEST_F(LineListFileTest, CharactersOutsideTheCodePageAreKeptAsReferences) {
    ASSERT_TRUE(WriteLineListUtf8(ListPath(), {"Чай 日本", "&#169; &#26085;x"}).ok);
    EXPECT_EQ(ReadRaw(ListPath()), "\xD7\xE0\xE9 &#26085;&#26412;\r\n&#169; &#26085;x\r\n");
    const LineListRead back = ReadLineListUtf8(ListPath());
    EXPECT_EQ(back.items, (Items{"Чай 日本", "&#169; 日x"}));
}

TEST_F(LineListFileTest, RefusesWhatWouldNotComeBackAndKeepsTheOldFile) {
    WriteRaw(ListPath(), "old\r\n");
    const FileStatus notUtf8 = WriteLineListUtf8(ListPath(), {"ok", "\xFF"});
    EXPECT_FALSE(notUtf8.ok);
    EXPECT_NE(notUtf8.error.find("строка 2"), std::string::npos);
    EXPECT_FALSE(WriteLineList(ListPath(), {"two\r\nlines"}).ok);
    EXPECT_EQ(ReadRaw(ListPath()), "old\r\n");
}

TEST_F(LineListFileTest, MissingAndUnwritableFiles) {
    const LineListRead missing = ReadLineList((data_ / "none.fkd").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.missing);
    const FileStatus noFolder = WriteLineList((data_ / "no" / "such.fkd").string(), {"a"});
    EXPECT_FALSE(noFolder.ok);
    EXPECT_NE(noFolder.error.find("such.fkd"), std::string::npos);
}

TEST(ShellFoldersTest, DesktopFromUserDirsFile) {
    const struct {
        const char* label;
        std::string text;
        std::string desktop;
    } cases[] = {
        {"home relative", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Рабочий стол\"\n", "/h/Рабочий стол"},
        {"absolute, last wins", "XDG_DESKTOP_DIR=\"/a\"\nXDG_DESKTOP_DIR=\"/b/\"\n", "/b"},
        {"escaped quote", "XDG_DESKTOP_DIR=\"$HOME/x\\\"y\"\n", "/h/x\"y"},
        {"relative path ignored", "XDG_DESKTOP_DIR=\"Desktop\"\n", ""},
        {"unquoted ignored", "XDG_DESKTOP_DIR=$HOME/D\n", ""},
        {"other folders only", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DesktopFromUserDirs(c.text, "/h"), c.desktop);
    }
}

class EnvTest : public testing::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
            const char* v = std::getenv(name);
            saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        }
        ::setenv("HOME", (root_ / "home").c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
        StoreFixture::TearDown();
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(EnvTest, ShellFoldersFollowTheXdgFolders) {
    const std::string home = (root_ / "home").string();
    EXPECT_EQ(ShellFolderPath("Desktop"), home + "/Desktop");
    EXPECT_EQ(ShellFolderPath("Start Menu"), home + "/.local/share/applications");
    EXPECT_EQ(ShellFolderPath("Programs"), home + "/.local/share/applications");
    EXPECT_EQ(ShellFolderPath("Favorites"), "");
    ::setenv("XDG_DATA_HOME", "/xdg/data", 1);
    ::setenv("XDG_CONFIG_HOME", (root_ / "cfg").c_str(), 1);
    WriteRaw((root_ / "cfg" / "user-dirs.dirs").string(), "XDG_DESKTOP_DIR=\"$HOME/Стол\"\n");
    EXPECT_EQ(ShellFolderPath("desktop"), home + "/Стол");
    EXPECT_EQ(ShellFolderPath("Programs"), "/xdg/data/applications");
    ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    EXPECT_EQ(ShellFolderPath("Start Menu"), home + "/.local/share/applications");
}

TEST_F(EnvTest, ConfigAndProgramFolders) {
    EXPECT_EQ(StoreFilePath(), config_.string() + "/Veskaron.reg");
    EXPECT_EQ(ProgramFolder(), data_.string() + "/");
    ::unsetenv("VESKARON_CONFIG_DIR");
    EXPECT_EQ(ConfigFolder(), (root_ / "home" / ".config" / "Varnok-Soft").string());
    ::setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
    EXPECT_EQ(ConfigFolder(), "/x/cfg/Varnok-Soft");
    // Without an override: the executable's folder when writable, else the data home.
    ::unsetenv("VESKARON_DATA_DIR");
    const std::string exeFolder = fs::path(ProgramFilePath()).parent_path().string() + "/";
    const std::string folder = ProgramFolder();
    EXPECT_TRUE(folder == exeFolder ||
                folder == (root_ / "home" / ".local/share/Veskaron").string() + "/")
        << folder;
}

// The build folder keeps the help page beside the program, the installed tree
// in share/veskaron; a copy moved without it still gets a path to name.
TEST_F(EnvTest, ShippedFilesBesideTheProgramOrInTheInstalledTree) {
    const fs::path build = root_ / "build" / "app";
    const fs::path installed = root_ / "usr" / "bin";
    WriteRaw((build / "veskaron.html").string(), "b");
    WriteRaw((root_ / "usr" / "share" / "veskaron" / "veskaron.html").string(), "i");
    fs::create_directories(installed);
    fs::create_directories(root_ / "moved");
    for (const auto& [exe, expected] : std::vector<std::pair<fs::path, fs::path>>{
             {build / "veskaron", build / "veskaron.html"},
             {installed / "veskaron", root_ / "usr" / "share" / "veskaron" / "veskaron.html"},
             {root_ / "moved" / "veskaron", root_ / "moved" / "veskaron.html"}}) {
        EXPECT_EQ(ProgramDataFile("veskaron.html", exe.string()), expected.string()) << exe;
    }
    // Histories and lists: beside a writable build, never in an installed tree.
    ::unsetenv("VESKARON_DATA_DIR");
    EXPECT_EQ(ProgramFolder((build / "veskaron").string()), build.string() + "/");
    EXPECT_EQ(ProgramFolder((installed / "veskaron").string()),
              (root_ / "home" / ".local/share/Veskaron").string() + "/");
}

}  // namespace
}  // namespace veskaron
