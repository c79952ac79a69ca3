#include <cstring>

#include "platform/shortcuts.h"
#include "tests/platform/store_fixture.h"

namespace veskaron {
namespace {

namespace fs = std::filesystem;

// Reads an Exec value back as a launcher does: string escapes, then "%%",
// then the quoting rule. Anything the rules do not allow fails the test.
std::vector<std::string> ParseExec(std::string_view value) {
    std::string s;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%') {
            EXPECT_EQ(value.substr(i++, 2), "%%");
        }
        if (value[i] != '\\') {
            s += value[i];
            continue;
        }
        switch (value.at(++i)) {
            case 's': s += ' '; break;
            case 'n': s += '\n'; break;
            case 't': s += '\t'; break;
            case 'r': s += '\r'; break;
            case '\\': s += '\\'; break;
            default: ADD_FAILURE() << "unknown escape in " << value;
        }
    }
    std::vector<std::string> args;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ' ') continue;
        EXPECT_EQ(s[i], '"') << "unquoted in " << value;
        std::string arg;
        for (++i; i < s.size() && s[i] != '"'; ++i) {
            EXPECT_EQ(std::strchr("`$", s[i]), nullptr) << "unescaped in " << value;
            if (s[i] == '\\') {
                EXPECT_NE(std::strchr("\"`$\\", s.at(++i)), nullptr) << value;
            }
            arg += s[i];
        }
        EXPECT_LT(i, s.size()) << "unclosed quote in " << value;
        args.push_back(arg);
    }
    return args;
}

TEST(ShortcutsTest, ExecLineGivesThePathBackAsOneArgument) {
    const std::string header = "[Desktop Entry]\nType=Application\nName=Veskaron\nComment=Veskaron\nExec=";
    for (const char* path : {"/opt/veskaron", "/home/u/My Programs/a \"quoted\" dir/veskaron",
                             "/tmp/100%/%f %U %%/veskaron", "/tmp/$HOME/${PATH}/$(touch x)/`id`/v",
                             "/tmp/back\\slash\\\\two\\/v", "/tmp/tab\tnew\nline\rend/v",
                             "/tmp/Программы/'single' ;&|<>*?#~=[]/v"}) {
        SCOPED_TRACE(path);
        const std::string entry = DesktopEntryText(path);
        ASSERT_EQ(entry.rfind(header, 0), 0u);
        const std::size_t end = entry.find('\n', header.size());
        const std::string exec = entry.substr(header.size(), end - header.size());
        EXPECT_EQ(exec.find_first_of("\n\r\t"), std::string::npos);
        EXPECT_EQ(ParseExec(exec), std::vector<std::string>{path});
    }
    EXPECT_EQ(QuoteExecArgument("/a b/$x\\%"), "\"/a b/\\\\$x\\\\\\\\%%\"");
}

// The start menu and the programs folder are one menu: its entry goes only
// when neither wish is left; the desktop entry follows its own wish.
TEST(ShortcutsTest, OneMenuEntryForTwoWishes) {
    struct Case { const char* name; bool desktop, startMenu, programs, wanted; };
    for (const Case& c : std::vector<Case>{{"Start Menu", true, false, true, true},
                                           {"Programs", true, true, false, true},
                                           {"Programs", true, false, false, false},
                                           {"Start Menu", false, false, false, false},
                                           {"Desktop", false, true, true, false},
                                           {"desktop", true, false, false, true}}) {
        EXPECT_EQ(ShortcutWanted(c.name, c.desktop, c.startMenu, c.programs), c.wanted)
            << c.name << c.desktop << c.startMenu << c.programs;
    }
    const std::string entry = DesktopEntryText("/usr/bin/veskaron");
    EXPECT_NE(entry.find("\nIcon=" + std::string(kAppId) + "\n"), std::string::npos);
    EXPECT_NE(entry.find("\nCategories=Development;WebDevelopment;Qt;\n"), std::string::npos);
}

class ShortcutFileTest : public testing::StoreFixture {};

TEST_F(ShortcutFileTest, WritesReplacesDeletesAndNeverWritesAtAWrongPlace) {
    const std::string folder = (root_ / "menu" / "Varnok-Soft").string();
    const std::string file = folder + "/" + std::string(kShortcutFileName);
    WriteRaw((root_ / "elsewhere").string(), "keep");
    fs::create_directories(folder);
    fs::create_symlink(root_ / "elsewhere", file);  // replaced, not written through
    ASSERT_TRUE(WriteShortcut(folder, "/opt/new place/veskaron"));
    EXPECT_EQ(ReadRaw(file), DesktopEntryText("/opt/new place/veskaron"));
    EXPECT_EQ(ReadRaw((root_ / "elsewhere").string()), "keep");
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_exec, fs::perms::none);
    DeleteShortcut(folder);
    DeleteShortcut(folder);  // nothing there: no fault
    EXPECT_FALSE(fs::exists(file));

    ASSERT_TRUE(WriteShortcut((root_ / "new" / "folder").string(), "/opt/veskaron"));
    for (const auto& [where, executable] : std::vector<std::pair<std::string, std::string>>{
             {"", "/opt/veskaron"}, {"relative", "/opt/veskaron"},
             {(root_ / "elsewhere").string(), "/opt/veskaron"},    // a file, not a folder
             {(root_ / "d").string(), "/opt/\xff\xfe/veskaron"},  // not UTF-8
             {(root_ / "d").string(), ""}}) {
        EXPECT_FALSE(WriteShortcut(where, executable)) << where;
    }
    EXPECT_FALSE(fs::exists(root_ / "d" / kShortcutFileName));
    EXPECT_FALSE(fs::exists("relative"));
}

}  // namespace
}  // namespace veskaron
