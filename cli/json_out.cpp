#include "cli/json_out.h"

#include <charconv>

#include "engine/text_codec.h"

namespace veskaron::cli {
namespace {

// Whether every multi-byte sequence is well-formed UTF-8; otherwise the
// library's own replacement rules apply.
bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0, len = 1; i < s.size(); i += len) {
        len = 1;
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) continue;
        // The two-byte letters of most texts checked in place.
        if (b >= 0xC2 && b <= 0xDF && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
            len = 2;
            continue;
        }
        if (DecodeUtf8At(s, i, len) == 0xFFFD && len == 1) return false;
    }
    return true;
}

void AppendStringText(std::string& out, const std::string& s) {
    if (!ValidUtf8(s)) {
        out += nlohmann::json(s).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t from = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(s, from, i - from);
        from = i + 1;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\f': out += "\\f"; break;
            case '\r': out += "\\r"; break;
            default:
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 15];
        }
    }
    out.append(s, from);
    out += '"';
}

template <class Number>
void AppendNumber(std::string& out, Number n) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

}  // namespace

void AppendCompactJson(std::string& out, const nlohmann::json& value) {
    using Type = nlohmann::json::value_t;
    switch (value.type()) {
        case Type::object: {
            out += '{';
            bool first = true;
            for (const auto& [key, member] : value.items()) {
                if (!first) out += ',';
                first = false;
                AppendStringText(out, key);
                out += ':';
                AppendCompactJson(out, member);
            }
            out += '}';
            return;
        }
        case Type::array: {
            out += '[';
            bool first = true;
            for (const auto& element : value) {
                if (!first) out += ',';
                first = false;
                AppendCompactJson(out, element);
            }
            out += ']';
            return;
        }
        case Type::string: AppendStringText(out, value.get_ref<const std::string&>()); return;
        case Type::boolean: out += value.get<bool>() ? "true" : "false"; return;
        case Type::null: out += "null"; return;
        case Type::number_integer: AppendNumber(out, value.get<std::int64_t>()); return;
        case Type::number_unsigned: AppendNumber(out, value.get<std::uint64_t>()); return;
        default: break;  // floating point and the rest: the library's own text
    }
    out += value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void AppendJsonString(std::string& out, const std::string& text) { AppendStringText(out, text); }

}  // namespace veskaron::cli
