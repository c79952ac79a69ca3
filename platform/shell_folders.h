#pragma once
// The user's shell folders, by the names the shortcut settings use.
#include <string>
#include <string_view>

namespace veskaron {

// "Desktop": the XDG desktop folder (user-dirs.dirs, else ~/Desktop);
// "Start Menu": ${XDG_DATA_HOME:-~/.local/share}/applications;
// "Programs": the same folder, as the menu is one. Names compare without ASCII case.
// Any other name gives the empty string. No trailing "/".
std::string ShellFolderPath(std::string_view name);

// The desktop folder named by the text of a user-dirs.dirs file, or empty
// when the file does not name one. home replaces "$HOME".
std::string DesktopFromUserDirs(std::string_view fileText, const std::string& home);

}  // namespace veskaron
