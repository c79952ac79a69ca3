#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "indexing/image_size.h"
#include "indexing/link_graph.h"

using namespace veskaron;
using namespace veskaron::indexing;
namespace fs = std::filesystem;

namespace {

std::string Png(int w, int h) {
    std::string b = "\x89PNG\r\n\x1a\n";
    b += std::string("\0\0\0\x0dIHDR", 8);
    for (int v : {w, h})
        for (int s = 24; s >= 0; s -= 8) b += static_cast<char>((v >> s) & 0xFF);
    return b + std::string(13, '\0');
}

std::string Gif(int w, int h) {
    return std::string("GIF89a") + char(w & 0xFF) + char(w >> 8) + char(h & 0xFF) + char(h >> 8) + std::string(8, '\0');
}

class LinkSite : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("veskaron_links_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    void Put(const std::string& name, const std::string& bytes) {
        const fs::path p = root_ / name;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        if (name.ends_with(".html")) files_.push_back(p.string());
    }
    static std::string Page(const std::string& head, const std::string& body) {
        return "<html><head><title>t</title>" + head + "</head>\n<body>\n" + body + "\n</body></html>\n";
    }
    LinkGraph Build(const std::string& baseUrl = "https://example.com", const std::string& home = "") {
        std::sort(files_.begin(), files_.end());
        return BuildLinkGraph(files_, {root_.string(), baseUrl, home, kDefaultDepthLimit, Robot::Google}, 2);
    }
    // "file code" of every finding, sorted.
    std::vector<std::string> Findings(const LinkGraph& g) {
        std::vector<std::string> out;
        for (std::uint32_t i = 0; i < g.pages.size(); ++i)
            for (const site::Finding& f : g.Findings(i))
                out.push_back(fs::relative(g.pages[i].file, root_).string() + " " + std::string(f.code));
        std::sort(out.begin(), out.end());
        return out;
    }

    fs::path root_;
    std::vector<std::string> files_;
};

}  // namespace

// Every finding planted once, beside look-alikes that are none.
TEST_F(LinkSite, ExactlyThePlantedFindings) {
    Put("index.html", Page("",
                           "<a href=\"a.html\">a</a> <a href=\"dir/\">dir</a> <a href=\"b.html#named\">b</a>\n"
                           "<a href=\"https://example.com/c.html\">c</a> <!-- <a href=\"gone-in-comment.html\"> -->\n"
                           "<a href=\"https://other.org/x\">x</a> <a href=\"mailto:a@b.c\">m</a>\n"
                           "<a href=\"missing.html\">broken</a>\n"
                           "<a href=\"a.html#nowhere\">anchor</a> <a href=\"a.html#sec\">ok</a> <a href=\"#top\">top</a>\n"
                           "<a href=\"noindex.html\">closed</a>\n"
                           "<a href=\"r1.html\">r</a> <a href=\"loop1.html\">l</a> <a href=\"deep1.html\">d</a>\n"
                           "<img src=\"pic.png\" alt=\"\" width=\"2\" height=\"3\"> <img src=\"pic.png\" width=2 height=3>\n"
                           "<img src=\"pic.gif\" alt=\"g\" width=\"10\" height=\"3\"> <img src=\"pic.gif\" alt=\"g\" width=\"2\">"));
    Put("a.html", Page("<link rel=\"canonical\" href=\"/a.html\">", "<h2 id=\"sec\">s</h2>"));
    Put("b.html", Page("<link rel=\"canonical\" href=\"https://example.com/gone.html\">", "<a name=\"named\"></a>"));
    Put("c.html", Page("<link rel=\"alternate\" hreflang=\"ru\" href=\"/c.html\">"
                       "<link rel=\"alternate\" hreflang=\"en\" href=\"/en/c.html\">", ""));
    Put("dir/index.html", Page("", "<a href=\"../index.html\">home</a>"));
    Put("noindex.html", Page("<meta name=\"robots\" content=\"noindex, follow\">", ""));
    Put("r1.html", Page("<meta http-equiv=\"refresh\" content=\"0; url=r2.html\">", ""));
    Put("r2.html", Page("<meta http-equiv=\"refresh\" content=\"0; url=r3.html\">", ""));
    Put("r3.html", Page("<meta http-equiv=\"refresh\" content=\"30\">", ""));
    Put("loop1.html", Page("<meta http-equiv=\"refresh\" content=\"0; url=loop2.html\">", ""));
    Put("loop2.html", Page("<meta http-equiv=\"refresh\" content=\"0;URL='/loop1.html'\">", ""));
    for (int d = 1; d <= 5; ++d)
        Put("deep" + std::to_string(d) + ".html", Page("", d < 5 ? "<a href=\"deep" + std::to_string(d + 1) + ".html\">" : ""));
    Put("orphan.html", Page("", "<a href=\"index.html\">home</a>"));
    Put("pic.png", Png(2, 3));
    Put("pic.gif", Gif(2, 3));

    const LinkGraph g = Build();
    EXPECT_EQ(Findings(g), (std::vector<std::string>{
                               "b.html canonical-missing-target", "c.html hreflang-missing-target", "deep5.html depth",
                               "index.html anchor-missing", "index.html img-alt-missing", "index.html img-size-mismatch",
                               "index.html link-broken", "index.html link-to-noindex", "loop1.html redirect-loop",
                               "orphan.html orphan", "r1.html redirect-chain"}));
    const std::uint32_t home = g.PageAt("/");
    EXPECT_EQ(g.pages[home].path, "/index.html");
    EXPECT_EQ(g.inbound[home], 2u);  // dir/index.html and orphan.html
    EXPECT_EQ(g.depth[g.PageAt("/deep5.html")], 5u);
    EXPECT_EQ(g.LinkingTo(g.PageAt("/dir/")), std::vector<std::uint32_t>{home});

    // Without the site's address its own absolute address is another site's: c.html loses its only link.
    const std::vector<std::string> alone = Findings(Build(""));
    EXPECT_NE(std::find(alone.begin(), alone.end(), "c.html orphan"), alone.end());
    // Another start page: the old one is reached from it, the pages beyond are deeper.
    const std::vector<std::string> fromOrphan = Findings(Build("https://example.com", (root_ / "orphan.html").string()));
    EXPECT_NE(std::find(fromOrphan.begin(), fromOrphan.end(), "deep4.html depth"), fromOrphan.end());
    EXPECT_EQ(std::find(fromOrphan.begin(), fromOrphan.end(), "orphan.html orphan"), fromOrphan.end());
}

