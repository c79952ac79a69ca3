#pragma once
// Program shortcuts: a desktop entry "Veskaron.desktop" that starts the
// editor, placed in or removed from one of the user's shell folders.
#include <string>
#include <string_view>

namespace veskaron {

inline constexpr std::string_view kShortcutFileName = "Veskaron.desktop";

// One argument of an Exec line, always in double quotes. Inside the quotes
// '"', '`', '$' and '\' take a backslash; the result is then escaped as a
// string value ('\' doubled, line ends and tabs as \n, \r, \t) and '%' is
// written "%%", so a launcher gets the path back as one argument whatever it
// holds.
std::string QuoteExecArgument(std::string_view argument);

// The desktop entry that starts `executable` without arguments. Empty when
// the path is not UTF-8: a desktop entry holds UTF-8 only.
std::string DesktopEntryText(std::string_view executable);

// The folder of the shortcut named by a shell folder name ("Desktop", "Start
// Menu", "Programs"): ShellFolderPath, or empty when that is the home folder
// itself (user-dirs.dirs switches a folder off by naming $HOME).
std::string ShortcutFolder(std::string_view name);

// folder + "/Veskaron.desktop"; empty unless folder is an absolute path.
std::string ShortcutFilePath(std::string_view folder);

// Writes the entry into folder, creating the folder when missing, and marks
// it executable (file managers only start trusted launchers). False, with
// nothing written, when there is no absolute folder or it cannot be made,
// the path cannot be held, or the write fails.
bool WriteShortcut(const std::string& folder, std::string_view executable);

// Deletes the entry in folder; a missing file or a failure is not reported.
void DeleteShortcut(const std::string& folder);

}  // namespace veskaron
