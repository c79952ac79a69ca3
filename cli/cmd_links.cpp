#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/page_selection.h"
#include "cli/site_options.h"
#include "indexing/link_graph.h"
#include "site/csv.h"

namespace veskaron::cli {
namespace {

struct LinksArgs {
    SelectionArgs selection;
    SiteArgs site;
    std::string home;
    std::string inbound;
    std::string format = "jsonl";
    std::optional<int> maxDepth;
};

std::string_view KindOf(const indexing::PageLink& l) {
    if (l.role == indexing::LinkRole::Canonical) return "canonical";
    if (l.role == indexing::LinkRole::Hreflang) return "hreflang";
    return LinkSourceName(l.source);
}

void AppendJsonString(std::string& out, std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t from = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) continue;
        out.append(s.substr(from, i - from));
        from = i + 1;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        }
    }
    out.append(s.substr(from));
    out += '"';
}

// Millions of records: written by hand into one buffer, flushed now and then.
class RecordWriter {
public:
    RecordWriter(std::ostream& out, bool csv) : out_(out), csv_(csv) {
        if (csv_) site::WriteCsvRecord(out_, {"Source", "Line", "Target", "Kind", "Status"});
    }
    ~RecordWriter() { Flush(); }

    void Write(const indexing::LinkPage& p, const indexing::PageLink& l) {
        const std::string target = p.Shown(l);
        if (csv_) {
            site::WriteCsvRecord(out_, {p.file, std::to_string(l.line), target, std::string(KindOf(l)),
                                        std::string(indexing::LinkStatusName(l.status))});
            return;
        }
        buffer_ += "{\"Source\":";
        AppendJsonString(buffer_, p.file);
        buffer_ += ",\"Line\":";
        buffer_ += std::to_string(l.line);
        buffer_ += ",\"Target\":";
        AppendJsonString(buffer_, target);
        buffer_ += ",\"Kind\":\"";
        buffer_ += KindOf(l);
        buffer_ += "\",\"Status\":\"";
        buffer_ += indexing::LinkStatusName(l.status);
        buffer_ += "\"}\n";
        if (buffer_.size() > (1u << 20)) Flush();
    }

private:
    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }
    std::ostream& out_;
    bool csv_;
    std::string buffer_;
};

int RunLinks(const LinksArgs& args, Streams io) {
    const Selection selection = SelectPages(args.selection, "links", io.err, true);
    if (!selection.ok) return kExitFailed;
    site::SiteIndexing site;
    if (!ResolveSiteIndexing(args.site, args.selection, selection.pages, io.err, site)) return kExitFileError;
    indexing::LinkSiteOptions options{site.root, args.site.baseUrl, args.home, DepthLimit(args.maxDepth), site.robot};
    const indexing::LinkGraph graph = indexing::BuildLinkGraph(selection.pages, options);
    if (!args.home.empty() && graph.home == indexing::kNoPage) {
        io.err << "links: --home " << args.home << ": not a page of the folder " << site.root << "\n";
        return kExitFailed;
    }
    std::uint32_t inbound = indexing::kNoPage;
    if (!args.inbound.empty()) {
        inbound = graph.PageAt(indexing::AddressPath(site.root, args.inbound));
        if (inbound == indexing::kNoPage) inbound = graph.PageAt(args.inbound.starts_with("/") ? args.inbound : "/" + args.inbound);
        if (inbound == indexing::kNoPage) {
            io.err << "links: --inbound " << args.inbound << ": not a page of the folder " << site.root << "\n";
            return kExitFailed;
        }
    }

    std::size_t unreadable = selection.problems, links = 0, broken = 0;
    {
        RecordWriter writer(io.out, args.format == "csv");
        for (std::uint32_t i = 0; i < graph.pages.size(); ++i) {
            const indexing::LinkPage& p = graph.pages[i];
            if (!p.read) {
                io.err << p.error << "\n";
                ++unreadable;
                continue;
            }
            for (const indexing::PageLink& l : p.links) {
                if (inbound != indexing::kNoPage && (l.target != inbound || i == inbound)) continue;
                writer.Write(p, l);
                ++links;
                broken += l.status == indexing::LinkStatus::Broken;
            }
        }
    }
    io.err << "Pages: " << graph.pages.size() << ", links: " << links << ", broken: " << broken;
    if (unreadable > 0) io.err << ", unreadable: " << unreadable;
    io.err << "\n";
    io.out.flush();
    return unreadable > 0 ? kExitFileError : kExitOk;
}

}  // namespace

void AddLinksCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("links", "List every link of the pages with its status (ok, broken, anchor-missing, "
                                            "noindex, external, other); nothing is fetched");
    auto args = std::make_shared<LinksArgs>();
    AddSelectionOptions(*cmd, args->selection);
    cmd->add_option("--home", args->home, "The start page (default: the root's index.html)");
    cmd->add_option("--inbound", args->inbound, "Only the links from other pages to this page");
    AddDepthOption(*cmd, args->maxDepth);
    cmd->add_option("--format", args->format, "jsonl (one object per link) or csv")
        ->check(CLI::IsMember({"jsonl", "csv"}));
    cmd->add_option("--base-url", args->site.baseUrl,
                    "The site's address (https://example.com): absolute addresses on its host are "
                    "pages of the folder; other hosts are external");
    AddSiteOptions(*cmd, args->site, false);
    cmd->callback([args, io, &status] { status = RunLinks(*args, io); });
}

}  // namespace veskaron::cli
