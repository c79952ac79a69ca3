#include "platform/shortcuts.h"

#include <filesystem>
#include <system_error>

#include "engine/file_io.h"
#include "engine/text_codec.h"
#include "platform/paths.h"
#include "platform/shell_folders.h"

namespace veskaron {

namespace fs = std::filesystem;

namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        std::size_t length = 1;
        if (DecodeUtf8At(s, i, length) == 0xFFFD && length == 1) return false;
        i += length;
    }
    return true;
}

}  // namespace

std::string QuoteExecArgument(std::string_view argument) {
    std::string out = "\"";
    for (const char c : argument) {
        switch (c) {
            // The quoting rule's backslash, doubled again by the string rule.
            case '"': out += "\\\\\""; break;
            case '`': out += "\\\\`"; break;
            case '$': out += "\\\\$"; break;
            case '\\': out += "\\\\\\\\"; break;
            case '%': out += "%%"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    out += '"';
    return out;
}

std::string DesktopEntryText(std::string_view executable) {
    if (executable.empty() || !IsUtf8(executable)) return {};
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Veskaron\n"
           "Comment=Veskaron\n"
           "Exec=" + QuoteExecArgument(executable) + "\n"
           "Icon=" + std::string(kAppId) + "\n"
           "Categories=Development;WebDevelopment;Qt;\n";
}

bool ShortcutWanted(std::string_view name, bool desktop, bool startMenu, bool programs) {
    if (SameName(name, "Desktop")) return desktop;
    return startMenu || programs;
}

std::string ShortcutFolder(std::string_view name) {
    std::string folder = ShellFolderPath(name);
    std::error_code ec;
    if (folder.empty() || fs::equivalent(folder, HomeFolder(), ec)) return {};
    return folder;
}

std::string_view ShortcutFileName(std::string_view folderName) {
    return folderName == "Desktop" ? kDesktopShortcutFileName : kShortcutFileName;
}

std::string ShortcutFilePath(std::string_view folder, std::string_view fileName) {
    if (folder.empty() || folder.front() != '/') return {};
    std::string path(folder);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path != "/") path += '/';
    path += fileName;
    return path;
}

bool WriteShortcut(const std::string& folder, std::string_view executable, std::string_view fileName) {
    const std::string path = ShortcutFilePath(folder, fileName);
    const std::string text = DesktopEntryText(executable);
    if (path.empty() || text.empty()) return false;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return false;
    // A link of that name is replaced, not written through to another place.
    if (fs::is_symlink(path, ec)) fs::remove(path, ec);
    if (!WriteFileAtomically(path, text).ok) return false;
    // Executable for whoever may read it.
    const fs::perms bits = fs::status(path, ec).permissions();
    fs::perms exec = fs::perms::none;
    if ((bits & fs::perms::owner_read) != fs::perms::none) exec |= fs::perms::owner_exec;
    if ((bits & fs::perms::group_read) != fs::perms::none) exec |= fs::perms::group_exec;
    if ((bits & fs::perms::others_read) != fs::perms::none) exec |= fs::perms::others_exec;
    fs::permissions(path, exec, fs::perm_options::add, ec);
    return true;
}

void DeleteShortcut(const std::string& folder, std::string_view fileName) {
    const std::string path = ShortcutFilePath(folder, fileName);
    if (path.empty()) return;
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace veskaron
