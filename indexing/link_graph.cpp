#include "indexing/link_graph.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <thread>
#include <unordered_map>

#include "engine/cp1251.h"
#include "engine/encoding.h"
#include "engine/file_io.h"
#include "engine/text_codec.h"
#include "indexing/image_size.h"
#include "site/site_scan.h"

namespace veskaron::indexing {

// Address paths to pages, in one flat open-addressed table: millions of
// look-ups go to it, and a node per key would cost a cache miss each.
struct LinkGraph::Index {
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t key = kNoPage;  // in keys
    };
    std::vector<std::string_view> keys;  // into the pages' paths and `folders`
    std::vector<std::uint32_t> pages;
    std::vector<std::string> folders;    // "/dir/" of each dir/index.html
    std::vector<Slot> slots;

    static std::uint32_t Hash(std::string_view s) { return static_cast<std::uint32_t>(std::hash<std::string_view>{}(s)); }

    void Build() {
        std::size_t size = 16;
        while (size < 2 * keys.size()) size *= 2;
        slots.assign(size, Slot{});
        for (std::uint32_t k = 0; k < keys.size(); ++k) {
            const std::uint32_t h = Hash(keys[k]);
            std::size_t at = h & (size - 1);
            bool taken = false;
            while (slots[at].key != kNoPage) {
                if (slots[at].hash == h && keys[slots[at].key] == keys[k]) {
                    taken = true;  // the first page of a path keeps it
                    break;
                }
                at = (at + 1) & (size - 1);
            }
            if (!taken) slots[at] = {h, k};
        }
    }

    std::uint32_t Find(std::string_view path) const {
        const std::uint32_t h = Hash(path);
        for (std::size_t at = h & (slots.size() - 1);; at = (at + 1) & (slots.size() - 1)) {
            const Slot& s = slots[at];
            if (s.key == kNoPage) return kNoPage;
            if (s.hash == h && keys[s.key] == path) return pages[s.key];
        }
    }
};

namespace {

// The codec that turns the page's bytes into UTF-8; null for UTF-8 itself.
CodecPtr CodecOf(std::string_view text) {
    const std::string usable = UsableCharset(site::DeclaredCharset(text));
    if (usable == "utf-8") return nullptr;
    if (usable == "windows-1251") return Windows1251Codec();
    if (!usable.empty())
        if (CodecPtr c = CharsetCodec(usable)) return c;
    return LooksLikeUtf8(text) ? nullptr : Windows1251Codec();
}

bool HasWord(std::string_view words, std::string_view word) {
    std::size_t from = 0;
    while (from < words.size()) {
        std::size_t end = words.find_first_of(" \t\r\n\f", from);
        if (end == std::string_view::npos) end = words.size();
        if (words.substr(from, end - from) == word) return true;
        from = end + 1;
    }
    return false;
}

// A whole number of pixels ("120", "120px"); -1 for anything else ("50%").
int Pixels(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.ends_with("px")) s.remove_suffix(2);
    int v = -1;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && v >= 0 ? v : -1;
}

bool Navigates(const PageLink& l) {
    return l.role == LinkRole::Plain && (l.source == LinkSource::A || l.source == LinkSource::Area ||
                                         l.source == LinkSource::Iframe || l.source == LinkSource::Refresh);
}

bool IsTop(std::string_view fragment) {
    return fragment.size() == 3 && LowerAsciiChar(fragment[0]) == 't' && LowerAsciiChar(fragment[1]) == 'o' &&
           LowerAsciiChar(fragment[2]) == 'p';
}

bool IsIndexName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = path.substr(slash + 1);
    return name == "index.html" || name == "index.htm";
}

template <class Work>
void InParallel(std::size_t n, unsigned threads, Work work) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(n, 1)));
    std::atomic<std::size_t> next{0};
    auto run = [&] {
        auto state = work.Fresh();
        for (std::size_t i = next++; i < n; i = next++) work(i, state);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(run);
    run();
    for (std::thread& t : pool) t.join();
}

}  // namespace

std::string_view LinkStatusName(LinkStatus status) {
    static constexpr std::string_view kNames[] = {"ok", "broken", "anchor-missing", "noindex", "external", "other"};
    return kNames[static_cast<int>(status)];
}

