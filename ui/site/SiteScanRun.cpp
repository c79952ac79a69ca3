#include "ui/site/SiteScanRun.h"

#include "site/indexability.h"
#include "site/page_selection.h"

namespace veskaron::ui {
namespace {

// Rows taken into the table at one turn of the event loop: more wait for the next turn.
constexpr std::size_t kBatchRows = 2000;

}  // namespace

// What the walk finds, read by the readers and, once they end, by this object.
struct SiteScanRun::Walk {
    std::string root;
    std::vector<std::string> paths;
    std::vector<std::string> problems;
    site::SiteIndexing indexing;
};

SiteScanRun::SiteScanRun(QObject* parent) : QObject(parent) {
    connect(&run_, &BackgroundItems::progressed, this, &SiteScanRun::progressed);
    connect(&run_, &BackgroundItems::ended, this, [this] {
        QStringList problems;
        for (const std::string& p : walk_->problems) problems << QString::fromStdString(p);
        walk_.reset();
        Q_EMIT ended(problems);
    });
}

void SiteScanRun::startFolder(const std::string& root, const std::string& mask, const LoadOptions& options) {
    start(root, mask, {}, true, options);
}

void SiteScanRun::startPages(const std::string& root, std::vector<std::string> paths, const LoadOptions& options) {
    start(root, {}, std::move(paths), false, options);
}

void SiteScanRun::start(std::string root, std::string mask, std::vector<std::string> paths, bool walk,
                        const LoadOptions& options) {
    if (running()) return;
    auto found = std::make_shared<Walk>();
    found->root = std::move(root);
    found->paths = std::move(paths);
    walk_ = found;
    BackgroundItems::Options how;
    how.batch = kBatchRows;
    // The readers yield to the window's thread: with every core reading, the
    // table still fills and answers between batches.
    how.lowerPriority = true;
    run_.start(
        [found, mask = std::move(mask), walk, robot = robot_] {
            // The site's robots.txt, read once for all its pages.
            found->indexing = site::LoadSiteIndexing(found->root, {}, robot);
            if (walk) {
                site::PageCollector collector{site::FileMask(mask)};
                collector.AddFolder(found->root);
                found->paths = collector.Pages();
                found->problems = collector.Problems();
            }
            return found->paths.size();
        },
        [found, options](std::size_t i) {
            return site::ScanPage(found->root, found->paths[i], options, &found->indexing);
        },
        [this](std::vector<site::SiteRow> rows) {
            if (sink_) sink_(std::move(rows));
        },
        how);
}

}  // namespace veskaron::ui
