#pragma once
// The links of a page, read in one pass over its text as a browser's
// tokenizer would see them (not a tree): the addresses of a, area, link, img,
// script, iframe, source and embed, srcset candidates, the refresh address,
// the fragment targets (id, and name of a) and <base href>. Nothing inside
// comments, script or style text, other raw text or a template counts.
// Then the resolution of an address against the page's own.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veskaron {

class TextCodec;

enum class LinkSource : std::uint8_t { A, Area, Link, Img, Script, Iframe, Source, Embed, Srcset, Refresh };
// "a", "area", "link", "img", "script", "iframe", "source", "embed", "srcset", "refresh"
std::string_view LinkSourceName(LinkSource source);

struct ScannedLink {
    LinkSource source = LinkSource::A;
    std::uint32_t line = 1;  // of the tag's '<', from 1
    std::string value;       // UTF-8, character references decoded, not trimmed
    // Of a link element: rel lower case and hreflang as written.
    std::string rel, hreflang;
};

struct ScannedImage {
    std::uint32_t line = 1;
    std::uint32_t link = 0;  // its src in `links`, or UINT32_MAX without one
    bool hasAlt = false;
    std::string width, height;  // as written; empty when absent
};

struct LinkScan {
    std::vector<ScannedLink> links;  // in document order
    std::vector<std::string> targets;  // ids and names of a, UTF-8, in document order
    std::string base;                  // the first <base href>, UTF-8; empty without one
    bool hasBase = false;
    std::vector<ScannedImage> images;
    std::vector<std::pair<std::string, std::string>> robots;  // meta name (lower case), content
    std::uint32_t lines = 0;
};

// `codec` turns the page's bytes into UTF-8; null when they are UTF-8 already.
void ScanLinks(std::string_view text, const TextCodec* codec, LinkScan& out);

// The address in a refresh content ("0; url=a.html"), as written; empty without one.
std::string_view RefreshAddress(std::string_view content);

// Where a link leads, with the page served at `pagePath` ("/dir/a.html").
struct LinkAddress {
    enum class Kind : std::uint8_t { Internal, External, Other, Empty };
    Kind kind = Kind::Empty;
    std::string path;      // Internal: "/dir/b.html", percent-decoded, no dot segments
    std::string query;     // without '?'
    std::string fragment;  // without '#', percent-decoded
    bool hasFragment = false;
    std::string url;       // External and Other: the address, trimmed
};

// What relative addresses of a page are taken against: its path on the site,
// or the absolute address its <base> names on another host.
struct LinkBase {
    std::string path = "/";  // the page's (or its base's) path on the site
    std::string external;    // "https://other.host/dir/" when the base leaves the site
    std::string siteHost;    // lower case host (and port) of the site's address; empty if unknown
};
// `baseHref` empty: no <base>.
LinkBase MakeLinkBase(std::string_view pagePath, std::string_view baseHref, std::string_view siteUrl);
LinkAddress ResolveLink(std::string_view href, const LinkBase& base);

// "example.com:8080" of "https://Example.com:8080/x"; empty without a host.
std::string UrlHost(std::string_view url);
// Decodes %XX escapes; "%2F" stays, so that it never splits a path.
std::string PercentDecode(std::string_view text);

}  // namespace veskaron
