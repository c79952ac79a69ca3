#include "engine/robots_directives.h"

#include <algorithm>
#include <charconv>

#include "engine/cp1251.h"
#include "engine/head_scanner.h"

namespace veskaron {
namespace {

std::string Trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return std::string(s);
}

// A count after "max-snippet:"; false when it is none.
bool Count(std::string_view text, long long& out) {
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), out);
    return r.ec == std::errc() && r.ptr == t.data() + t.size() && out >= -1;
}

// The smaller limit; -1 is none.
void Limit(long long& have, long long value) {
    if (value < 0) return;
    have = have < 0 ? value : std::min(have, value);
}

int PreviewRank(std::string_view v) { return v == "none" ? 0 : v == "standard" ? 1 : v == "large" ? 2 : 3; }

bool IsDayName(std::string_view v) {
    static constexpr std::string_view kDays[] = {"monday", "tuesday", "wednesday", "thursday", "friday",
                                                 "saturday", "sunday", "mon", "tue", "wed", "thu", "fri",
                                                 "sat", "sun"};
    return std::find(std::begin(kDays), std::end(kDays), LowerAscii(Trimmed(v))) != std::end(kDays);
}

}  // namespace

bool ParseRobot(std::string_view name, Robot& robot) {
    const std::string lower = LowerAscii(name);
    if (lower == "google") robot = Robot::Google;
    else if (lower == "yandex") robot = Robot::Yandex;
    else return false;
    return true;
}

std::string_view RobotName(Robot robot) { return robot == Robot::Google ? "google" : "yandex"; }

bool SpeaksTo(std::string_view metaName, Robot robot) {
    const std::string name = LowerAscii(Trimmed(metaName));
    if (name == "robots") return true;
    if (robot == Robot::Google) return name == "googlebot";
    return name == "yandex" || name == "yandexbot";
}

bool IsRobotsTagName(std::string_view metaName) {
    static constexpr std::string_view kNames[] = {"robots",  "googlebot", "googlebot-news", "googlebot-image",
                                                  "bingbot", "yandex",    "yandexbot",      "slurp"};
    const std::string name = LowerAscii(Trimmed(metaName));
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

void AddDirectives(RobotsDirectives& set, std::string_view content, std::string_view tagName) {
    std::vector<std::string> pieces;
    for (std::size_t from = 0; from <= content.size();) {
        std::size_t comma = content.find(',', from);
        if (comma == std::string_view::npos) comma = content.size();
        pieces.push_back(Trimmed(content.substr(from, comma - from)));
        from = comma + 1;
    }
    // A date of unavailable_after may hold a comma ("Monday, 21-Sep-20 ...").
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        const std::string lower = LowerAscii(pieces[i]);
        const auto colon = lower.find(':');
        if (lower.starts_with("unavailable_after") && colon != std::string::npos &&
            IsDayName(std::string_view(lower).substr(colon + 1))) {
            pieces[i] += ", " + pieces[i + 1];
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        }
    }
    auto said = [&](bool& flag) { flag = true; };
    for (const std::string& piece : pieces) {
        if (piece.empty()) continue;
        const std::string word = LowerAscii(piece);
        const auto colon = word.find(':');
        const std::string key = Trimmed(std::string_view(word).substr(0, colon));
        const std::string_view value =
            colon == std::string::npos ? std::string_view() : std::string_view(piece).substr(colon + 1);
        long long n = 0;
        if (colon == std::string::npos && (key == "noindex" || key == "none")) {
            set.noindex = true;
            if (set.noindexTag.empty()) set.noindexTag = std::string(tagName) + ": " + Trimmed(content);
            if (key == "none") set.nofollow = true;
        } else if (colon == std::string::npos && (key == "index" || key == "follow" || key == "all")) {
            // What a robot does anyway.
        } else if (colon == std::string::npos && key == "nofollow") {
            said(set.nofollow);
        } else if (colon == std::string::npos && key == "noarchive") {
            said(set.noarchive);
        } else if (colon == std::string::npos && key == "nosnippet") {
            said(set.nosnippet);
        } else if (colon == std::string::npos && key == "notranslate") {
            said(set.notranslate);
        } else if (colon == std::string::npos && key == "noimageindex") {
            said(set.noimageindex);
        } else if (colon == std::string::npos && key == "noyaca") {
            said(set.noyaca);
        } else if (key == "max-snippet" && Count(value, n)) {
            Limit(set.maxSnippet, n);
        } else if (key == "max-video-preview" && Count(value, n)) {
            Limit(set.maxVideoPreview, n);
        } else if (key == "max-image-preview" && PreviewRank(LowerAscii(Trimmed(value))) < 3) {
            const std::string v = LowerAscii(Trimmed(value));
            if (set.maxImagePreview.empty() || PreviewRank(v) < PreviewRank(set.maxImagePreview))
                set.maxImagePreview = v;
        } else if (key == "unavailable_after" && !Trimmed(value).empty()) {
            if (set.unavailableAfter.empty()) set.unavailableAfter = Trimmed(value);
        } else {
            set.unknown.push_back(piece);
        }
    }
}

RobotsDirectives TagDirectives(const std::vector<std::pair<std::string, std::string>>& tags, Robot robot,
                               bool general) {
    RobotsDirectives set;
    for (const auto& [name, content] : tags)
        if (SpeaksTo(name, robot) && (general || name != "robots")) AddDirectives(set, content, name);
    return set;
}

RobotsDirectives PageDirectives(std::string_view text, Robot robot, bool general) {
    RobotsDirectives set;
    // Most heads name no robot at all: no second scan for those.
    const HeadRange head = FindHead(text);
    if (!head.found) return set;
    const std::string_view in = text.substr(head.begin, head.end - head.begin);
    if (FindNoCase(in, "robots") == std::string_view::npos && FindNoCase(in, "googlebot") == std::string_view::npos &&
        FindNoCase(in, "yandex") == std::string_view::npos)
        return set;
    HeadScanner scanner;
    scanner.Scan(text);
    for (std::string_view name : {"robots", "googlebot", "yandex", "yandexbot"}) {
        if (!SpeaksTo(name, robot) || (!general && name == "robots")) continue;
        for (const std::string& content : scanner.NameContents(name)) AddDirectives(set, content, name);
    }
    return set;
}

std::string SnippetAllowed(std::string_view description, const RobotsDirectives& set) {
    if (set.nosnippet || set.maxSnippet == 0) return {};
    if (set.maxSnippet < 0) return std::string(description);
    std::size_t at = 0;
    for (long long n = 0; at < description.size() && n < set.maxSnippet; ++n) {
        ++at;
        while (at < description.size() && (static_cast<unsigned char>(description[at]) & 0xC0) == 0x80) ++at;
    }
    return std::string(description.substr(0, at));
}

}  // namespace veskaron
