#include "platform/key_store.h"

#include "platform/error_text.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <thread>
#include <unordered_map>
#include <unistd.h>

#include "engine/cp1251.h"
#include "engine/file_io.h"

namespace veskaron {
namespace {

namespace fs = std::filesystem;
using NamedValues = std::vector<std::pair<std::string, StoreValue>>;

// How many faults of one file are listed; a garbage file has one per line.
constexpr std::size_t kMaxListedProblems = 20;

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i])) return false;
    return true;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07; }
        else return false;
        if (i + extra >= s.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

// Texts are UTF-8; a file exported from a Windows registry carries
// Windows-1251, which is taken as such rather than rejected.
std::string AsUtf8(std::string bytes) {
    return IsValidUtf8(bytes) ? bytes : Cp1251ToUtf8(bytes);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void SkipBlanks(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
}

// Reads a quoted text starting at line[pos] == '"'; pos ends after the
// closing quote. Returns an error text, empty on success.
std::string ParseQuoted(std::string_view line, std::size_t& pos, std::string& out) {
    out.clear();
    ++pos;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"') return {};
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= line.size()) break;
        const char e = line[pos++];
        switch (e) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 'x': {
            const int hi = pos < line.size() ? HexDigit(line[pos]) : -1;
            const int lo = pos + 1 < line.size() ? HexDigit(line[pos + 1]) : -1;
            if (hi < 0 || lo < 0) return "неверная запись \\x";
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default: return std::string("неизвестная запись \\") + e;
        }
    }
    return "текст не закрыт двойной кавычкой";
}

void AppendQuoted(std::string& out, std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if ((u < 0x20 && c != '\t') || u == 0x7F) {
            // A raw control character would split or garble the line.
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

// Parses one value line; returns an error text, empty on success.
std::string ParseValueLine(std::string_view line, std::string& name, StoreValue& value) {
    std::size_t pos = 0;
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '"') return "строка не задаёт значение";
    if (std::string err = ParseQuoted(line, pos, name); !err.empty()) return "имя: " + err;
    if (name.empty()) return "пустое имя значения";
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') return "\"=\" missing after the name";
    ++pos;
    SkipBlanks(line, pos);
    const std::string_view rest = line.substr(pos);
    if (!rest.empty() && rest.front() == '"') {
        std::string text;
        if (std::string err = ParseQuoted(line, pos, text); !err.empty()) return err;
        SkipBlanks(line, pos);
        if (pos != line.size()) return "знаки после текста";
        value = StoreValue::String(AsUtf8(std::move(text)));
        return {};
    }
    constexpr std::string_view kDword = "dword:";
    if (rest.size() >= kDword.size() && EqualNoCase(rest.substr(0, kDword.size()), kDword)) {
        const std::string digits = TrimRight(rest.substr(kDword.size()));
        if (digits.empty()) return "dword без цифр";
        std::uint64_t number = 0;
        for (char c : digits) {
            const int d = HexDigit(c);
            if (d < 0) return "dword не шестнадцатеричное";
            number = number * 16 + static_cast<unsigned>(d);
            if (number > 0xFFFFFFFFull) return "dword вне допустимых границ";
        }
        value = StoreValue::Dword(static_cast<std::uint32_t>(number));
        return {};
    }
    return "неизвестный тип значения";
}

// Process-wide state: reported messages and values held for the run.
struct StoreState {
    std::mutex mutex;
    std::set<std::string> reported;
    std::vector<std::string> collected;
    std::function<void(const std::string&)> sink;
    std::map<std::string, NamedValues> unsaved;  // by store path
};

StoreState& State() {
    static StoreState state;
    return state;
}

void Merge(NamedValues& into, const NamedValues& from) {
    for (const auto& [name, value] : from) {
        bool found = false;
        for (auto& [n, v] : into) {
            if (EqualNoCase(n, name)) {
                n = name;
                v = value;
                found = true;
                break;
            }
        }
        if (!found) into.emplace_back(name, value);
    }
}

NamedValues UnsavedFor(const std::string& path) {
    StoreState& s = State();
    std::lock_guard lock(s.mutex);
    auto it = s.unsaved.find(path);
    return it == s.unsaved.end() ? NamedValues{} : it->second;
}

// Advisory lock beside the store, so that writers take turns.
class StoreLock {
public:
    ~StoreLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    std::string Acquire(const std::string& storePath) {
        const std::string lockPath = storePath + ".lock";
        fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) return RussianFileError(DescribeErrno("cannot create", lockPath, errno));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                return RussianFileError(DescribeErrno("cannot lock", lockPath, errno));
            if (std::chrono::steady_clock::now() > deadline)
                return "файл настроек " + storePath + " занят другой программой";
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return {};
    }

private:
    int fd_ = -1;
};

