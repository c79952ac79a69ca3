#include "site/robots_txt.h"

#include <algorithm>
#include <filesystem>

#include "engine/cp1251.h"

namespace veskaron::site {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendEscape(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// The product token of a User-agent value: its leading letters, '_' and '-'.
std::string ProductToken(std::string_view value) {
    std::string token;
    for (char c : value) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '-' || c == '*')) break;
        token += LowerAsciiChar(c);
    }
    return token;
}

}  // namespace

std::string NormaliseRobotsPath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c == '%' && i + 2 < path.size() && HexValue(path[i + 1]) >= 0 && HexValue(path[i + 2]) >= 0) {
            const auto decoded = static_cast<unsigned char>(HexValue(path[i + 1]) * 16 + HexValue(path[i + 2]));
            if (IsUnreserved(decoded)) out += static_cast<char>(decoded);
            else AppendEscape(out, decoded);
            i += 2;
        } else if (c >= 0x80 || c <= 0x20 || c == 0x7F) {
            AppendEscape(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool RobotsPatternMatches(std::string_view pattern, std::string_view path) {
    const bool anchored = !pattern.empty() && pattern.back() == '$';
    if (anchored) pattern.remove_suffix(1);
    // The positions of the path the pattern's prefix can end at, in order.
    std::vector<std::size_t> ends{0};
    std::vector<std::size_t> next;
    for (char p : pattern) {
        next.clear();
        if (p == '*') {
            for (std::size_t e = ends.front(); e <= path.size(); ++e) next.push_back(e);
        } else {
            for (std::size_t e : ends)
                if (e < path.size() && path[e] == p) next.push_back(e + 1);
        }
        if (next.empty()) return false;
        ends.swap(next);
    }
    return !anchored || ends.back() == path.size();
}

RobotsTxt RobotsTxt::Parse(std::string_view bytes) {
    RobotsTxt r;
    if (bytes.size() > kRobotsTxtLimit) {
        r.problems_.push_back({0, {}, "Файл больше 500 КиБ: прочитаны первые 500 КиБ"});
        bytes = bytes.substr(0, kRobotsTxtLimit);
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    bool lastWasAgent = false;
    int lineNo = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view raw = bytes.substr(at, end - at);
        at = end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? end + 2 : end + 1;
        ++lineNo;
        const std::string_view line = Trim(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            r.problems_.push_back({lineNo, std::string(Trim(raw)), "Строка без двоеточия: не правило"});
            continue;
        }
        const std::string key = LowerAscii(Trim(line.substr(0, colon)));
        const std::string_view value = Trim(line.substr(colon + 1));
        if (key == "user-agent") {
            if (!lastWasAgent || r.groups_.empty()) r.groups_.push_back({});
            const std::string token = ProductToken(value);
            if (token.empty()) r.problems_.push_back({lineNo, std::string(line), "Пустой или непонятный User-agent"});
            else r.groups_.back().agents.push_back(token);
            lastWasAgent = true;
            continue;
        }
        lastWasAgent = false;
        if (key == "allow" || key == "disallow") {
            if (r.groups_.empty()) {
                r.problems_.push_back({lineNo, std::string(line), "Правило до первой строки User-agent"});
                continue;
            }
            // An empty Disallow allows everything: no rule.
            if (value.empty()) continue;
            if (value.front() != '/' && value.front() != '*')
                r.problems_.push_back({lineNo, std::string(line), "Путь правила не начинается с «/»"});
            r.groups_.back().rules.push_back({key == "allow", NormaliseRobotsPath(value), lineNo, std::string(line)});
        } else if (key == "sitemap") {
            r.sitemaps_.emplace_back(value);
        } else if (key == "clean-param") {
            r.cleanParams_.emplace_back(value);
        } else if (key == "host") {
            r.problems_.push_back({lineNo, std::string(line), "Директива Host устарела: роботы её не читают"});
        } else if (key == "crawl-delay") {
            // Read by some robots, about the pace of crawling only.
        } else {
            r.problems_.push_back({lineNo, std::string(line), "Неизвестная директива «" + key + "»: пропущена"});
        }
    }
    return r;
}

RobotsTxtVerdict RobotsTxt::Decide(const std::vector<std::string>& agents, std::string_view path) const {
    RobotsTxtVerdict v;
    const std::string normal = NormaliseRobotsPath(path.empty() ? std::string_view("/") : path);
    if (normal == "/robots.txt") return v;
    // The groups of the first agent that has any, combined; else those of "*".
    std::vector<const Group*> chosen;
    std::string group;
    auto collect = [&](std::string_view token) {
        for (const Group& g : groups_)
            if (std::find(g.agents.begin(), g.agents.end(), token) != g.agents.end()) chosen.push_back(&g);
        if (!chosen.empty()) group = token;
        return !chosen.empty();
    };
    bool found = false;
    for (const std::string& a : agents)
        if ((found = collect(LowerAscii(a)))) break;
    if (!found && !collect("*")) return v;
    v.group = group;
    const RobotsTxtRule* best = nullptr;
    for (const Group* g : chosen) {
        for (const RobotsTxtRule& rule : g->rules) {
            if (!RobotsPatternMatches(rule.pattern, normal)) continue;
            if (!best || rule.pattern.size() > best->pattern.size() ||
                (rule.pattern.size() == best->pattern.size() && rule.allow && !best->allow))
                best = &rule;
        }
    }
    if (best) {
        v.allowed = best->allow;
        v.line = best->line;
        v.rule = best->text;
    }
    return v;
}

RobotsTxtVerdict RobotsTxt::Decide(Robot robot, std::string_view path) const {
    return Decide(AgentTokens(robot), path);
}

std::vector<std::string> AgentTokens(Robot robot) {
    if (robot == Robot::Google) return {"googlebot"};
    return {"yandexbot", "yandex"};
}

std::string PagePathUnder(const std::string& root, const std::string& file) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path rel = fs::path(file).lexically_normal().lexically_relative(fs::path(root).lexically_normal());
    if (rel.empty() || *rel.begin() == "..") return {};
    std::string out;
    std::string last;
    for (const fs::path& part : rel) {
        last = part.string();
        if (last == ".") continue;
        out += '/';
        for (unsigned char c : last) {
            if (IsUnreserved(c) || c == '!' || c == '$' || c == '&' || c == '\'' || c == '(' || c == ')' ||
                c == '*' || c == '+' || c == ',' || c == ';' || c == '=' || c == ':' || c == '@')
                out += static_cast<char>(c);
            else
                AppendEscape(out, c);
        }
    }
    const std::string lower = LowerAscii(last);
    if (lower == "index.html" || lower == "index.htm") out.resize(out.size() - last.size());
    return out.empty() ? "/" : out;
}

}  // namespace veskaron::site
