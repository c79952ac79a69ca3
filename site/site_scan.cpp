#include "site/site_scan.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>

#include "engine/encoding.h"
#include "engine/save.h"
#include "engine/serp.h"
#include "site/indexability.h"
#include "engine/text_width.h"

namespace veskaron::site {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

int Rank(Level level) {
    switch (level) {
        case Level::Error: return 3;
        case Level::Warning: return 2;
        case Level::Info: return 1;
    }
    return 0;
}

}  // namespace

PageStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

std::string RelativePath(const std::string& root, const std::string& path) {
    std::string_view base = root;
    while (base.size() > 1 && base.back() == '/') base.remove_suffix(1);
    if (base.empty() || !std::string_view(path).starts_with(base)) return path;
    if (base == "/") return path.substr(1);
    if (path.size() <= base.size() || path[base.size()] != '/') return path;
    return path.substr(base.size() + 1);
}

namespace {

// The audit of a page loaded into `doc`, which the caller may read further.
PageScan ScanInto(Document& doc, const std::string& path, const LoadOptions& options, const SiteIndexing* site) {
    PageScan scan;
    doc.fields = FreshFields(options.now);
    const PageLoad load = LoadPage(doc, path, options);
    if (!load.fileOk) {
        scan.fileError = load.fileError;
        return scan;
    }
    if (!load.report.ok) scan.loadError = load.report.error;
    // A load that stopped before the head was read would give made-up findings.
    if (!load.report.ok && load.report.passes == 0) return scan;
    scan.read = true;
    // The charset check needs the bytes as stored; only a page the load
    // translated holds other ones.
    const std::string& charset = load.report.encoding.name;
    const bool asStored = charset == "utf-8" || charset == "windows-1251";
    const std::string stored = asStored ? std::string() : FileBytesForSave(doc, doc.page.text).bytes;
    scan.audit =
        AuditPage(doc, asStored ? std::string_view(doc.page.text) : std::string_view(stored), load.report.modernHead);
    if (site) {
        scan.verdict = JudgeIndexability(doc, path, *site);
        AddIndexabilityFindings(scan.audit.findings, scan.verdict);
    }
    return scan;
}

}  // namespace

PageScan ScanPageAudit(const std::string& path, const LoadOptions& options, const SiteIndexing* site) {
    try {
        Document doc;
        return ScanInto(doc, path, options, site);
    } catch (const std::exception& e) {
        // Out of memory on a huge page: the page is reported, the scan goes on.
        PageScan failed;
        failed.loadError = e.what();
        return failed;
    }
}

SiteRow ScanPage(const std::string& root, const std::string& path, const LoadOptions& options,
                 const SiteIndexing* site) {
    SiteRow row;
    row.path = path;
    row.relative = RelativePath(root, path);
    row.stamp = StampOf(path);
    try {
        Document doc;
        PageScan scan = ScanInto(doc, path, options, site);
        if (!scan.read) {
            row.error = scan.fileError.empty() ? scan.loadError : scan.fileError;
            return row;
        }
        const TextCodec& codec = *doc.codec;
        row.read = true;
        row.title = codec.ToUtf8(doc.fields.Title);
        row.description = codec.ToUtf8(doc.fields.Description);
        row.keywords = codec.ToUtf8(doc.fields.Keywords);
        row.canonical = codec.ToUtf8(doc.modern[kCanonical]);
        row.titlePx = TextWidthPx(row.title, kDesktopSerp.titleSizePx);
        row.descriptionPx = TextWidthPx(row.description, kDesktopSerp.descriptionSizePx);
        row.encoding = doc.encoding.name;
        row.findings = std::move(scan.audit.findings);
        if (site) {
            row.indexable = scan.verdict.indexable;
            row.indexReason = IndexReasonCode(scan.verdict.reason);
            row.indexDetail = scan.verdict.detail;
        }
    } catch (const std::exception& e) {
        // Out of memory on a huge page: the page is reported, the scan goes on.
        const PageStamp stamp = row.stamp;
        const std::string relative = row.relative;
        row = SiteRow{};
        row.path = path;
        row.relative = relative;
        row.error = e.what();
        row.stamp = stamp;
    }
    return row;
}

std::optional<Level> WorstLevel(const std::vector<Finding>& findings) {
    std::optional<Level> worst;
    for (const Finding& f : findings)
        if (!worst || Rank(f.level) > Rank(*worst)) worst = f.level;
    return worst;
}

bool IsTextFieldCode(TextField field, std::string_view code) {
    if (field == TextField::Title)
        return code == "title-missing" || code == "title-length" || code == "title-width" || code == "title-short";
    if (field == TextField::Canonical) return code == "canonical-missing" || code == "canonical-relative";
    return code == "description-missing" || code == "description-length" || code == "description-width";
}

std::vector<Finding> TextFindings(TextField field, std::string_view utf8) {
    // The audit run on a page that holds only this text: its rules and
    // messages stay in one place.
    Document doc;
    doc.codec = Utf8Codec();
    doc.kind = TextKind::Utf8;
    doc.page.text = "<html><head><title></title></head></html>";
    if (field == TextField::Canonical) {
        // An emptied address removes the tag.
        if (!utf8.empty()) {
            std::string href;
            for (char c : utf8) href += c == '"' ? std::string("&quot;") : c == '&' ? std::string("&amp;") : std::string(1, c);
            doc.page.text = "<html><head><title></title><link rel=\"canonical\" href=\"" + href + "\"></head></html>";
        }
    } else {
        (field == TextField::Title ? doc.fields.Title : doc.fields.Description) = std::string(utf8);
    }
    std::vector<Finding> all = AuditPage(doc, doc.page.text).findings;
    std::vector<Finding> kept;
    for (Finding& f : all)
        if (IsTextFieldCode(field, f.code)) kept.push_back(std::move(f));
    return kept;
}

std::vector<std::vector<Finding>> DuplicateFindings(const std::vector<std::string_view>& titles,
                                                    const std::vector<std::string_view>& descriptions,
                                                    const std::vector<std::string>& paths) {
    std::vector<PageAudit> pages(paths.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i].title = Trimmed(titles[i]);
        pages[i].description = Trimmed(descriptions[i]);
    }
    AddDuplicateFindings(pages, paths);
    std::vector<std::vector<Finding>> found(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) found[i] = std::move(pages[i].findings);
    return found;
}

}  // namespace veskaron::site