std::string DescribeProblems(const std::string& path, const std::vector<std::string>& problems) {
    std::string text = "файл настроек " + path + " повреждён (";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i) text += "; ";
        text += problems[i];
    }
    text += "); для того, что не удалось прочитать, взяты значения по умолчанию, а файл "
            "перед перезаписью сохранён как " + path + ".bad";
    return text;
}

// Writes values into the store file; returns an error text, empty on success.
std::string StoreValues(const std::string& path, const NamedValues& values) {
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty()) fs::create_directories(folder, ec);
    if (ec) return "не удалось создать папку " + folder.string() + ": " + RussianCause(ec.message());
    StoreLock lock;
    if (std::string err = lock.Acquire(path); !err.empty()) return err;
    // Re-read under the lock: another process may have written since we opened.
    FileRead current = ReadWholeFile(path);
    if (!current.ok && !current.missing)
        return RussianFileError(current.error) + "; файл оставлен как есть";
    StoreContents contents;
    if (current.ok) {
        contents = ParseStore(current.bytes);
        if (!contents.problems.empty()) {
            const FileStatus kept = CopyFileAtomically(path, path + ".bad");
            if (!kept.ok) return RussianFileError(kept.error) + "; повреждённый файл оставлен как есть";
        }
        contents.problems.clear();
    }
    Merge(contents.values, values);
    const FileStatus written = WriteFileAtomically(path, FormatStore(contents));
    return written.ok ? std::string() : RussianFileError(written.error);
}

}  // namespace

const StoreValue* StoreContents::Find(std::string_view name) const {
    for (const auto& [n, v] : values)
        if (EqualNoCase(n, name)) return &v;
    return nullptr;
}

void StoreContents::Set(std::string_view name, StoreValue value) {
    Merge(values, {{std::string(name), std::move(value)}});
}

StoreContents ParseStore(std::string_view text) {
    StoreContents contents;
    std::size_t faults = 0;
    auto fault = [&](std::size_t line, const std::string& what) {
        if (++faults <= kMaxListedProblems)
            contents.problems.push_back("строка " + std::to_string(line) + ": " + what);
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (text.empty()) {
        contents.problems.push_back("файл пуст");
        return contents;
    }
    std::unordered_map<std::string, std::size_t> byName;
    bool inKey = false;
    std::size_t lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string trimmed = TrimRight(line);
        if (lineNo == 1) {
            if (trimmed == kStoreHeader) continue;
            fault(1, "первая строка не " + std::string(kStoreHeader));
        }
        std::size_t start = 0;
        SkipBlanks(trimmed, start);
        const std::string_view body = std::string_view(trimmed).substr(start);
        if (body.empty() || body.front() == ';') continue;
        if (body.front() == '[') {
            inKey = EqualNoCase(body, kStoreKeyLine);
            if (!inKey) fault(lineNo, "другой раздел, не " + std::string(kStoreKeyLine));
            continue;
        }
        std::string name;
        StoreValue value;
        if (std::string err = ParseValueLine(body, name, value); !err.empty()) {
            fault(lineNo, err);
            continue;
        }
        if (!inKey) {
            fault(lineNo, "значение вне раздела");
            continue;
        }
        name = AsUtf8(std::move(name));
        // An index by name keeps a file of many values linear to read.
        auto [at, added] = byName.try_emplace(LowerAscii(name), contents.values.size());
        if (added) {
            contents.values.emplace_back(std::move(name), std::move(value));
        } else {
            fault(lineNo, "значение \"" + name + "\" задано дважды, взято последнее");
            contents.values[at->second] = {std::move(name), std::move(value)};
        }
    }
    if (faults > kMaxListedProblems)
        contents.problems.push_back("и ещё ошибок: " + std::to_string(faults - kMaxListedProblems));
    return contents;
}

std::string FormatStore(const StoreContents& contents) {
    std::string out;
    out += kStoreHeader;
    out += "\r\n\r\n";
    out += kStoreKeyLine;
    out += "\r\n";
    for (const auto& [name, value] : contents.values) {
        AppendQuoted(out, name);
        out += '=';
        if (value.type == StoreValue::Type::String) {
            AppendQuoted(out, value.text);
        } else {
            char digits[16];
            std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.dword));
            out += digits;
        }
        out += "\r\n";
    }
    out += "\r\n";
    return out;
}