std::string LinkPage::Shown(const PageLink& l) const {
    std::string s(Target(l));
    if (l.hasFragment && l.kind == LinkAddress::Kind::Internal) {
        s += '#';
        s += Fragment(l);
    }
    return s;
}

std::string AddressPath(const std::string& root, const std::string& file) {
    const std::string relative = site::RelativePath(root.empty() ? std::string(".") : root, file);
    return relative.starts_with("/") ? relative : "/" + relative;
}

LinkPage ReadLinkPage(const std::string& file, const std::string& root, const std::string& baseUrl, Robot robot) {
    LinkPage p;
    p.file = file;
    p.path = AddressPath(root, file);
    const FileRead read = ReadWholeFile(file);
    if (!read.ok) {
        p.error = read.error;
        return p;
    }
    p.read = true;
    std::string_view text = read.bytes;
    CodecPtr codec;
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    else codec = CodecOf(text);
    LinkScan scan;
    ScanLinks(text, codec.get(), scan);
    p.noindex = TagDirectives(scan.robots, robot).noindex;
    const LinkBase base = MakeLinkBase(p.path, scan.hasBase ? std::string_view(scan.base) : std::string_view(), baseUrl);
    p.links.reserve(scan.links.size());
    for (const ScannedLink& s : scan.links) {
        const LinkAddress a = ResolveLink(s.value, base);
        PageLink l;
        l.line = s.line;
        l.source = s.source;
        l.kind = a.kind;
        if (s.source == LinkSource::Link) {
            if (HasWord(s.rel, "canonical")) l.role = LinkRole::Canonical;
            else if (HasWord(s.rel, "alternate") && !s.hreflang.empty()) l.role = LinkRole::Hreflang;
        }
        l.at = static_cast<std::uint32_t>(p.strings.size());
        if (a.kind == LinkAddress::Kind::Internal) {
            p.strings += a.path;
            l.size = static_cast<std::uint32_t>(a.path.size());
            l.hasFragment = a.hasFragment;
            p.strings += a.fragment;
            l.fragmentSize = static_cast<std::uint32_t>(a.fragment.size());
        } else {
            p.strings += a.url;
            l.size = static_cast<std::uint32_t>(a.url.size());
            l.status = a.kind == LinkAddress::Kind::External ? LinkStatus::External : LinkStatus::Other;
        }
        if (s.source == LinkSource::Refresh && p.refresh == UINT32_MAX) p.refresh = static_cast<std::uint32_t>(p.links.size());
        p.links.push_back(l);
    }
    for (const ScannedImage& s : scan.images)
        p.images.push_back({s.line, s.link, s.hasAlt, Pixels(s.width), Pixels(s.height), -1, -1});
    p.anchors = std::move(scan.targets);
    std::sort(p.anchors.begin(), p.anchors.end());
    p.anchors.erase(std::unique(p.anchors.begin(), p.anchors.end()), p.anchors.end());
    return p;
}

std::uint32_t LinkGraph::PageAt(std::string_view path) const {
    if (!index) return kNoPage;
    const std::uint32_t page = index->Find(path);
    if (page != kNoPage || path.ends_with("/")) return page;
    // A folder's address without its '/' is redirected to the folder.
    return index->Find(std::string(path) + "/");
}

std::vector<std::uint32_t> LinkGraph::LinkingTo(std::uint32_t page) const {
    std::vector<std::uint32_t> from;
    for (std::uint32_t i = 0; i < pages.size(); ++i)
        for (const PageLink& l : pages[i].links)
            if (l.target == page && i != page) {
                from.push_back(i);
                break;
            }
    return from;
}

namespace {

// What one resolving thread keeps: the files it has looked for and the images it has measured.
struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
struct ResolveState {
    std::unordered_map<std::string, bool, ViewHash, std::equal_to<>> exists;
    std::unordered_map<std::string, ImageSize, ViewHash, std::equal_to<>> sizes;
};

struct Resolver {
    LinkGraph& g;
    const std::string& root;

    ResolveState Fresh() const { return {}; }

    std::string FileOf(std::string_view path) const { return (root.empty() ? std::string(".") : root) + std::string(path); }

    bool Exists(std::string_view path, ResolveState& state) const {
        if (const auto it = state.exists.find(path); it != state.exists.end()) return it->second;
        struct stat st {};
        const bool found = ::stat(FileOf(path).c_str(), &st) == 0;
        state.exists.emplace(std::string(path), found);
        return found;
    }

