#include "cli/audit_report.h"

#include <algorithm>
#include <thread>

#include "engine/serp.h"
#include "engine/text_width.h"
#include "site/parallel_pages.h"
#include "site/report.h"
#include "site/site_scan.h"

namespace veskaron::cli {

std::string AuditHtmlReport(const std::string& root, const std::vector<std::string>& paths,
                            std::vector<site::PageAudit>& audits, const std::vector<bool>& read,
                            const std::vector<site::Indexability>& verdicts, std::size_t files) {
    std::vector<site::ReportPage> pages(paths.size());
    // The widths take a measure of every letter: the pages share the cores.
    site::ParallelControl control;
    site::ParallelOptions how;
    how.threads = std::max(1u, std::thread::hardware_concurrency());
    site::RunEach(
        paths.size(),
        [&](std::size_t i) {
            site::ReportPage& p = pages[i];
            site::PageAudit& a = audits[i];
            p.path = root.empty() ? paths[i] : site::RelativePath(root, paths[i]);
            p.findings = std::move(a.findings);
            if (i < files) {
                p.facts.kind = site::PageFacts::Kind::File;
            } else if (!read[i]) {
                p.facts.kind = site::PageFacts::Kind::Unread;
            } else {
                const site::Indexability& v = verdicts[i - files];
                p.facts.titlePx = TextWidthPx(a.title, kDesktopSerp.titleSizePx);
                p.facts.descriptionPx = TextWidthPx(a.description, kDesktopSerp.descriptionSizePx);
                p.facts.indexable = v.indexable;
                p.facts.reason = site::IndexReasonCode(v.reason);
            }
        },
        control, how);
    const site::SiteCounts counts = site::CountPages(pages);
    return site::HtmlReport({root.empty() ? std::string(".") : root, site::ReportDateNow()}, pages, counts);
}

}  // namespace veskaron::cli
