#pragma once
// The key store that stands in for the registry: one text file per user in
// the form of a registry export,
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\SoftWare\Varnok-Soft\Veskaron]
//   "MinWord"=dword:00000004
//   "FileFiltr"="*.htm; *.html"
//
// Each access (KeyAccess) reads the file when it opens and, if it wrote
// anything, replaces the file atomically when it closes. A write re-reads the
// file under a lock and changes only its own values, so processes writing in
// turn keep each other's values. A file that cannot be parsed is copied to
// "Veskaron.reg.bad" before it is ever replaced. Values that cannot be stored
// are kept in memory for the rest of the run.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/paths.h"

namespace veskaron {

inline constexpr std::string_view kStoreKeyPath = "\\SoftWare\\Varnok-Soft\\Veskaron";
inline constexpr std::string_view kStoreKeyLine = "[HKEY_CURRENT_USER\\SoftWare\\Varnok-Soft\\Veskaron]";
inline constexpr std::string_view kStoreHeader = "REGEDIT4";

struct StoreValue {
    enum class Type { Dword, String };
    Type type = Type::Dword;
    std::uint32_t dword = 0;
    std::string text;  // UTF-8

    static StoreValue Dword(std::uint32_t value) { return {Type::Dword, value, {}}; }
    static StoreValue String(std::string value) { return {Type::String, 0, std::move(value)}; }
    bool operator==(const StoreValue&) const = default;
};

// The values of a store file, in file order. Names compare without regard to
// ASCII case, as registry value names do.
struct StoreContents {
    std::vector<std::pair<std::string, StoreValue>> values;
    // What could not be read, one text per fault with its line number. Values
    // that could be read are kept beside them.
    std::vector<std::string> problems;

    const StoreValue* Find(std::string_view name) const;
    void Set(std::string_view name, StoreValue value);
};

StoreContents ParseStore(std::string_view text);
std::string FormatStore(const StoreContents& contents);

// One opening of the key. Reads see the file as it was at opening plus this
// access's own writes; writes are stored by Close() (or the destructor).
class KeyAccess {
public:
    explicit KeyAccess(std::string path = StoreFilePath());
    ~KeyAccess();
    KeyAccess(const KeyAccess&) = delete;
    KeyAccess& operator=(const KeyAccess&) = delete;

    bool ValueExists(std::string_view name) const;

    // Empty when the value is absent or of the other type; a value of the
    // wrong type is reported once.
    std::optional<std::uint32_t> ReadDword(std::string_view name) const;
    std::optional<std::string> ReadString(std::string_view name) const;
    std::optional<std::int32_t> ReadInteger(std::string_view name) const;
    std::optional<bool> ReadBool(std::string_view name) const;  // any non-zero is true

    void WriteDword(std::string_view name, std::uint32_t value);
    void WriteInteger(std::string_view name, std::int32_t value);
    void WriteBool(std::string_view name, bool value);  // 1 or 0
    void WriteString(std::string_view name, std::string text);

    // Stores the values written since opening. False when they could not be
    // stored; the failure is reported and the values stay in effect for the run.
    bool Close();

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    StoreContents contents_;
    std::vector<std::pair<std::string, StoreValue>> pending_;
    bool closed_ = false;
};

// Store messages: each distinct message is reported once per run. By default
// it goes to stderr; the windows collect the texts to show them.
void ReportStoreMessage(const std::string& message);
std::vector<std::string> TakeStoreMessages();
// Replaces the stderr output (tests, windows); an empty function restores it.
void SetStoreMessageSink(std::function<void(const std::string&)> sink);
// Forgets which messages were reported and the values held for the run.
void ResetStoreStateForTests();

}  // namespace veskaron
