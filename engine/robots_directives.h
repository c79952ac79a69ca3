#pragma once
// What a page's robots tags ask of a search engine's robot: the general
// <meta name="robots"> and the tags for one robot ("googlebot", "yandex"),
// read word by word and combined, the most restrictive word winning. Words no
// robot documents are kept, never dropped.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veskaron {

enum class Robot { Google, Yandex };
// "google" or "yandex" (any case); false for anything else.
bool ParseRobot(std::string_view name, Robot& robot);
std::string_view RobotName(Robot robot);

// Whether a <meta name="..."> speaks to `robot`: "robots" to every robot,
// "googlebot" to Google, "yandex" and "yandexbot" to Yandex.
bool SpeaksTo(std::string_view metaName, Robot robot);
// Whether a name is one of the robot tags a page may carry (those above and
// "googlebot-news", "bingbot", ...).
bool IsRobotsTagName(std::string_view metaName);

struct RobotsDirectives {
    bool noindex = false, nofollow = false, noarchive = false, nosnippet = false, notranslate = false,
         noimageindex = false, noyaca = false;
    long long maxSnippet = -1;       // characters; -1 no limit
    long long maxVideoPreview = -1;  // seconds; -1 no limit
    std::string maxImagePreview;     // "none", "standard", "large"; empty: not said
    std::string unavailableAfter;    // the date as written
    std::vector<std::string> unknown;  // words no robot documents, as written
    std::string noindexTag;          // the tag that said noindex: "name: content"
    bool Restricts() const { return noindex || nofollow || nosnippet || maxSnippet >= 0; }
};

// Adds the words of one tag's content; `tagName` names the tag for the record.
void AddDirectives(RobotsDirectives& set, std::string_view content, std::string_view tagName);

// Every robots tag of the head that speaks to `robot`, combined. Texts are
// the document's; the words compared are ASCII.
// The same from tags a load listed already: (name, content) pairs.
RobotsDirectives TagDirectives(const std::vector<std::pair<std::string, std::string>>& tags, Robot robot,
                               bool general = true);
// Without `general`, only the robot's own tags count.
RobotsDirectives PageDirectives(std::string_view text, Robot robot, bool general = true);

// What a search result may show of a description (UTF-8): nothing under
// nosnippet, at most max-snippet characters.
std::string SnippetAllowed(std::string_view description, const RobotsDirectives& set);

}  // namespace veskaron
