// The load and the writer stay linear in the page size, for pages that grow in
// the body and for pages that are nearly all head.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/head_scanner.h"
#include "engine/loader.h"
#include "engine/page_file.h"
#include "engine/writer.h"
#include "tests/scaling_guard.h"

using namespace veskaron;

namespace {

std::string BodyPage(std::size_t bytes) {
    std::string page =
        "<html>\r\n<head>\r\n<title>T</title>\r\n<meta name=\"author\" content=\"A\">\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n"
        "</head>\r\n<body>\r\n";
    while (page.size() < bytes)
        page += "<p>\xD2\xE5\xEA\xF1\xF2 text <img alt=\"pic\" src=\"a.gif\"> <!-- c --> &amp; more</p>\r\n";
    return page + "</body></html>\r\n";
}

// Every line a tag, and the head never closes: all of it is scanned.
std::string HeadPage(std::size_t bytes) {
    std::string page = "<html><head>\r\n<title>T</title>\r\n";
    while (page.size() < bytes)
        page += "<META NAME=\"x\"\r\n CONTENT=\"a > b\"><meta name=robots content=all> text\n";
    return page + "<meta name=\"author\" content=\"last\">\r\n";
}

// A catalogued attribute written over and over outside any tag, far from
// the last '<'.
std::string AttributeTextPage(std::size_t bytes) {
    std::string page = "<html><head><x>";
    while (page.size() < bytes) page += "name=\"author\">";
    return page;
}

struct PageKind {
    const char* name;
    std::string (*make)(std::size_t);
};
const PageKind kPages[] = {{"long body", BodyPage}, {"all head", HeadPage}};

}  // namespace

TEST(Scaling, EditorTextSizeCountsLikeTheLines) {
    // The counting goes by blocks; every split of a CR LF pair must be seen.
    std::mt19937 rng(7);
    const char alphabet[] = {'\r', '\n', 'a', '\xC0'};
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % 300, 'x');
        for (char& c : text) c = alphabet[rng() % 4];
        long long expected = 0;
        for (std::string_view line : SplitEditorLines(text)) expected += static_cast<long long>(line.size()) + 2;
        ASSERT_EQ(EditorTextSize(text), expected) << round;
    }
}

TEST(Scaling, LoadIsLinear) {
    for (const PageKind& kind : kPages) {
        const auto r = test::MeasureScaling(
            1u << 20, kind.make, [](std::string& text) {
                MetaFields f;
                LoadDocumentText(text, f, LoadOptions{});
            });
        EXPECT_LE(r.Ratio(), test::kMaxScaling) << kind.name << ": " << r.small << " s, then " << r.large << " s";
    }
}

TEST(Scaling, WriterIsLinear) {
    MetaFields f;
    f.Title = "Title";
    f.Author = "Author";
    f.Keywords = "a, b";
    const PageKind writerPages[] = {kPages[0], kPages[1], {"attribute texts", AttributeTextPage}};
    for (const PageKind& kind : writerPages) {
        const auto r = test::MeasureScaling(
            1u << 20, [&](std::size_t n) { return kind.make(n) + "</head>"; },
            [&](std::string& text) { WriteMetaBlock(text, f, MetaWriteOptions{}); });
        EXPECT_LE(r.Ratio(), test::kMaxScaling) << kind.name << ": " << r.small << " s, then " << r.large << " s";
    }
}