KeyAccess::KeyAccess(std::string path) : path_(std::move(path)) {
    FileRead file = ReadWholeFile(path_);
    if (file.ok) {
        contents_ = ParseStore(file.bytes);
        if (!contents_.problems.empty()) ReportStoreMessage(DescribeProblems(path_, contents_.problems));
    } else if (!file.missing) {
        ReportStoreMessage(file.error + "; the default settings are used");
    }
    Merge(contents_.values, UnsavedFor(path_));
}

KeyAccess::~KeyAccess() { Close(); }

bool KeyAccess::ValueExists(std::string_view name) const { return contents_.Find(name) != nullptr; }

std::optional<std::uint32_t> KeyAccess::ReadDword(std::string_view name) const {
    const StoreValue* v = contents_.Find(name);
    if (!v) return std::nullopt;
    if (v->type != StoreValue::Type::Dword) {
        ReportStoreMessage("файл настроек " + path_ + ": значение \"" + std::string(name) +
                           "\" не число; взято значение по умолчанию");
        return std::nullopt;
    }
    return v->dword;
}

std::optional<std::string> KeyAccess::ReadString(std::string_view name) const {
    const StoreValue* v = contents_.Find(name);
    if (!v) return std::nullopt;
    if (v->type != StoreValue::Type::String) {
        ReportStoreMessage("файл настроек " + path_ + ": значение \"" + std::string(name) +
                           "\" не текст; взято значение по умолчанию");
        return std::nullopt;
    }
    return v->text;
}

std::optional<std::int32_t> KeyAccess::ReadInteger(std::string_view name) const {
    if (auto d = ReadDword(name)) return static_cast<std::int32_t>(*d);
    return std::nullopt;
}

std::optional<bool> KeyAccess::ReadBool(std::string_view name) const {
    if (auto d = ReadDword(name)) return *d != 0;
    return std::nullopt;
}

void KeyAccess::WriteDword(std::string_view name, std::uint32_t value) {
    contents_.Set(name, StoreValue::Dword(value));
    Merge(pending_, {{std::string(name), StoreValue::Dword(value)}});
    closed_ = false;
}

void KeyAccess::WriteInteger(std::string_view name, std::int32_t value) {
    WriteDword(name, static_cast<std::uint32_t>(value));
}

void KeyAccess::WriteBool(std::string_view name, bool value) { WriteDword(name, value ? 1u : 0u); }

void KeyAccess::WriteString(std::string_view name, std::string text) {
    contents_.Set(name, StoreValue::String(text));
    Merge(pending_, {{std::string(name), StoreValue::String(std::move(text))}});
    closed_ = false;
}

bool KeyAccess::Close() {
    if (closed_ || pending_.empty()) {
        closed_ = true;
        return true;
    }
    closed_ = true;
    // Values that an earlier access could not store go along with ours.
    NamedValues values = UnsavedFor(path_);
    Merge(values, pending_);
    pending_.clear();
    const std::string error = StoreValues(path_, values);
    StoreState& s = State();
    {
        std::lock_guard lock(s.mutex);
        if (error.empty()) {
            s.unsaved.erase(path_);
        } else {
            Merge(s.unsaved[path_], values);
        }
    }
    if (!error.empty()) {
        ReportStoreMessage("не удалось сохранить настройки (" + error +
                           "); они действуют до завершения программы");
        return false;
    }
    return true;
}

void ReportStoreMessage(const std::string& message) {
    StoreState& s = State();
    std::function<void(const std::string&)> sink;
    {
        std::lock_guard lock(s.mutex);
        if (!s.reported.insert(message).second) return;
        s.collected.push_back(message);
        sink = s.sink;
    }
    if (sink) {
        sink(message);
    } else {
        std::cerr << "veskaron: " << message << '\n';
    }
}

std::vector<std::string> TakeStoreMessages() {
    StoreState& s = State();
    std::lock_guard lock(s.mutex);
    return std::exchange(s.collected, {});
}

void SetStoreMessageSink(std::function<void(const std::string&)> sink) {
    StoreState& s = State();
    std::lock_guard lock(s.mutex);
    s.sink = std::move(sink);
}

void ResetStoreStateForTests() {
    StoreState& s = State();
    std::lock_guard lock(s.mutex);
    s.reported.clear();
    s.collected.clear();
    s.unsaved.clear();
}

}  // namespace veskaron