TEST_F(LinkSite, PageCharsetAndEncodedNames) {
    // A Windows-1251 page naming "я.html" in its own charset, and a UTF-8 page naming it percent-encoded.
    Put("я.html", Page("", ""));
    Put("cp.html", Page("<meta charset=\"windows-1251\">", "<a href=\"\xFF.html\">"));
    Put("utf.html", Page("<meta charset=\"utf-8\">", "<a href=\"%D1%8F.html\"> <a href=\"./%D1%8F.html?x=1#\">"));
    const LinkGraph g = Build();
    for (const LinkPage& p : g.pages)
        for (const PageLink& l : p.links) EXPECT_EQ(LinkStatusName(l.status), "ok") << p.file << " " << p.Shown(l);
    EXPECT_EQ(g.inbound[g.PageAt("/я.html")], 2u);
}

TEST(ImageSize, Headers) {
    const std::string riff("RIFF\0\0\0\0WEBP", 12), zeros(16, '\0');
    const std::pair<std::string, std::string> cases[] = {
        {Png(640, 480), "640x480"},
        {Gif(16, 9), "16x9"},
        // A JPEG frame header after an APP0 segment.
        {std::string("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC2\x00\x11\x08\x01\x2C\x02\x80", 17) + zeros, "640x300"},
        {riff + "VP8 " + zeros.substr(0, 10) + std::string("\x90\x01\xC8\x00", 4), "400x200"},
        {riff + "VP8L" + zeros.substr(0, 4) + "\x2F\x63\xC0\x31" + zeros.substr(0, 1), "100x200"},
        {riff + "VP8X" + zeros.substr(0, 8) + std::string("\x1F\x03\x00\xDF\x01\x00", 6), "800x480"},
        {"GIF8", "?"},
        {std::string("\xFF\xD8\xFF\xC0", 4), "?"},
    };
    for (const auto& [bytes, size] : cases) {
        const ImageSize s = ImageSizeOf(bytes);
        EXPECT_EQ(s.known ? std::to_string(s.width) + "x" + std::to_string(s.height) : "?", size) << bytes.substr(0, 4);
    }
}
