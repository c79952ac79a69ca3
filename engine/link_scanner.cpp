#include "engine/link_scanner.h"

#include <cstring>

#include "engine/cp1251.h"
#include "engine/robots_directives.h"
#include "engine/text_codec.h"

namespace veskaron {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAlnum(char c) { return IsAlpha(c) || (c >= '0' && c <= '9'); }

bool EqualsNoCase(std::string_view s, std::string_view lower) {
    if (s.size() != lower.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (LowerAsciiChar(s[i]) != lower[i]) return false;
    return true;
}

// Line breaks as the editor counts them: CR LF, a lone CR, a lone LF.
class LineCounter {
public:
    explicit LineCounter(std::string_view text) : text_(text) {}
    std::uint32_t At(std::size_t pos) {
        const char* p = text_.data();
        std::uint32_t add = 0;
        for (std::size_t i = pos_; i < pos; ++i)
            add += (p[i] == '\n') | ((p[i] == '\r') & (i + 1 >= text_.size() || p[i + 1] != '\n'));
        line_ += add;
        pos_ = pos;
        return line_;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::uint32_t line_ = 1;
};

struct Attribute {
    std::string_view name;  // as written; compared without case
    std::string_view value;
};

const Attribute* Find(const std::vector<Attribute>& attributes, std::string_view lowerName) {
    for (const Attribute& a : attributes)
        if (EqualsNoCase(a.name, lowerName)) return &a;  // the first of a repeated name holds
    return nullptr;
}

// Reads a tag's attributes from `j` (just past its name) to its '>' as the
// tokenizer does; the position after the '>', or npos when the text ends
// inside the tag (which then is no tag at all).
std::size_t ReadAttributes(std::string_view text, std::size_t j, std::vector<Attribute>& out) {
    out.clear();
    const std::size_t n = text.size();
    while (true) {
        while (j < n && (IsSpace(text[j]) || text[j] == '/')) ++j;
        if (j >= n) return std::string_view::npos;
        if (text[j] == '>') return j + 1;
        const std::size_t nameAt = j++;
        while (j < n && !IsSpace(text[j]) && text[j] != '/' && text[j] != '>' && text[j] != '=') ++j;
        Attribute a{text.substr(nameAt, j - nameAt), {}};
        std::size_t k = j;
        while (k < n && IsSpace(text[k])) ++k;
        if (k < n && text[k] == '=') {
            ++k;
            while (k < n && IsSpace(text[k])) ++k;
            if (k >= n) return std::string_view::npos;
            if (text[k] == '"' || text[k] == '\'') {
                const std::size_t close = text.find(text[k], k + 1);
                if (close == std::string_view::npos) return std::string_view::npos;
                a.value = text.substr(k + 1, close - k - 1);
                j = close + 1;
            } else {
                std::size_t e = k;
                while (e < n && !IsSpace(text[e]) && text[e] != '>') ++e;
                a.value = text.substr(k, e - k);
                j = e;
            }
        } else {
            j = k;
        }
        // No real tag has this many; what follows is text that lost a quote.
        if (out.size() < 256) out.push_back(a);
    }
}

void AppendCodePoint(std::string& out, char32_t cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    AppendUtf8(out, cp);
}

// The character references a URL holds in practice; any other stays as written.
void DecodeReferences(std::string_view s, std::string& out) {
    static constexpr std::pair<std::string_view, char32_t> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t amp = s.find('&', i);
        out.append(s.substr(i, amp == std::string_view::npos ? s.size() - i : amp - i));
        if (amp == std::string_view::npos) return;
        i = amp + 1;
        if (i < s.size() && s[i] == '#') {
            const bool hex = i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X');
            std::size_t k = i + 1 + (hex ? 1 : 0);
            char32_t cp = 0;
            const std::size_t digitsAt = k;
            for (; k < s.size(); ++k) {
                const char c = s[k];
                int d = c >= '0' && c <= '9' ? c - '0' : -1;
                if (hex && d < 0 && IsAlpha(c) && LowerAsciiChar(c) <= 'f') d = LowerAsciiChar(c) - 'a' + 10;
                if (d < 0) break;
                cp = cp > 0x10FFFF ? cp : cp * (hex ? 16 : 10) + static_cast<char32_t>(d);
            }
            if (k == digitsAt) {
                out += '&';
                continue;
            }
            AppendCodePoint(out, cp);
            i = k < s.size() && s[k] == ';' ? k + 1 : k;
            continue;
        }
        bool done = false;
        for (const auto& [name, cp] : kNamed) {
            if (s.substr(i, name.size()) != name) continue;
            const std::size_t end = i + name.size();
            const bool semicolon = end < s.size() && s[end] == ';';
            // In an attribute a reference without ';' before a letter or '=' is text ("&ampx=1").
            if (!semicolon && (name == "apos" || (end < s.size() && (IsAlnum(s[end]) || s[end] == '=')))) break;
            AppendCodePoint(out, cp);
            i = end + (semicolon ? 1 : 0);
            done = true;
            break;
        }
        if (!done) out += '&';
    }
}

// The elements the scan tells apart; named once per tag, so that the rest
// compares small numbers, not names.
enum class Tag : std::uint8_t { Other, A, Area, Link, Img, Script, Iframe, Source, Embed, Base, Meta, Template, Plaintext, RawText };

Tag Classify(std::string_view n) {
    if (n.empty()) return Tag::Other;
    switch (n.size()) {
        case 1: return n[0] == 'a' ? Tag::A : Tag::Other;
        case 3: return n == "img" ? Tag::Img : n == "xmp" ? Tag::RawText : Tag::Other;
        case 4:
            switch (n[0]) {
                case 'a': return n == "area" ? Tag::Area : Tag::Other;
                case 'l': return n == "link" ? Tag::Link : Tag::Other;
                case 'b': return n == "base" ? Tag::Base : Tag::Other;
                case 'm': return n == "meta" ? Tag::Meta : Tag::Other;
                default: return Tag::Other;
            }
        case 5: return n == "embed" ? Tag::Embed : (n == "style" || n == "title") ? Tag::RawText : Tag::Other;
        case 6: return n == "script" ? Tag::Script : n == "iframe" ? Tag::Iframe : n == "source" ? Tag::Source : Tag::Other;
        case 7: return n == "noembed" ? Tag::RawText : Tag::Other;
        case 8: return n == "template" ? Tag::Template : (n == "textarea" || n == "noframes") ? Tag::RawText : Tag::Other;
        case 9: return n == "plaintext" ? Tag::Plaintext : Tag::Other;
        default: return Tag::Other;
    }
}

// Elements whose content is text up to their end tag: a '<' there starts nothing.
bool IsRawText(Tag tag) { return tag == Tag::RawText || tag == Tag::Script || tag == Tag::Iframe; }

// The '<' of the end tag "</name" (followed by a blank, '/' or '>') at or after `from`.
std::size_t RawTextEnd(std::string_view text, std::size_t from, std::string_view lowerName) {
    const std::size_t n = text.size();
    while (true) {
        const void* hit = from < n ? std::memchr(text.data() + from, '<', n - from) : nullptr;
        if (!hit) return n;
        const std::size_t lt = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        const std::size_t after = lt + 2 + lowerName.size();
        if (lt + 1 < n && text[lt + 1] == '/' && after <= n && EqualsNoCase(text.substr(lt + 2, lowerName.size()), lowerName) &&
            (after == n || IsSpace(text[after]) || text[after] == '/' || text[after] == '>'))
            return lt;
        from = lt + 1;
    }
}

class Scanner {
public:
    Scanner(std::string_view text, const TextCodec* codec, LinkScan& out)
        : text_(text), codec_(codec), out_(out), lines_(text) {}

    void Run() {
        const std::size_t n = text_.size();
        out_.links.reserve(n / 256);  // about a link in every few lines of a page
        std::size_t pos = 0;
        while (pos < n) {
            const void* hit = std::memchr(text_.data() + pos, '<', n - pos);
            if (!hit) break;
            const std::size_t lt = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
            pos = Markup(lt);
        }
        out_.lines = lines_.At(n);
    }

private:
    std::size_t After(char c, std::size_t from) const {
        const std::size_t at = text_.find(c, from);
        return at == std::string_view::npos ? text_.size() : at + 1;
    }

    // Reads the markup at a '<'; returns where the text goes on.
    std::size_t Markup(std::size_t lt) {
        const std::size_t n = text_.size();
        const std::size_t i = lt + 1;
        if (i >= n) return n;
        const char c = text_[i];
        if (c == '!') {
            if (text_.substr(i, 3) != "!--") return After('>', i);
            const std::size_t body = lt + 4;
            if (body < n && text_[body] == '>') return body + 1;  // "<!-->"
            if (text_.substr(body, 2) == "->") return body + 2;   // "<!--->"
            for (std::size_t d = text_.find("--", body); d != std::string_view::npos; d = text_.find("--", d + 1)) {
                if (d + 2 < n && text_[d + 2] == '>') return d + 3;
                if (text_.substr(d + 2, 2) == "!>") return d + 4;
            }
            return n;
        }
        if (c == '?') return After('>', i);
        if (c == '/') {
            if (i + 1 >= n) return n;
            if (text_[i + 1] == '>') return i + 2;
            if (!IsAlpha(text_[i + 1])) return After('>', i);
            std::size_t e = i + 1;
            while (e < n && !IsSpace(text_[e]) && text_[e] != '/' && text_[e] != '>') ++e;
            const std::size_t end = ReadAttributes(text_, e, attributes_);
            if (end == std::string_view::npos) return n;
            if (templates_ > 0 && EqualsNoCase(text_.substr(i + 1, e - i - 1), "template")) --templates_;
            return end;
        }
        if (!IsAlpha(c)) return i;
        std::size_t e = i;
        while (e < n && !IsSpace(text_[e]) && text_[e] != '/' && text_[e] != '>') ++e;
        const std::string_view rawName = text_.substr(i, e - i);
        if (rawName.size() > 16) return SkipTag(e);
        char lower[16];
        for (std::size_t k = 0; k < rawName.size(); ++k) lower[k] = LowerAsciiChar(rawName[k]);
        const std::string_view name(lower, rawName.size());
        const std::size_t end = ReadAttributes(text_, e, attributes_);
        if (end == std::string_view::npos) return n;
        const Tag tag = Classify(name);
        if (tag == Tag::Template) ++templates_;
        else if (templates_ == 0) Element(tag, lines_.At(lt));
        if (tag == Tag::Plaintext) return n;
        return IsRawText(tag) ? RawTextEnd(text_, end, name) : end;
    }

    std::size_t SkipTag(std::size_t e) {
        const std::size_t end = ReadAttributes(text_, e, attributes_);
        if (end == std::string_view::npos) return text_.size();
        if (templates_ == 0)
            if (const Attribute* id = Find(attributes_, "id")) AddTarget(id->value);
        return end;
    }

    std::string Value(std::string_view raw) {
        std::string out;
        bool ascii = true;
        for (char ch : raw) ascii &= static_cast<unsigned char>(ch) < 0x80;
        if (ascii || !codec_) {
            DecodeReferences(raw, out);
        } else {
            DecodeReferences(codec_->ToUtf8(raw), out);
        }
        return out;
    }

    void AddTarget(std::string_view raw) {
        if (!raw.empty()) out_.targets.push_back(Value(raw));
    }

    ScannedLink& AddLink(LinkSource source, std::uint32_t line, std::string_view raw) {
        ScannedLink& l = out_.links.emplace_back();
        l.source = source;
        l.line = line;
        l.value = Value(raw);
        return l;
    }

    // "a.jpg 1x, b.jpg 480w": each address, up to its blank; descriptors skipped.
    void AddSrcset(std::uint32_t line, std::string_view raw) {
        const std::string all = Value(raw);
        const std::string_view s = all;
        std::size_t i = 0;
        while (i < s.size()) {
            while (i < s.size() && (IsSpace(s[i]) || s[i] == ',')) ++i;
            if (i >= s.size()) break;
            std::size_t e = i;
            while (e < s.size() && !IsSpace(s[e])) ++e;
            std::string_view url = s.substr(i, e - i);
            bool descriptors = true;
            if (url.ends_with(",")) {
                while (url.ends_with(",")) url.remove_suffix(1);
                descriptors = false;
            }
            ScannedLink& l = out_.links.emplace_back();
            l.source = LinkSource::Srcset;
            l.line = line;
            l.value = std::string(url);
            i = e;
            if (!descriptors) continue;
            int parens = 0;
            while (i < s.size() && (parens > 0 || s[i] != ',')) {
                parens += s[i] == '(' ? 1 : s[i] == ')' ? -1 : 0;
                ++i;
            }
        }
    }

    void Element(Tag tag, std::uint32_t line) {
        if (const Attribute* id = Find(attributes_, "id")) AddTarget(id->value);
        auto attr = [this](std::string_view lowerName) { return Find(attributes_, lowerName); };
        auto src = [&](LinkSource source) {
            if (const Attribute* a = attr("src")) AddLink(source, line, a->value);
        };
        if (tag == Tag::A) {
            if (const Attribute* a = attr("name")) AddTarget(a->value);
            if (const Attribute* a = attr("href")) AddLink(LinkSource::A, line, a->value);
        } else if (tag == Tag::Area) {
            if (const Attribute* a = attr("href")) AddLink(LinkSource::Area, line, a->value);
        } else if (tag == Tag::Link) {
            if (const Attribute* a = attr("href")) {
                ScannedLink& l = AddLink(LinkSource::Link, line, a->value);
                if (const Attribute* rel = attr("rel")) l.rel = LowerAscii(rel->value);
                if (const Attribute* lang = attr("hreflang")) l.hreflang = Value(lang->value);
            }
        } else if (tag == Tag::Img) {
            ScannedImage image;
            image.line = line;
            image.link = UINT32_MAX;
            if (const Attribute* a = attr("src")) {
                image.link = static_cast<std::uint32_t>(out_.links.size());
                AddLink(LinkSource::Img, line, a->value);
            }
            if (const Attribute* a = attr("srcset")) AddSrcset(line, a->value);
            image.hasAlt = attr("alt") != nullptr;
            if (const Attribute* a = attr("width")) image.width = std::string(a->value);
            if (const Attribute* a = attr("height")) image.height = std::string(a->value);
            out_.images.push_back(std::move(image));
        } else if (tag == Tag::Script) {
            src(LinkSource::Script);
        } else if (tag == Tag::Iframe) {
            src(LinkSource::Iframe);
        } else if (tag == Tag::Source) {
            src(LinkSource::Source);
            if (const Attribute* a = attr("srcset")) AddSrcset(line, a->value);
        } else if (tag == Tag::Embed) {
            src(LinkSource::Embed);
        } else if (tag == Tag::Base) {
            const Attribute* a = attr("href");
            if (a && !out_.hasBase) {
                out_.hasBase = true;
                out_.base = Value(a->value);
            }
        } else if (tag == Tag::Meta) {
            const Attribute* content = attr("content");
            if (!content) return;
            if (const Attribute* equiv = attr("http-equiv"); equiv && EqualsNoCase(equiv->value, "refresh")) {
                const std::string decoded = Value(content->value);
                const std::string_view address = RefreshAddress(decoded);
                if (!address.empty()) {
                    ScannedLink& l = out_.links.emplace_back();
                    l.source = LinkSource::Refresh;
                    l.line = line;
                    l.value = std::string(address);
                }
            } else if (const Attribute* meta = attr("name"); meta && IsRobotsTagName(LowerAscii(meta->value))) {
                out_.robots.emplace_back(LowerAscii(meta->value), Value(content->value));
            }
        }
    }

    std::string_view text_;
    const TextCodec* codec_;
    LinkScan& out_;
    LineCounter lines_;
    std::vector<Attribute> attributes_;
    int templates_ = 0;
};

std::string_view TrimUrl(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

// The scheme of an absolute address, lower case ("https"); empty for a relative one.
std::string SchemeOf(std::string_view url) {
    if (url.empty() || !IsAlpha(url[0])) return {};
    for (std::size_t i = 1; i < url.size(); ++i) {
        const char c = url[i];
        if (c == ':') return LowerAscii(url.substr(0, i));
        if (!IsAlnum(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return {};
}

// "/a/./b/../c" -> "/a/c"; a trailing "." or ".." keeps the folder's '/'.
std::string RemoveDotSegments(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    std::size_t from = 0;
    while (from < path.size()) {
        std::size_t slash = path.find('/', from);
        const bool last = slash == std::string_view::npos;
        if (last) slash = path.size();
        const std::string_view part = path.substr(from, slash - from);
        if (part == "..") {
            if (!out.empty()) out.resize(out.rfind('/') == std::string::npos ? 0 : out.rfind('/'));
            if (last) out += '/';
        } else if (part == ".") {
            if (last) out += '/';
        } else if (from > 0 || !part.empty()) {
            out += '/';
            out += part;
        }
        from = slash + 1;
    }
    if (path.ends_with("/") && !out.ends_with("/")) out += '/';
    if (out.empty() || out[0] != '/') out.insert(out.begin(), '/');
    return out;
}

// Splits "path?query#fragment" into `a`; the path part is returned.
std::string_view SplitInto(std::string_view rest, LinkAddress& a) {
    const std::size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        a.hasFragment = true;
        a.fragment = PercentDecode(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    const std::size_t q = rest.find('?');
    if (q != std::string_view::npos) {
        a.query = std::string(rest.substr(q + 1));
        rest = rest.substr(0, q);
    }
    return rest;
}

}  // namespace

std::string_view LinkSourceName(LinkSource source) {
    static constexpr std::string_view kNames[] = {"a",      "area",   "link",  "img",    "script",
                                                  "iframe", "source", "embed", "srcset", "refresh"};
    return kNames[static_cast<int>(source)];
}

void ScanLinks(std::string_view text, const TextCodec* codec, LinkScan& out) {
    out = LinkScan{};
    Scanner(text, codec, out).Run();
}

std::string_view RefreshAddress(std::string_view content) {
    std::size_t i = 0;
    while (i < content.size() && content[i] != ';' && content[i] != ',') ++i;
    if (i >= content.size()) return {};
    ++i;
    while (i < content.size() && IsSpace(content[i])) ++i;
    if (content.size() - i >= 3 && EqualsNoCase(content.substr(i, 3), "url")) {
        std::size_t k = i + 3;
        while (k < content.size() && IsSpace(content[k])) ++k;
        if (k < content.size() && content[k] == '=') {
            i = k + 1;
            while (i < content.size() && IsSpace(content[i])) ++i;
        }
    }
    std::string_view address = content.substr(i);
    if (!address.empty() && (address[0] == '"' || address[0] == '\'')) {
        const std::size_t close = address.find(address[0], 1);
        address = address.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    }
    return TrimUrl(address);
}

std::string UrlHost(std::string_view url) {
    url = TrimUrl(url);
    std::size_t from = url.find("://");
    if (from != std::string_view::npos) from += 3;
    else if (url.starts_with("//")) from = 2;
    else return {};
    std::size_t end = url.find_first_of("/?#\\", from);
    if (end == std::string_view::npos) end = url.size();
    std::string_view host = url.substr(from, end - from);
    if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
    std::string lower = LowerAscii(host);
    // The default ports name the same site.
    if (lower.ends_with(":80") || lower.ends_with(":443")) lower.resize(lower.rfind(':'));
    return lower;
}

std::string PercentDecode(std::string_view text) {
    if (text.find('%') == std::string_view::npos) return std::string(text);
    auto hex = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() + 0 && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            const char c = static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            if (c != '/') {
                out += c;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

LinkBase MakeLinkBase(std::string_view pagePath, std::string_view baseHref, std::string_view siteUrl) {
    LinkBase b;
    b.siteHost = UrlHost(siteUrl);
    b.path = std::string(pagePath.empty() ? std::string_view("/") : pagePath);
    if (TrimUrl(baseHref).empty()) return b;
    const LinkAddress a = ResolveLink(baseHref, b);
    if (a.kind == LinkAddress::Kind::Internal) {
        b.path = a.path;
    } else if (a.kind == LinkAddress::Kind::External) {
        std::string_view url = a.url;
        url = url.substr(0, url.find_first_of("?#"));
        b.external = std::string(url);
    }
    return b;
}

LinkAddress ResolveLink(std::string_view href, const LinkBase& base) {
    LinkAddress a;
    // Tabs and line breaks inside an address are dropped, a backslash is a slash.
    std::string cleaned;
    std::string_view h = TrimUrl(href);
    if (h.find_first_of("\t\n\r\\") != std::string_view::npos) {
        for (char c : h)
            if (c != '\t' && c != '\n' && c != '\r') cleaned += c == '\\' ? '/' : c;
        h = cleaned;
    }
    if (h.empty()) {
        // An empty address is the page itself.
        a.kind = LinkAddress::Kind::Internal;
        a.path = base.external.empty() ? base.path : std::string();
        if (!base.external.empty()) {
            a.kind = LinkAddress::Kind::External;
            a.url = base.external;
        }
        return a;
    }
    const std::string scheme = SchemeOf(h);
    std::string rest;
    if (!scheme.empty() || h.starts_with("//")) {
        if (!scheme.empty() && scheme != "http" && scheme != "https") {
            a.kind = LinkAddress::Kind::Other;
            a.url = std::string(h);
            return a;
        }
        const std::string host = UrlHost(h);
        if (base.siteHost.empty() || host != base.siteHost) {
            a.kind = LinkAddress::Kind::External;
            a.url = std::string(h);
            return a;
        }
        const std::size_t from = h.find("//") + 2;
        const std::size_t pathAt = h.find_first_of("/?#", from);
        rest = pathAt == std::string_view::npos ? std::string("/") : std::string(h.substr(pathAt));
        if (!rest.starts_with("/")) rest.insert(rest.begin(), '/');
    } else if (!base.external.empty()) {
        // A base on another host takes every relative address there.
        a.kind = LinkAddress::Kind::External;
        a.url = h.starts_with("/") ? base.external.substr(0, base.external.find('/', base.external.find("//") + 2)) + std::string(h)
                                   : base.external.substr(0, base.external.rfind('/') + 1) + std::string(h);
        return a;
    } else if (!h.starts_with("/")) {
        // "?q" and "#f" keep the page's whole path, anything else its folder.
        const std::size_t keep = h.starts_with("?") || h.starts_with("#") ? base.path.size() : base.path.rfind('/') + 1;
        rest.reserve(keep + h.size());
        rest.append(base.path, 0, keep);
        rest.append(h);
    }
    a.kind = LinkAddress::Kind::Internal;
    const std::string_view path = SplitInto(rest.empty() ? h : std::string_view(rest), a);
    a.path = path.find('%') == std::string_view::npos ? RemoveDotSegments(path) : RemoveDotSegments(PercentDecode(path));
    return a;
}

}  // namespace veskaron
