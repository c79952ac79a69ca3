#pragma once
// The audit's findings as the HTML report of the site (site/report.h).
#include <cstddef>
#include <string>
#include <vector>

#include "site/audit.h"
#include "site/indexability.h"

namespace veskaron::cli {

// `paths[i]` and `audits[i]` are an entry of the audit, the first `files` of
// them files beside the pages (robots.txt); `read[i]` whether the entry was
// read, and for a page `verdicts[i - files]` its indexability. The findings
// are moved out of `audits`.
std::string AuditHtmlReport(const std::string& root, const std::vector<std::string>& paths,
                            std::vector<site::PageAudit>& audits, const std::vector<bool>& read,
                            const std::vector<site::Indexability>& verdicts, std::size_t files);

}  // namespace veskaron::cli
