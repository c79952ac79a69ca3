// Look-ups find the first unconsumed tag that holds `attribute="key"` or
// `attribute=key` anywhere, whether the head is small (look-ups through an
// index) or has more tags than the index holds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/cp1251.h"
#include "engine/head_scanner.h"

using namespace veskaron;

namespace {

// The rule in its plainest form, over the tags in document order.
std::string Oracle(std::vector<std::string>& tags, std::vector<bool>& used, const std::string& attr,
                   const std::string& key) {
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::string lower = LowerAscii(tags[i]);
        if (used[i] || (lower.find(attr + "=\"" + key + "\"") == std::string::npos &&
                        lower.find(attr + "=" + key) == std::string::npos))
            continue;
        used[i] = true;
        const auto at = lower.find("content=");
        if (at == std::string::npos) return {};
        const std::size_t start = at + 8, last = tags[i].size() - 1;
        std::size_t from = start, to;
        if (start < tags[i].size() && tags[i][start] == '"') {
            from = start + 1;
            const auto q = tags[i].find('"', from);
            to = q != std::string::npos ? q : last;
        } else {
            const auto b = tags[i].find(' ', start + 1);
            to = b != std::string::npos ? b : last;
        }
        return from >= to ? std::string() : tags[i].substr(from, to - from);
    }
    return {};
}

}  // namespace

TEST(HeadLookup, SmallAndLargeHeadsFollowTheRule) {
    const char* keys[] = {"author", "url", "urls", "robots", "keywords", "refresh", "pragma", "x"};
    const char* attrs[] = {"name", "NAME", "http-equiv", "Http-Equiv", "property"};
    std::mt19937 rng(17);
    for (int round = 0; round < 300; ++round) {
        const int count = round % 2 ? 70 + static_cast<int>(rng() % 20) : 1 + static_cast<int>(rng() % 40);
        std::string head = "<html><head>\r\n";
        for (int t = 0; t < count; ++t) {
            const std::string key = keys[rng() % std::size(keys)], attr = attrs[rng() % std::size(attrs)];
            const std::string value = rng() % 3 ? "\"" + key + "\"" : key;
            const std::string content = "content=\"v" + std::to_string(t) + "\"";
            head += rng() % 2 ? "<meta " + attr + "=" + value + " " + content + ">\r\n"
                              : "<META " + content + " " + attr + "=" + value + ">\r\n";
        }
        head += "</head>";
        HeadScanner scanner;
        scanner.CollectHead(head);
        scanner.SplitMetaTags();
        std::vector<std::string> tags = scanner.MetaTags();
        std::vector<bool> used(tags.size());
        for (int q = 0; q < 30; ++q) {
            const std::string key = keys[rng() % std::size(keys)];
            if (rng() % 2) {
                ASSERT_EQ(scanner.HttpEquivContent(key), Oracle(tags, used, "http-equiv", key)) << round;
            } else {
                // NameContent decodes entities; the values here hold none.
                ASSERT_EQ(scanner.NameContent(key), Oracle(tags, used, "name", key)) << round;
            }
        }
    }
}