    void operator()(std::size_t i, ResolveState& state) const {
        LinkPage& p = g.pages[i];
        for (PageLink& l : p.links) {
            if (l.kind != LinkAddress::Kind::Internal) continue;
            const std::string_view path = p.Target(l);
            l.target = g.PageAt(path);
            l.isFile = l.target != kNoPage || Exists(path, state);
            if (!l.isFile) {
                l.status = LinkStatus::Broken;
                continue;
            }
            if (l.target == kNoPage) continue;
            const LinkPage& to = g.pages[l.target];
            const std::string_view fragment = p.Fragment(l);
            // An empty fragment and "#top" lead to the top of any page.
            if (l.hasFragment && !fragment.empty() && !IsTop(fragment) &&
                !std::binary_search(to.anchors.begin(), to.anchors.end(), fragment)) {
                l.status = LinkStatus::AnchorMissing;
                continue;
            }
            if (to.noindex && l.target != i && Navigates(l) && l.source != LinkSource::Refresh) l.status = LinkStatus::Noindex;
        }
        for (PageImage& image : p.images) {
            if (image.link == UINT32_MAX || (image.width < 0 && image.height < 0)) continue;
            const PageLink& l = p.links[image.link];
            if (!l.isFile || l.target != kNoPage) continue;
            auto it = state.sizes.find(p.Target(l));
            if (it == state.sizes.end()) it = state.sizes.emplace(std::string(p.Target(l)), ReadImageSize(FileOf(p.Target(l)))).first;
            if (it->second.known) {
                image.fileWidth = it->second.width;
                image.fileHeight = it->second.height;
            }
        }
    }
};

struct Reader {
    std::vector<LinkPage>& pages;
    const std::vector<std::string>& files;
    const LinkSiteOptions& options;
    int Fresh() const { return 0; }
    void operator()(std::size_t i, int) const { pages[i] = ReadLinkPage(files[i], options.root, options.baseUrl, options.robot); }
};

}  // namespace

LinkGraph BuildLinkGraph(const std::vector<std::string>& files, const LinkSiteOptions& options, unsigned threads) {
    LinkGraph g;
    g.depthLimit = options.depthLimit;
    const std::size_t n = files.size();
    g.pages.resize(n);
    InParallel(n, threads, Reader{g.pages, files, options});

    auto index = std::make_shared<LinkGraph::Index>();
    for (std::uint32_t i = 0; i < n; ++i)
        if (IsIndexName(g.pages[i].path)) index->folders.push_back(g.pages[i].path.substr(0, g.pages[i].path.rfind('/') + 1));
    std::size_t folder = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        index->keys.push_back(g.pages[i].path);
        index->pages.push_back(i);
        if (IsIndexName(g.pages[i].path)) {
            index->keys.push_back(index->folders[folder++]);
            index->pages.push_back(i);
        }
    }
    index->Build();
    g.index = std::move(index);

    if (options.home.empty()) {
        g.home = g.PageAt("/");
    } else {
        g.home = g.PageAt(AddressPath(options.root, options.home));
        if (g.home == kNoPage) g.home = g.PageAt(options.home.starts_with("/") ? options.home : "/" + options.home);
    }

    InParallel(n, threads, Resolver{g, options.root});

    // Inbound: the other pages with a link that leads there, each counted once.
    g.inbound.assign(n, 0);
    std::vector<std::uint32_t> lastFrom(n, kNoPage);
    for (std::uint32_t i = 0; i < n; ++i)
        for (const PageLink& l : g.pages[i].links)
            if (l.target != kNoPage && l.target != i && Navigates(l) && lastFrom[l.target] != i) {
                lastFrom[l.target] = i;
                ++g.inbound[l.target];
            }

    // Clicks from the start page, breadth first.
    g.depth.assign(n, kNoPage);
    if (g.home != kNoPage) {
        std::vector<std::uint32_t> queue{g.home};
        g.depth[g.home] = 0;
        for (std::size_t q = 0; q < queue.size(); ++q) {
            const std::uint32_t at = queue[q];
            for (const PageLink& l : g.pages[at].links)
                if (l.target != kNoPage && Navigates(l) && g.depth[l.target] == kNoPage) {
                    g.depth[l.target] = g.depth[at] + 1;
                    queue.push_back(l.target);
                }
        }
    }
    return g;
}

}  // namespace veskaron::indexing
