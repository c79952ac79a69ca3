#pragma once
// Program shortcuts: a desktop entry named by the application id that starts
// the editor, placed in or removed from one of the user's shell folders.
#include <string>
#include <string_view>

namespace veskaron {

// The id of the installed desktop entry, icon and metadata. A menu entry of
// the same name in the user's folder stands in for the installed one, so the
// menu shows the program once.
inline constexpr std::string_view kAppId = "ru.varnoksoft.Veskaron";
inline constexpr std::string_view kShortcutFileName = "ru.varnoksoft.Veskaron.desktop";
// The desktop's shortcut keeps the name it always had.
inline constexpr std::string_view kDesktopShortcutFileName = "Veskaron.desktop";
// The entry's file name in the folder of a shell folder name ("Desktop",
// "Start Menu", "Programs").
std::string_view ShortcutFileName(std::string_view folderName);

// The menu entry is one file for the "Start Menu" and "Programs" wishes: it
// stays while either is wanted. True when the entry in the folder of `name`
// is to exist.
bool ShortcutWanted(std::string_view name, bool desktop, bool startMenu, bool programs);

// One argument of an Exec line, always in double quotes. Inside the quotes
// '"', '`', '$' and '\' take a backslash; the result is then escaped as a
// string value ('\' doubled, line ends and tabs as \n, \r, \t) and '%' is
// written "%%", so a launcher gets the path back as one argument whatever it
// holds.
std::string QuoteExecArgument(std::string_view argument);

// The desktop entry that starts `executable` without arguments, with the
// installed entry's icon and categories. Empty when
// the path is not UTF-8: a desktop entry holds UTF-8 only.
std::string DesktopEntryText(std::string_view executable);

// The folder of the shortcut named by a shell folder name ("Desktop", "Start
// Menu", "Programs"): ShellFolderPath, or empty when that is the home folder
// itself (user-dirs.dirs switches a folder off by naming $HOME).
std::string ShortcutFolder(std::string_view name);

// folder + "/" + fileName; empty unless folder is an absolute path.
std::string ShortcutFilePath(std::string_view folder, std::string_view fileName = kShortcutFileName);

// Writes the entry into folder, creating the folder when missing, and marks
// it executable (file managers only start trusted launchers). False, with
// nothing written, when there is no absolute folder or it cannot be made,
// the path cannot be held, or the write fails.
bool WriteShortcut(const std::string& folder, std::string_view executable,
                   std::string_view fileName = kShortcutFileName);

// Deletes the entry in folder; a missing file or a failure is not reported.
void DeleteShortcut(const std::string& folder, std::string_view fileName = kShortcutFileName);

}  // namespace veskaron
