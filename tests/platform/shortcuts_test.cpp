#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "platform/shortcuts.h"
#include "tests/platform/store_fixture.h"

namespace veskaron {
namespace {

namespace fs = std::filesystem;

// Reads an Exec value back as a launcher does: the string escapes first, then
// the "%%" field code, then the quoting rule. Fails the test on anything the
// rules do not allow.
std::vector<std::string> ParseExec(std::string_view value) {
    std::string s;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            s += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's': s += ' '; break;
            case 'n': s += '\n'; break;
            case 't': s += '\t'; break;
            case 'r': s += '\r'; break;
            case '\\': s += '\\'; break;
            default: ADD_FAILURE() << "unknown string escape in " << value;
        }
    }
    std::string t;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%') {
            EXPECT_TRUE(i + 1 < s.size() && s[i + 1] == '%') << "field code in " << value;
            ++i;
        }
        t += s[i];
    }
    std::vector<std::string> args;
    for (std::size_t i = 0; i < t.size();) {
        if (t[i] == ' ') {
            ++i;
            continue;
        }
        EXPECT_EQ(t[i], '"') << "unquoted argument in " << value;
        std::string arg;
        for (++i; i < t.size() && t[i] != '"'; ++i) {
            if (t[i] == '\\') {
                EXPECT_TRUE(i + 1 < t.size() && std::strchr("\"`$\\", t[i + 1]))
                    << "stray backslash in " << value;
                ++i;
            } else {
                EXPECT_EQ(std::strchr("`$", t[i]), nullptr) << "unescaped " << t[i] << " in " << value;
            }
            arg += t[i];
        }
        EXPECT_LT(i, t.size()) << "unclosed quote in " << value;
        ++i;
        args.push_back(arg);
    }
    return args;
}

std::string ExecValue(const std::string& entry) {
    const std::size_t at = entry.find("\nExec=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + 6;
    return entry.substr(start, entry.find('\n', start) - start);
}

const char* const kPaths[] = {
    "/opt/veskaron/veskaron",
    "/home/u/My Programs/veskaron",
    "/tmp/a \"quoted\" dir/veskaron",
    "/tmp/100%/%f %U %%/veskaron",
    "/tmp/$HOME/${PATH}/$(touch pwned)/veskaron",
    "/tmp/back\\slash\\\\two\\/veskaron",
    "/tmp/`touch pwned`/veskaron",
    "/tmp/tab\tnew\nline\rend/veskaron",
    "/tmp/Программы/veskaron",
    "/tmp/'single' ;&|<>*?#~=[]/veskaron",
};

TEST(ShortcutsTest, ExecLineGivesThePathBackAsOneArgument) {
    for (const char* path : kPaths) {
        SCOPED_TRACE(path);
        const std::string entry = DesktopEntryText(path);
        EXPECT_EQ(entry.rfind("[Desktop Entry]\nType=Application\nName=Veskaron\nComment=Veskaron\n", 0), 0u);
        const std::string exec = ExecValue(entry);
        EXPECT_EQ(exec.find_first_of("\n\r\t"), std::string::npos);
        EXPECT_EQ(ParseExec(exec), std::vector<std::string>{path});
    }
    EXPECT_EQ(ExecValue(DesktopEntryText("/a b/$x\\%")), "\"/a b/\\\\$x\\\\\\\\%%\"");
}

// The quoting inside the value is that of a POSIX shell's double quotes, so
// a shell must give the same single argument and run nothing else.
TEST(ShortcutsTest, ShellReadsTheQuotedPathAsOneWord) {
    const fs::path dir = fs::temp_directory_path() / ("veskaron-exec-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const char* path : kPaths) {
        SCOPED_TRACE(path);
        std::string quoted = QuoteExecArgument(path);
        std::string word;  // after the string escapes and "%%"
        for (std::size_t i = 0; i < quoted.size(); ++i) {
            if (quoted[i] == '\\') {
                const char n = quoted[++i];
                word += n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n;
            } else {
                word += quoted[i];
                if (quoted[i] == '%') ++i;
            }
        }
        const std::string command = "cd '" + dir.string() + "' && printf '%s|' " + word;
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[256];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        ::pclose(pipe);
        EXPECT_EQ(out, std::string(path) + "|");
    }
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    fs::remove_all(dir);
}

class ShortcutFileTest : public testing::StoreFixture {};

TEST_F(ShortcutFileTest, WritesReplacesAndDeletes) {
    const std::string folder = (root_ / "menu" / "Varnok-Soft").string();
    const std::string file = folder + "/Veskaron.desktop";
    ASSERT_TRUE(WriteShortcut(folder, "/opt/old/veskaron"));  // the folder is made
    ASSERT_TRUE(WriteShortcut(folder, "/opt/new place/veskaron"));
    EXPECT_EQ(ReadRaw(file), DesktopEntryText("/opt/new place/veskaron"));
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_exec, fs::perms::none);
    DeleteShortcut(folder);
    EXPECT_FALSE(fs::exists(file));
    DeleteShortcut(folder);  // nothing there: no fault

    // A link of that name is replaced; its target stays untouched.
    WriteRaw((root_ / "elsewhere").string(), "keep");
    fs::create_symlink(root_ / "elsewhere", file);
    ASSERT_TRUE(WriteShortcut(folder, "/opt/veskaron"));
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(ReadRaw((root_ / "elsewhere").string()), "keep");
}

TEST_F(ShortcutFileTest, NeverWritesAtAWrongPlace) {
    WriteRaw((root_ / "plain").string(), "x");
    const struct {
        const char* label;
        std::string folder;
        std::string executable;
    } cases[] = {
        {"no folder", "", "/opt/veskaron"},
        {"relative folder", "applications", "/opt/veskaron"},
        {"folder is a file", (root_ / "plain").string(), "/opt/veskaron"},
        {"path not UTF-8", (root_ / "d").string(), "/opt/\xff\xfe/veskaron"},
        {"no executable", (root_ / "d").string(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_FALSE(WriteShortcut(c.folder, c.executable));
    }
    EXPECT_FALSE(fs::exists(root_ / "d" / "Veskaron.desktop"));
    EXPECT_FALSE(fs::exists("applications"));
    EXPECT_EQ(ShortcutFilePath(""), "");
    EXPECT_EQ(ShortcutFilePath("/x/"), "/x/Veskaron.desktop");
}

}  // namespace
}  // namespace veskaron
