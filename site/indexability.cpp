#include "site/indexability.h"

#include <filesystem>
#include <unordered_map>
#include <vector>

#include "engine/cp1251.h"
#include "engine/file_io.h"
#include "engine/modern_head.h"

namespace veskaron::site {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

// "https://Example.com:443/x" -> "example.com:443"; empty without a host.
std::string HostOf(std::string_view address) {
    std::size_t from = address.find("://");
    if (from != std::string_view::npos) from += 3;
    else if (address.starts_with("//")) from = 2;
    else return {};
    const std::size_t end = address.find_first_of("/?#", from);
    return LowerAscii(address.substr(from, end == std::string_view::npos ? address.size() - from : end - from));
}

// An address path with "." and ".." taken out and an index page named as its folder.
std::string Tidy(std::string_view path) {
    const std::size_t q = path.find('?');
    const std::string_view query = q == std::string_view::npos ? std::string_view() : path.substr(q);
    path = path.substr(0, q);
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t slash = path.find('/', from);
        if (slash == std::string_view::npos) slash = path.size();
        const std::string_view part = path.substr(from, slash - from);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (part != "." && !part.empty()) {
            parts.emplace_back(part);
        }
        from = slash + 1;
    }
    std::string out;
    for (const std::string& p : parts) out += "/" + p;
    if (path.ends_with("/") || path.ends_with("/.") || path.ends_with("/..") || out.empty()) out += "/";
    const std::size_t last = out.rfind('/');
    const std::string name = LowerAscii(std::string_view(out).substr(last + 1));
    if (name == "index.html" || name == "index.htm") out.resize(last + 1);
    return NormaliseRobotsPath(out + std::string(query));
}

}  // namespace

SiteIndexing LoadSiteIndexing(const std::string& root, const std::string& baseUrl, Robot robot,
                              std::string* error) {
    SiteIndexing site;
    site.root = root;
    site.baseUrl = baseUrl;
    site.robot = robot;
    const std::string path = (root.empty() ? std::string(".") : root) + "/robots.txt";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return site;
    const FileRead file = ReadWholeFile(path);
    if (!file.ok) {
        if (error) *error = file.error;
        return site;
    }
    site.robotsTxt = RobotsTxt::Parse(file.bytes);
    return site;
}

std::string_view IndexReasonCode(IndexReason reason) {
    switch (reason) {
        case IndexReason::Disallowed: return "disallowed";
        case IndexReason::Noindex: return "noindex";
        case IndexReason::CanonicalElsewhere: return "canonical-elsewhere";
        case IndexReason::Redirect: return "redirect";
        default: return "";
    }
}

std::string CanonicalPath(std::string_view canonical, std::string_view pagePath, std::string_view baseUrl,
                          bool& otherHost) {
    otherHost = false;
    std::string_view c = Trim(canonical);
    c = c.substr(0, c.find('#'));
    const std::string host = HostOf(c);
    std::string path;
    if (!host.empty()) {
        const std::string base = HostOf(baseUrl);
        if (!base.empty() && base != host) {
            otherHost = true;
            return {};
        }
        const std::size_t from = c.find_first_of("/?", c.find("//") + 2 + host.size());
        path = from == std::string_view::npos ? std::string("/") : std::string(c.substr(from));
        if (path.starts_with("?")) path.insert(0, "/");
    } else if (c.starts_with("/")) {
        path = std::string(c);
    } else {
        const std::size_t slash = pagePath.rfind('/');
        path = std::string(pagePath.substr(0, slash == std::string_view::npos ? 0 : slash + 1)) + std::string(c);
    }
    return Tidy(path);
}

std::string SiteRootOf(const std::string& page) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path own = fs::absolute(fs::path(page), ec).parent_path();
    fs::path folder = own;
    for (int up = 0; up < 32 && !folder.empty(); ++up) {
        if (fs::is_regular_file(folder / "robots.txt", ec)) return folder.string();
        if (folder == folder.root_path()) break;
        folder = folder.parent_path();
    }
    return own.string();
}

