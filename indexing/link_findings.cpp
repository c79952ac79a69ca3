// The findings of the link graph, in the audit's words.
#include <algorithm>

#include "indexing/link_graph.h"

namespace veskaron::indexing {
namespace {

using site::Finding;
using site::Level;

// Hops followed before a chain is called long enough to stop.
constexpr std::size_t kMaxHops = 64;

std::string At(std::uint32_t line) { return "Строка " + std::to_string(line) + ": "; }

// The page a page's refresh leads to; kNoPage when none, or when it only reloads itself.
std::uint32_t RefreshNext(const LinkGraph& g, std::uint32_t page) {
    const LinkPage& p = g.pages[page];
    if (p.refresh == UINT32_MAX) return kNoPage;
    const std::uint32_t to = p.links[p.refresh].target;
    return to == page ? kNoPage : to;
}

bool Redirects(const LinkGraph& g, std::uint32_t page) {
    const LinkPage& p = g.pages[page];
    return p.refresh != UINT32_MAX && p.links[p.refresh].target != page;
}

std::string Chain(const LinkGraph& g, const std::vector<std::uint32_t>& pages, std::string_view last) {
    std::string s;
    for (std::uint32_t p : pages) s += g.pages[p].path + " → ";
    return s + std::string(last);
}

void AddRedirectFindings(const LinkGraph& g, std::uint32_t page, std::vector<Finding>& out) {
    if (!Redirects(g, page)) return;
    std::vector<std::uint32_t> seen{page};
    std::uint32_t at = page;
    while (seen.size() <= kMaxHops) {
        const std::uint32_t next = RefreshNext(g, at);
        if (next == kNoPage || !Redirects(g, next)) break;
        const auto again = std::find(seen.begin(), seen.end(), next);
        if (again != seen.end()) {
            // A loop is told once, on its first page; a page that only leads into one gets nothing more.
            if (again != seen.begin()) return;
            for (std::uint32_t p : seen)
                if (p < page) return;
            out.push_back({Level::Error, "redirect-loop",
                           "Перенаправления (refresh) замыкаются в круг: " + Chain(g, seen, g.pages[page].path)});
            return;
        }
        seen.push_back(next);
        at = next;
    }
    if (seen.size() < 2) return;
    const LinkPage& last = g.pages[seen.back()];
    out.push_back({Level::Warning, "redirect-chain",
                   "Цепочка из " + std::to_string(seen.size()) + " перенаправлений (refresh): " +
                       Chain(g, seen, last.Shown(last.links[last.refresh]))});
}

}  // namespace

std::vector<Finding> LinkGraph::Findings(std::uint32_t page) const {
    std::vector<Finding> out;
    const LinkPage& p = pages[page];
    if (!p.read) return out;
    for (const PageLink& l : p.links) {
        if (l.kind != LinkAddress::Kind::Internal) continue;
        const std::string shown = p.Shown(l);
        if (l.role == LinkRole::Canonical) {
            if (l.status == LinkStatus::Broken)
                out.push_back({Level::Error, "canonical-missing-target",
                               "Канонический адрес ведёт на несуществующую страницу: " + shown});
            continue;
        }
        if (l.role == LinkRole::Hreflang) {
            if (l.status == LinkStatus::Broken)
                out.push_back({Level::Error, "hreflang-missing-target",
                               At(l.line) + "альтернативная версия (hreflang) ведёт на несуществующую страницу: " + shown});
            continue;
        }
        switch (l.status) {
            case LinkStatus::Broken:
                out.push_back({Level::Error, "link-broken", At(l.line) + "ссылка ведёт на несуществующий файл: " + shown});
                break;
            case LinkStatus::AnchorMissing:
                out.push_back({Level::Warning, "anchor-missing",
                               At(l.line) + "на странице " + std::string(p.Target(l)) + " нет якоря «" +
                                   std::string(p.Fragment(l)) + "»"});
                break;
            case LinkStatus::Noindex:
                out.push_back({Level::Warning, "link-to-noindex",
                               At(l.line) + "ссылка на страницу, закрытую от индексации: " + shown});
                break;
            default: break;
        }
    }
    for (const PageImage& image : p.images) {
        const std::string src = image.link == UINT32_MAX ? std::string() : p.Shown(p.links[image.link]);
        if (!image.hasAlt)
            out.push_back({Level::Warning, "img-alt-missing",
                           At(image.line) + "у изображения " + (src.empty() ? std::string("без src") : src) +
                               " нет текста alt"});
        if (image.fileWidth < 0) continue;
        const bool wide = image.width >= 0 && image.width != image.fileWidth;
        const bool high = image.height >= 0 && image.height != image.fileHeight;
        if (wide || high) {
            auto attr = [](int v) { return v < 0 ? std::string("?") : std::to_string(v); };
            out.push_back({Level::Warning, "img-size-mismatch",
                           At(image.line) + "изображение " + src + " размером " + std::to_string(image.fileWidth) + "×" +
                               std::to_string(image.fileHeight) + " показано как " + attr(image.width) + "×" +
                               attr(image.height)});
        }
    }
    AddRedirectFindings(*this, page, out);
    // Without a start page nothing says where a visit begins: every page would be an orphan.
    if (home == kNoPage) return out;
    if (page != home && inbound[page] == 0) {
        out.push_back({Level::Warning, "orphan", "Ни одна страница сайта не ссылается на эту страницу"});
    } else if (depth[page] == kNoPage) {
        out.push_back({Level::Info, "depth", "Со стартовой страницы до этой страницы не дойти по ссылкам"});
    } else if (depth[page] > static_cast<std::uint32_t>(depthLimit)) {
        out.push_back({Level::Info, "depth",
                       "Страница в " + std::to_string(depth[page]) + " переходах от стартовой (больше " +
                           std::to_string(depthLimit) + ")"});
    }
    return out;
}

}  // namespace veskaron::indexing
