#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace veskaron {
namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// XDG base folders must be absolute; a relative value is ignored.
std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
    std::string value = Env(variable);
    if (!value.empty() && value.front() == '/') return value;
    return HomeFolder() + "/" + fallbackUnderHome;
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void EnsureFolder(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
}

}  // namespace

std::string HomeFolder() {
    std::string home = Env("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string ProgramFilePath() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ProgramDataFile(std::string_view name) {
    return ProgramDataFile(name, ProgramFilePath());
}

std::string ProgramDataFile(std::string_view name, const std::string& executable) {
    const fs::path folder = fs::path(executable).parent_path();
    const fs::path beside = folder / name;
    std::error_code ec;
    if (fs::is_regular_file(beside, ec)) return beside.string();
    const fs::path installed = folder.parent_path() / "share" / "veskaron" / name;
    if (fs::is_regular_file(installed, ec)) return installed.lexically_normal().string();
    return beside.string();
}

std::string DataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }
std::string ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string ProgramFolder() { return ProgramFolder(ProgramFilePath()); }

std::string ProgramFolder(const std::string& exe) {
    if (std::string data = Env("VESKARON_DATA_DIR"); !data.empty()) {
        EnsureFolder(data);
        return WithSlash(std::move(data));
    }
    if (!exe.empty()) {
        const fs::path folder = fs::path(exe).parent_path();
        // An installed program (its files in ../share/veskaron) keeps the user's
        // files out of the system's folders, even when root starts it: a package
        // removal must leave nothing behind.
        std::error_code ec;
        const bool installed = fs::is_directory(folder.parent_path() / "share" / "veskaron", ec);
        if (!installed && ::access(folder.c_str(), W_OK) == 0) return WithSlash(folder.string());
    }
    const std::string fallback = DataHome() + "/Veskaron";
    EnsureFolder(fallback);
    return WithSlash(fallback);
}

std::string JournalFolder() {
    std::string data = Env("VESKARON_DATA_DIR");
    if (data.empty()) data = DataHome() + "/Veskaron";
    while (data.size() > 1 && data.back() == '/') data.pop_back();
    return data + "/journal";
}

std::string ConfigFolder() {
    std::string config = Env("VESKARON_CONFIG_DIR");
    if (!config.empty()) {
        while (config.size() > 1 && config.back() == '/') config.pop_back();
        return config;
    }
    return ConfigHome() + "/Varnok-Soft";
}

std::string StoreFilePath() { return ConfigFolder() + "/Veskaron.reg"; }

}  // namespace veskaron