Indexability JudgeIndexability(const Document& doc, const std::string& file, const SiteIndexing& site,
                               const std::string* robotsWords) {
    Indexability v;
    v.urlPath = PagePathUnder(site.root.empty() ? std::string(".") : site.root, file);
    v.directives = TagDirectives(doc.robotsTags, site.robot, robotsWords == nullptr);
    if (robotsWords) AddDirectives(v.directives, *robotsWords, "robots");
    const TextCodec& codec = *doc.codec;
    bool disallowed = false;
    if (site.robotsTxt && !v.urlPath.empty()) {
        const RobotsTxtVerdict r = site.robotsTxt->Decide(site.robot, v.urlPath);
        if (!r.allowed) {
            disallowed = true;
            v.disallowRule = "robots.txt:" + std::to_string(r.line) + ": " + r.rule;
        }
    }
    // The load read the head's other tags already.
    const std::string canonical = codec.ToUtf8(doc.modern[kCanonical]);
    bool otherHost = false;
    const std::string target =
        Trim(canonical).empty() || v.urlPath.empty() ? std::string() : CanonicalPath(canonical, v.urlPath, site.baseUrl, otherHost);
    const bool elsewhere = otherHost || (!target.empty() && target != Tidy(v.urlPath));
    if (!otherHost && elsewhere) v.canonicalPath = target;
    const bool redirect = doc.fields.RefreshOn && doc.fields.RefreshSeconds == 0 && !Trim(doc.fields.RefreshUrl).empty();
    v.disallowedNoindex = disallowed && v.directives.noindex;
    if (disallowed) {
        v.reason = IndexReason::Disallowed;
        v.detail = v.disallowRule;
    } else if (v.directives.noindex) {
        v.reason = IndexReason::Noindex;
        v.detail = codec.ToUtf8(v.directives.noindexTag);
    } else if (elsewhere) {
        v.reason = IndexReason::CanonicalElsewhere;
        v.detail = std::string(Trim(canonical));
    } else if (redirect) {
        v.reason = IndexReason::Redirect;
        v.detail = codec.ToUtf8(Trim(doc.fields.RefreshUrl));
    }
    v.indexable = v.reason == IndexReason::None;
    return v;
}

void AddIndexabilityFindings(std::vector<Finding>& findings, const Indexability& v) {
    if (v.disallowedNoindex) {
        findings.push_back({Level::Warning, "disallowed-noindex",
                            "Страница закрыта в robots.txt (" + v.disallowRule +
                                "), поэтому робот не прочтёт её noindex: она может попасть в поиск без описания"});
    } else if (v.reason == IndexReason::Disallowed) {
        findings.push_back({Level::Info, "disallowed", "Страница закрыта от обхода в " + v.disallowRule});
    }
    if (v.directives.noindex && !v.directives.noindexTag.starts_with("robots:"))
        findings.push_back({Level::Info, "noindex", "Страница закрыта от индексации: " + v.directives.noindexTag});
    for (const std::string& word : v.directives.unknown)
        findings.push_back({Level::Warning, "unknown-robots-word",
                            "Роботы не знают слова «" + word + "» в теге robots: оно ничего не запрещает"});
}

void AddCanonicalToNoindexFindings(std::vector<std::vector<Finding>*> findings,
                                   const std::vector<const Indexability*>& verdicts) {
    std::unordered_map<std::string, const Indexability*> byPath;
    for (const Indexability* v : verdicts)
        if (v && !v->urlPath.empty()) byPath.emplace(Tidy(v->urlPath), v);
    for (std::size_t i = 0; i < verdicts.size() && i < findings.size(); ++i) {
        const Indexability* v = verdicts[i];
        if (!v || v->canonicalPath.empty() || !findings[i]) continue;
        const auto it = byPath.find(v->canonicalPath);
        if (it == byPath.end() || !it->second->directives.noindex) continue;
        findings[i]->push_back({Level::Warning, "canonical-to-noindex",
                                "Канонический адрес ведёт на страницу, закрытую от индексации: " + v->canonicalPath});
    }
}

std::vector<Finding> RobotsTxtFindings(const SiteIndexing& site) {
    std::vector<Finding> out;
    if (!site.robotsTxt) return out;
    for (const RobotsTxtProblem& p : site.robotsTxt->Problems())
        out.push_back({Level::Warning, "robots-txt-line",
                       (p.line > 0 ? "robots.txt, строка " + std::to_string(p.line) + ": " : std::string("robots.txt: ")) +
                           p.message + (p.text.empty() ? std::string() : " (" + p.text + ")")});
    return out;
}

}  // namespace veskaron::site
