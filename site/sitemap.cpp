#include "site/sitemap.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <set>

namespace veskaron::site {
namespace {

constexpr std::string_view kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr std::string_view kNamespace = "http://www.sitemaps.org/schemas/sitemap/0.9";

std::string UrlEntry(const SitemapUrl& u) {
    std::string s = "  <url>\n    <loc>" + XmlEscape(u.loc) + "</loc>\n";
    if (!u.lastmod.empty()) s += "    <lastmod>" + u.lastmod + "</lastmod>\n";
    return s + "  </url>\n";
}

std::string Open(std::string_view element) {
    return std::string(kHeader) + "<" + std::string(element) + " xmlns=\"" + std::string(kNamespace) + "\">\n";
}

// The entity references of XML and the character references.
std::string DecodeXml(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const std::size_t semi = s.find(';', i);
        if (semi == std::string_view::npos) {
            out += s[i];
            continue;
        }
        const std::string_view name = s.substr(i + 1, semi - i - 1);
        if (name == "amp") out += '&';
        else if (name == "lt") out += '<';
        else if (name == "gt") out += '>';
        else if (name == "quot") out += '"';
        else if (name == "apos") out += '\'';
        else if (name.starts_with("#")) {
            unsigned long code = 0;
            try {
                code = name.size() > 1 && (name[1] == 'x' || name[1] == 'X') ? std::stoul(std::string(name.substr(2)), nullptr, 16)
                                                                             : std::stoul(std::string(name.substr(1)));
            } catch (...) {
                code = 0xFFFD;
            }
            if (code < 0x80) out += static_cast<char>(code);
            else if (code < 0x800) out += {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
            else if (code < 0x10000)
                out += {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                        static_cast<char>(0x80 | (code & 0x3F))};
            else
                out += {static_cast<char>(0xF0 | (code >> 18)), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
                        static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
        } else {
            out.append(s.substr(i, semi - i + 1));
        }
        i = semi;
    }
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string W3cDateTime(long long nanoseconds) {
    const std::time_t seconds = static_cast<std::time_t>(nanoseconds / 1000000000LL);
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

std::string JoinAddress(std::string_view baseUrl, std::string_view path) {
    while (!baseUrl.empty() && baseUrl.back() == '/') baseUrl.remove_suffix(1);
    return std::string(baseUrl) + (path.starts_with("/") ? "" : "/") + std::string(path);
}

std::string XmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

std::vector<SitemapFile> BuildSitemaps(const std::vector<SitemapUrl>& urls, std::string_view baseUrl,
                                       const std::string& name, std::size_t maxUrls, std::size_t maxBytes) {
    const std::string head = Open("urlset");
    const std::string tail = "</urlset>\n";
    std::vector<SitemapFile> parts;
    std::string current = head;
    std::size_t inCurrent = 0;
    for (const SitemapUrl& u : urls) {
        const std::string entry = UrlEntry(u);
        if (inCurrent > 0 && (inCurrent == maxUrls || current.size() + entry.size() + tail.size() > maxBytes)) {
            parts.push_back({{}, current + tail});
            current = head;
            inCurrent = 0;
        }
        current += entry;
        ++inCurrent;
    }
    parts.push_back({{}, current + tail});
    if (parts.size() == 1) {
        parts.front().name = name;
        return parts;
    }
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    std::string index = Open("sitemapindex");
    for (std::size_t i = 0; i < parts.size(); ++i) {
        parts[i].name = stem + "-" + std::to_string(i + 1) + ext;
        index += "  <sitemap>\n    <loc>" + XmlEscape(JoinAddress(baseUrl, "/" + parts[i].name)) + "</loc>\n  </sitemap>\n";
    }
    index += "</sitemapindex>\n";
    parts.push_back({name, std::move(index)});
    return parts;
}

SitemapRead ReadSitemap(std::string_view xml) {
    SitemapRead r;
    std::vector<std::string> open;  // element names
    std::size_t line = 1, lineAt = 0;
    auto lineOf = [&](std::size_t pos) {
        for (; lineAt < pos && lineAt < xml.size(); ++lineAt)
            if (xml[lineAt] == '\n') ++line;
        return line;
    };
    auto fail = [&](std::size_t pos, const std::string& why) {
        r.error = "line " + std::to_string(lineOf(pos)) + ": " + why;
        r.locs.clear();
        return r;
    };
    std::string text;
    bool root = false;
    if (xml.starts_with("\xEF\xBB\xBF")) xml.remove_prefix(3);
    for (std::size_t i = 0; i < xml.size();) {
        if (xml[i] != '<') {
            const std::size_t next = xml.find('<', i);
            const std::size_t end = next == std::string_view::npos ? xml.size() : next;
            if (open.empty() && !Trim(xml.substr(i, end - i)).empty()) return fail(i, "text outside the root element");
            text.append(xml.substr(i, end - i));
            i = end;
            continue;
        }
        if (xml.substr(i, 4) == "<!--") {
            const std::size_t end = xml.find("-->", i + 4);
            if (end == std::string_view::npos) return fail(i, "a comment is not closed");
            i = end + 3;
            continue;
        }
        if (xml.substr(i, 9) == "<![CDATA[") {
            const std::size_t end = xml.find("]]>", i + 9);
            if (end == std::string_view::npos) return fail(i, "a CDATA section is not closed");
            text.append(xml.substr(i + 9, end - i - 9));
            i = end + 3;
            continue;
        }
        if (xml.substr(i, 2) == "<?" || xml.substr(i, 2) == "<!") {
            const std::size_t end = xml.find('>', i);
            if (end == std::string_view::npos) return fail(i, "a declaration is not closed");
            i = end + 1;
            continue;
        }
        const std::size_t gt = xml.find('>', i);
        if (gt == std::string_view::npos) return fail(i, "a tag is not closed");
        std::string_view tag = xml.substr(i + 1, gt - i - 1);
        const bool closing = tag.starts_with("/");
        const bool empty = tag.ends_with("/");
        if (closing) tag.remove_prefix(1);
        if (empty) tag.remove_suffix(1);
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && static_cast<unsigned char>(tag[nameEnd]) > ' ') ++nameEnd;
        std::string name(tag.substr(0, nameEnd));
        if (const auto colon = name.find(':'); colon != std::string::npos) name.erase(0, colon + 1);
        if (name.empty()) return fail(i, "a tag without a name");
        if (closing) {
            if (open.empty() || open.back() != name)
                return fail(i, "</" + name + "> closes " + (open.empty() ? std::string("nothing") : "<" + open.back() + ">"));
            if (name == "loc") r.locs.push_back(DecodeXml(Trim(text)));
            open.pop_back();
        } else {
            if (open.empty()) {
                if (root) return fail(i, "a second root element");
                root = true;
                if (name == "sitemapindex") r.index = true;
                else if (name != "urlset") return fail(i, "the root is <" + name + ">, not <urlset> or <sitemapindex>");
            }
            if (!empty) open.push_back(name);
        }
        text.clear();
        i = gt + 1;
    }
    if (!open.empty()) return fail(xml.size(), "<" + open.back() + "> is not closed");
    if (!root) return fail(0, "no <urlset> or <sitemapindex>");
    r.ok = true;
    return r;
}

SitemapCheck CheckSitemap(const std::vector<std::string>& locs, const std::map<std::string, std::string>& pages) {
    SitemapCheck c;
    std::set<std::string> seen;
    for (const std::string& loc : locs) {
        if (!seen.insert(loc).second) {
            c.duplicated.push_back(loc);
            continue;
        }
        const auto it = pages.find(loc);
        if (it == pages.end()) c.missing.push_back(loc);
        else if (!it->second.empty()) c.notIndexable.emplace_back(loc, it->second);
    }
    for (const auto& [loc, reason] : pages)
        if (reason.empty() && !seen.count(loc)) c.leftOut.push_back(loc);
    return c;
}

}  // namespace veskaron::site
