#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/link_scanner.h"
#include "engine/text_codec.h"
#include "tests/scaling_guard.h"

using namespace veskaron;

namespace {

// "source line value" of every link, joined by " | ".
std::string Links(std::string_view page, const TextCodec* codec = nullptr) {
    LinkScan scan;
    ScanLinks(page, codec, scan);
    std::string out;
    for (const ScannedLink& l : scan.links) {
        if (!out.empty()) out += " | ";
        out += std::string(LinkSourceName(l.source)) + " " + std::to_string(l.line) + " " + l.value;
    }
    return out;
}

}  // namespace

TEST(LinkScanner, WhatCountsAsALink) {
    struct Case { const char* page; const char* links; };
    const Case cases[] = {
        {"<a href=a.html>x</a><A HREF='b.html'>", "a 1 a.html | a 1 b.html"},
        {"<p>\r\n<a\r\nhref=\"a.html\">\r\n<img src=i.png srcset=\"s1.png 1x, s2.png 2x\">", "a 2 a.html | img 4 i.png | srcset 4 s1.png | srcset 4 s2.png"},
        {"<area href=m.html><link rel=stylesheet href=s.css><script src=j.js></script><iframe src=f.html></iframe>",
         "area 1 m.html | link 1 s.css | script 1 j.js | iframe 1 f.html"},
        {"<source src=v.mp4 srcset='a.webp 1x,b.webp 2x'><embed src=e.swf>", "source 1 v.mp4 | srcset 1 a.webp | srcset 1 b.webp | embed 1 e.swf"},
        {"<meta http-equiv=\"Refresh\" content=\"0; URL='n.html'\">", "refresh 1 n.html"},
        // Nothing inside comments, raw text or a template.
        {"<!-- <a href=c.html> --><a href=d.html>", "a 1 d.html"},
        {"<!--><a href=d.html>", "a 1 d.html"},
        {"<script>document.write('<a href=s.html>')</script ><a href=t.html>", "a 1 t.html"},
        {"<style>a{}</style><title><a href=x></title><textarea><img src=y></textarea><a href=z>", "a 1 z"},
        {"<template><a href=t.html><template></template><img src=u></template><a href=v>", "a 1 v"},
        // The first of a repeated attribute holds; references are decoded.
        {"<a href=one.html href=two.html>", "a 1 one.html"},
        {"<a href=\"p.php?a=1&amp;b=2&copy=3\">", "a 1 p.php?a=1&b=2&copy=3"},
        {"<a href='&#x2F;r&#47;s'>", "a 1 /r/s"},
        // A tag the text ends inside is no tag; a '<' not before a letter is text.
        {"a < b <a href=q.html> <a href=\"open", "a 1 q.html"},
        {"<a name=x href=>", "a 1 "},
    };
    for (const Case& c : cases) EXPECT_EQ(Links(c.page), c.links) << c.page;
}

TEST(LinkScanner, TargetsAndBase) {
    LinkScan scan;
    ScanLinks("<base href=/b/><base href=/c/><h2 id=top>a</h2><a name=old></a><!-- <p id=hidden> -->", nullptr, scan);
    EXPECT_EQ(scan.base, "/b/");  // the first base holds
    EXPECT_EQ(scan.targets, (std::vector<std::string>{"top", "old"}));
}

TEST(LinkScanner, PageCharsetAndLineEnds) {
    // "страница.html" in Windows-1251, and lines ended by CR LF, a lone CR and a lone LF.
    const std::string page = "<p>\r\n<p>\r<p>\n<a href=\"\xF1\xF2\xF0\xE0\xED\xE8\xF6\xE0.html\">";
    EXPECT_EQ(Links(page, Windows1251Codec().get()), "a 4 страница.html");
}

TEST(LinkScanner, Resolution) {
    struct Case { const char* page; const char* base; const char* href; const char* expected; };
    const Case cases[] = {
        {"/d/p.html", "", "a.html", "I /d/a.html"},
        {"/d/p.html", "", "../a.html?x=1#s", "I /a.html ?x=1 #s"},
        {"/d/p.html", "", "./sub/", "I /d/sub/"},
        {"/d/p.html", "", "#top", "I /d/p.html #top"},
        {"/d/p.html", "", "?q", "I /d/p.html ?q"},
        {"/d/p.html", "", "/%D1%8F%20b.html#%D1%8F", "I /я b.html #я"},
        {"/d/p.html", "", "a%2Fb.html", "I /d/a%2Fb.html"},
        {"/d/p.html", "", "https://Example.com:443/x/y.html", "I /x/y.html"},
        {"/d/p.html", "", "//example.com", "I /"},
        {"/d/p.html", "", "https://other.org/y.html", "E https://other.org/y.html"},
        {"/d/p.html", "", "mailto:a@b.c", "O mailto:a@b.c"},
        {"/d/p.html", "", " javascript:void(0) ", "O javascript:void(0)"},
        {"/d/p.html", "/x/", "a.html", "I /x/a.html"},
        {"/d/p.html", "https://example.com/y/z.html", "a.html", "I /y/a.html"},
        {"/d/p.html", "https://cdn.org/s/", "a.png", "E https://cdn.org/s/a.png"},
        {"/d/p.html", "https://cdn.org/s/", "/a.png", "E https://cdn.org/a.png"},
    };
    for (const Case& c : cases) {
        const LinkAddress a = ResolveLink(c.href, MakeLinkBase(c.page, c.base, "https://example.com"));
        std::string got = a.kind == LinkAddress::Kind::Internal ? "I " + a.path
                          : a.kind == LinkAddress::Kind::External ? "E " + a.url
                                                                   : "O " + a.url;
        if (!a.query.empty()) got += " ?" + a.query;
        if (a.hasFragment) got += " #" + a.fragment;
        EXPECT_EQ(got, c.expected) << c.href << " base " << c.base;
    }
    // Without the site's address every absolute address is another site's.
    EXPECT_EQ(ResolveLink("https://example.com/a", MakeLinkBase("/p.html", "", "")).kind, LinkAddress::Kind::External);
}

TEST(LinkScanner, LinearInUnclosedMarkup) {
    // Unclosed comments, quotes and raw text must not make the scan rescan the rest.
    for (const std::string unit : {"<!-- ", "<a href=\"", "<script>", "<a ", "<!--<a href=x>--", "&#"}) {
        auto make = [&](std::size_t bytes) {
            std::string page;
            while (page.size() < bytes) page += unit;
            return page;
        };
        auto scan = [](const std::string& page) { LinkScan s; ScanLinks(page, nullptr, s); };
        EXPECT_LE(test::MeasureScaling(200000, make, scan).Ratio(), test::kMaxScaling) << unit;
    }
}
