#include "platform/shell_folders.h"

#include "engine/cp1251.h"
#include "engine/file_io.h"
#include "platform/line_list.h"
#include "platform/paths.h"

namespace veskaron {

std::string DesktopFromUserDirs(std::string_view fileText, const std::string& home) {
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
    std::string found;
    for (const std::string& raw : SplitLineList(fileText)) {
        std::string_view line = raw;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (line.substr(0, kKey.size()) != kKey) continue;
        line.remove_prefix(kKey.size());
        // The file's form: a double-quoted path, absolute or starting "$HOME".
        if (line.size() < 2 || line.front() != '"') continue;
        std::size_t close = 1;
        while (close < line.size() && line[close] != '"') close += line[close] == '\\' ? 2 : 1;
        if (close >= line.size()) continue;
        std::string_view path = line.substr(1, close - 1);
        std::string value;
        if (path.substr(0, 5) == "$HOME") {
            value = home;
            path.remove_prefix(5);
        } else if (path.empty() || path.front() != '/') {
            continue;
        }
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (path[i] == '\\' && i + 1 < path.size()) ++i;
            value += path[i];
        }
        while (value.size() > 1 && value.back() == '/') value.pop_back();
        found = value;  // the last assignment wins, as when the shell reads it
    }
    return found;
}

std::string ShellFolderPath(std::string_view name) {
    const std::string key = LowerAscii(name);
    if (key == "desktop") {
        const std::string home = HomeFolder();
        FileRead dirs = ReadWholeFile(ConfigHome() + "/user-dirs.dirs");
        if (dirs.ok) {
            if (std::string desktop = DesktopFromUserDirs(dirs.bytes, home); !desktop.empty())
                return desktop;
        }
        return home + "/Desktop";
    }
    if (key == "start menu") return DataHome() + "/applications";
    // The start menu and the programs menu are one menu here.
    if (key == "programs") return DataHome() + "/applications";
    return {};
}

}  // namespace veskaron
