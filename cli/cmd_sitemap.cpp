#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/page_loading.h"
#include "cli/page_selection.h"
#include "cli/progress.h"
#include "cli/site_options.h"
#include "engine/file_io.h"
#include "settings/setup_values.h"
#include "site/indexability.h"
#include "site/parallel_pages.h"
#include "site/site_scan.h"
#include "site/sitemap.h"

namespace veskaron::cli {
namespace {

struct SitemapArgs {
    LoadArgs load;
    SelectionArgs selection;
    SiteArgs site;
    std::string out;
    std::string check;
    bool gzip = false;
    std::optional<bool> backup;
};

struct PageVerdict {
    bool read = false;
    std::string error;
    site::Indexability verdict;
    long long modifiedNs = 0;
};

std::string Gzip(std::string_view bytes) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(bytes.size())) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

bool Gunzip(std::string_view bytes, std::string& out) {
    z_stream z{};
    if (inflateInit2(&z, 15 + 32) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    char buf[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buf);
        z.avail_out = sizeof buf;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buf, sizeof buf - z.avail_out);
        if (out.size() > 2 * site::kSitemapMaxBytes) rc = Z_MEM_ERROR;
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

// Reads a sitemap (or the parts an index names, from its folder); false with the error on `err`.
bool ReadLocs(const std::string& file, std::vector<std::string>& locs, std::ostream& err, int depth = 0) {
    const FileRead read = ReadWholeFile(file);
    if (!read.ok) {
        err << read.error << "\n";
        return false;
    }
    std::string xml = read.bytes;
    if (file.ends_with(".gz") && !Gunzip(read.bytes, xml = std::string())) {
        err << file << ": not a gzip file\n";
        return false;
    }
    const site::SitemapRead s = site::ReadSitemap(xml);
    if (!s.ok) {
        err << file << ": " << s.error << "\n";
        return false;
    }
    if (!s.index) {
        locs.insert(locs.end(), s.locs.begin(), s.locs.end());
        return true;
    }
    if (depth > 0) {
        err << file << ": a sitemap index names another index\n";
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    for (const std::string& part : s.locs) {
        const std::string name = part.substr(part.find_last_of('/') + 1);
        if (!ReadLocs((folder / name).string(), locs, err, depth + 1)) return false;
    }
    return true;
}

int RunSitemap(const SitemapArgs& args, Streams io) {
    LoadOptions options;
    if (!ResolveLoadOptions(args.load, "sitemap", io.err, options)) return kExitFailed;
    if (args.site.baseUrl.find("://") == std::string::npos) {
        io.err << "sitemap: --base-url must be an absolute address (https://example.com)\n";
        return kExitFailed;
    }
    const Selection selection = SelectPages(args.selection, "sitemap", io.err, true);
    if (!selection.ok) return kExitFailed;
    site::SiteIndexing site;
    if (!ResolveSiteIndexing(args.site, args.selection, selection.pages, io.err, site)) return kExitFileError;

    const std::vector<std::string>& pages = selection.pages;
    std::vector<PageVerdict> verdicts(pages.size());
    {
        Progress progress(io.err, io.progress, pages.size());
        site::ParallelControl control;
        site::ParallelOptions how;
        if (progress.Enabled() && pages.size() > 1) how.progress = [&progress](std::size_t done) { progress.Show(done); };
        site::RunEach(
            pages.size(),
            [&](std::size_t i) {
                Document doc = FreshDocument(options);
                const PageLoad load = LoadPage(doc, pages[i], options);
                if (!load.fileOk) {
                    verdicts[i].error = load.fileError;
                    return;
                }
                verdicts[i].read = true;
                verdicts[i].verdict = site::JudgeIndexability(doc, pages[i], site);
                verdicts[i].modifiedNs = site::StampOf(pages[i]).modifiedNs;
            },
            control, how);
        progress.Finish();
    }

    // Each address once, the first page that has it; the reasons of the others.
    int status = selection.problems > 0 ? kExitFileError : kExitOk;
    std::vector<site::SitemapUrl> urls;
    std::map<std::string, std::string> byAddress;  // address -> reason code, "" when indexable
    std::size_t leftOut = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PageVerdict& p = verdicts[i];
        if (!p.read) {
            io.err << p.error << "\n";
            status = kExitFileError;
            continue;
        }
        if (p.verdict.urlPath.empty()) {
            io.err << pages[i] << ": not under the site's root " << site.root << "\n";
            continue;
        }
        const std::string address = site::JoinAddress(args.site.baseUrl, p.verdict.urlPath);
        if (!byAddress.emplace(address, std::string(site::IndexReasonCode(p.verdict.reason))).second) continue;
        if (p.verdict.indexable) {
            urls.push_back({address, site::W3cDateTime(p.modifiedNs)});
        } else {
            ++leftOut;
            if (args.check.empty())
                io.out << "left out\t" << pages[i] << "\t" << site::IndexReasonCode(p.verdict.reason)
                       << (p.verdict.detail.empty() ? "" : ": " + p.verdict.detail) << "\n";
        }
    }

    if (!args.check.empty()) {
        std::vector<std::string> locs;
        if (!ReadLocs(args.check, locs, io.err)) return kExitFailed;
        const site::SitemapCheck c = site::CheckSitemap(locs, byAddress);
        for (const std::string& a : c.missing) io.out << "missing\t" << a << "\n";
        for (const auto& [a, why] : c.notIndexable) io.out << "not indexable\t" << a << "\t" << why << "\n";
        for (const std::string& a : c.duplicated) io.out << "duplicated\t" << a << "\n";
        for (const std::string& a : c.leftOut) io.out << "left out\t" << a << "\n";
        io.err << "Addresses in the sitemap: " << locs.size() << ", missing: " << c.missing.size()
               << ", not indexable: " << c.notIndexable.size() << ", duplicated: " << c.duplicated.size()
               << ", indexable pages left out: " << c.leftOut.size() << "\n";
        return c.Clean() ? status : kExitFailed;
    }

    std::string out = args.out.empty() ? (std::filesystem::path(site.root) / "sitemap.xml").string() : args.out;
    const std::filesystem::path folder = std::filesystem::path(out).parent_path();
    std::string name = std::filesystem::path(out).filename().string();
    if (args.gzip && name.ends_with(".gz")) name.resize(name.size() - 3);
    std::vector<site::SitemapFile> files = site::BuildSitemaps(urls, args.site.baseUrl, name);
    if (args.gzip) {
        // The index names the compressed parts.
        for (site::SitemapFile& f : files) f.name += ".gz";
        if (files.size() > 1) {
            std::string& index = files.back().bytes;
            for (std::size_t i = 0; i + 1 < files.size(); ++i) {
                const std::string plain = files[i].name.substr(0, files[i].name.size() - 3);
                const std::size_t at = index.find("/" + plain + "</loc>");
                if (at != std::string::npos) index.insert(at + 1 + plain.size(), ".gz");
            }
        }
        for (site::SitemapFile& f : files) f.bytes = Gzip(f.bytes);
    }
    const bool backup = args.backup.value_or(ReadSettingsValues().backupFiles);
    for (const site::SitemapFile& f : files) {
        const std::string path = (folder / f.name).string();
        std::string warning;
        const FileStatus written = ReplaceFileBytes(path, f.bytes, backup, &warning);
        if (!written.ok) {
            io.err << written.error << "\n";
            return kExitFileError;
        }
        if (!warning.empty()) io.err << path << ": written without a backup: " << warning << "\n";
        io.err << "Written " << path << "\n";
    }
    io.err << "Pages: " << pages.size() << ", in the sitemap: " << urls.size() << ", left out: " << leftOut << "\n";
    return status;
}

}  // namespace

void AddSitemapCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("sitemap", "Write sitemap.xml for the indexable pages of a site, or check one");
    auto args = std::make_shared<SitemapArgs>();
    AddSelectionOptions(*cmd, args->selection);
    cmd->add_option("--base-url", args->site.baseUrl, "The site's address (https://example.com), required")->required();
    AddSiteOptions(*cmd, args->site, false);
    cmd->add_option("--out", args->out, "The sitemap to write (default: ROOT/sitemap.xml); parts go beside it");
    cmd->add_option("--check", args->check,
                    "Check this sitemap (or sitemap index, .gz too) against the pages instead of writing one");
    cmd->add_flag("--gzip", args->gzip, "Write .xml.gz files");
    auto* bak = cmd->add_flag("--backup")->description("Keep an old sitemap as FILE.bak");
    auto* nobak = cmd->add_flag("--no-backup")->description("Keep no backup (the last of the two wins)");
    AddLoadOptions(*cmd, args->load);
    cmd->footer("Lists the pages left out with their reason. Exit status: 0 success; 1 bad arguments, a sitemap that\n"
                "cannot be read, or --check found addresses missing, not indexable, duplicated or indexable pages\n"
                "left out; 2 a file or folder could not be read or written.");
    cmd->callback([cmd, bak, nobak, args, io, &status] {
        const auto& order = cmd->parse_order();
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            if (*it == bak) { args->backup = true; break; }
            if (*it == nobak) { args->backup = false; break; }
        }
        status = RunSitemap(*args, io);
    });
}

}  // namespace veskaron::cli
