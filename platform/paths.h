#pragma once
// Where the program keeps its files on this platform.
#include <string>
#include <string_view>

namespace veskaron {

// The user's home folder ($HOME, else the password database).
std::string HomeFolder();

// Full path of the running program's executable file, without length limit.
std::string ProgramFilePath();

// A file shipped with the program (the help page), by name: beside the
// executable (the build folder, or a copy moved along with its files), else
// in ../share/veskaron/ from its folder (the installed layout). When neither
// exists, the path beside the executable, so a message names a likely place.
std::string ProgramDataFile(std::string_view name);
std::string ProgramDataFile(std::string_view name, const std::string& executable);

// The program folder, with a trailing "/": VESKARON_DATA_DIR when set;
// otherwise the executable's folder when it is writable and not an installed
// tree (with ../share/veskaron beside it), else
// ${XDG_DATA_HOME:-~/.local/share}/Veskaron/. The chosen folder is created
// when missing (failures show up when a file is written there).
std::string ProgramFolder();
std::string ProgramFolder(const std::string& executable);

// The journal of saves: VESKARON_DATA_DIR/journal when set, else
// ${XDG_DATA_HOME:-~/.local/share}/Veskaron/journal, never beside the
// executable (the pages' old texts are the user's). Not created here.
std::string JournalFolder();

// The settings folder: VESKARON_CONFIG_DIR when set, else
// ${XDG_CONFIG_HOME:-~/.config}/Varnok-Soft. No trailing "/".
std::string ConfigFolder();

// ConfigFolder() + "/Veskaron.reg".
std::string StoreFilePath();

// ${XDG_DATA_HOME:-~/.local/share} and ${XDG_CONFIG_HOME:-~/.config}.
std::string DataHome();
std::string ConfigHome();

}  // namespace veskaron
