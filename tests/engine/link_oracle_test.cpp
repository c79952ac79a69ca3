// The link scanner against an HTML5 parser (gumbo) on the real pages under
// /usr/share/doc: every page gives the same links with the same lines, or the
// difference has one of the reasons listed below.
#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/encoding.h"
#include "engine/file_io.h"
#include "engine/link_scanner.h"

#if VESKARON_HAVE_GUMBO
#include <gumbo.h>
#endif

using namespace veskaron;

#if VESKARON_HAVE_GUMBO
namespace {

// Links as "line source value", sorted; targets each once (the tree builder
// reopens an unclosed <a name=x/> after each later link, attributes and all).
struct Tree {
    std::vector<std::string> links;
    std::set<std::string> targets;
    // Values written with a named reference beyond those a URL holds in
    // practice: gumbo knows them all, the scanner leaves them as written.
    bool rareReference = false;
};

std::string Seen(unsigned line, std::string_view source, std::string_view value) {
    return std::to_string(line) + " " + std::string(source) + " " + std::string(value);
}

bool HasRareReference(const GumboAttribute* a) {
    const std::string_view raw(a->original_value.data, a->original_value.length);
    for (std::size_t at = raw.find('&'); at != std::string_view::npos; at = raw.find('&', at + 1)) {
        const std::string_view next = raw.substr(at + 1, 5);
        if (!next.starts_with("#") && !next.starts_with("amp") && !next.starts_with("lt") &&
            !next.starts_with("gt") && !next.starts_with("quot") && !next.starts_with("nbsp"))
            return true;
    }
    return false;
}

void Walk(const GumboNode* node, Tree& tree) {
    if (node->type != GUMBO_NODE_ELEMENT) return;  // a template's content is inert
    const GumboElement& e = node->v.element;
    const unsigned line = e.start_pos.line;
    auto attribute = [&e](const char* name) { return gumbo_get_attribute(&e.attributes, name); };
    if (const GumboAttribute* id = attribute("id"); id && *id->value) tree.targets.insert(id->value);
    // Elements of SVG and MathML keep their own meaning of href and src.
    static const std::pair<GumboTag, const char*> kLinks[] = {
        {GUMBO_TAG_A, "href"},        {GUMBO_TAG_AREA, "href"},     {GUMBO_TAG_LINK, "href"},
        {GUMBO_TAG_IMG, "src"},       {GUMBO_TAG_SCRIPT, "src"},    {GUMBO_TAG_IFRAME, "src"},
        {GUMBO_TAG_SOURCE, "src"},    {GUMBO_TAG_EMBED, "src"}};
    for (const auto& [tag, name] : kLinks) {
        const GumboAttribute* a = e.tag == tag && e.tag_namespace == GUMBO_NAMESPACE_HTML ? attribute(name) : nullptr;
        if (!a) continue;
        tree.links.push_back(Seen(line, gumbo_normalized_tagname(tag), a->value));
        tree.rareReference |= HasRareReference(a);
    }
    if (e.tag == GUMBO_TAG_A && e.tag_namespace == GUMBO_NAMESPACE_HTML)
        if (const GumboAttribute* n = attribute("name"); n && *n->value) tree.targets.insert(n->value);
    const GumboAttribute* equiv = e.tag == GUMBO_TAG_META ? attribute("http-equiv") : nullptr;
    if (equiv && strcasecmp(equiv->value, "refresh") == 0)
        if (const GumboAttribute* content = attribute("content"))
            if (const std::string_view to = RefreshAddress(content->value); !to.empty())
                tree.links.push_back(Seen(line, "refresh", to));
    for (unsigned i = 0; i < e.children.length; ++i) Walk(static_cast<const GumboNode*>(e.children.data[i]), tree);
}

}  // namespace

TEST(LinkOracle, SameLinksAsAnHtml5Parser) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<std::string> files;
    for (auto it = fs::recursive_directory_iterator("/usr/share/doc", ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if ((ext == ".html" || ext == ".htm") && it->is_regular_file(ec) && it->file_size(ec) < 4u << 20)
            files.push_back(it->path().string());
    }
    if (files.empty()) GTEST_SKIP() << "no HTML pages under /usr/share/doc";
    std::sort(files.begin(), files.end());

    std::size_t compared = 0, links = 0, notUtf8 = 0, loneCr = 0, rare = 0;
    std::vector<std::string> unexplained;
    for (const std::string& file : files) {
        const FileRead read = ReadWholeFile(file);
        if (!read.ok) continue;
        const std::string& bytes = read.bytes;
        // Gumbo reads UTF-8 only.
        if (!LooksLikeUtf8(bytes) && std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; })) {
            ++notUtf8;
            continue;
        }
        // Gumbo counts LF only; the scanner counts lines as the editor does.
        if (bytes.find('\r') != std::string::npos) {
            ++loneCr;
            continue;
        }
        GumboOutput* out = gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), bytes.size());
        Tree tree;
        Walk(out->root, tree);
        gumbo_destroy_output(&kGumboDefaultOptions, out);

        LinkScan scan;
        ScanLinks(bytes, nullptr, scan);
        std::vector<std::string> mine;
        for (const ScannedLink& l : scan.links)
            if (l.source != LinkSource::Srcset) mine.push_back(Seen(l.line, LinkSourceName(l.source), l.value));
        std::sort(mine.begin(), mine.end());
        std::sort(tree.links.begin(), tree.links.end());
        const bool sameTargets = std::set<std::string>(scan.targets.begin(), scan.targets.end()) == tree.targets;
        if (mine == tree.links && sameTargets) {
            ++compared;
            links += mine.size();
        } else if (tree.rareReference) {
            ++rare;
        } else {
            std::vector<std::string> onlyMine, onlyTree;
            std::set_difference(mine.begin(), mine.end(), tree.links.begin(), tree.links.end(), std::back_inserter(onlyMine));
            std::set_difference(tree.links.begin(), tree.links.end(), mine.begin(), mine.end(), std::back_inserter(onlyTree));
            std::string what = file + (sameTargets ? ":" : ": (targets differ)");
            for (const std::string& l : onlyMine) what += " +" + l;
            for (const std::string& l : onlyTree) what += " -" + l;
            unexplained.push_back(what);
        }
    }
    std::printf("pages alike: %zu (%zu links); not UTF-8: %zu; CR line ends: %zu; rare references: %zu\n", compared,
                links, notUtf8, loneCr, rare);
    for (std::size_t i = 0; i < unexplained.size() && i < 10; ++i) ADD_FAILURE() << unexplained[i];
    EXPECT_TRUE(unexplained.empty()) << unexplained.size() << " pages differ";
}
#else
TEST(LinkOracle, SameLinksAsAnHtml5Parser) { GTEST_SKIP() << "built without gumbo (libgumbo-dev)"; }
#endif
