#include "ui/site/SiteScanRun.h"

#include <QtConcurrent/QtConcurrentRun>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "site/indexability.h"
#include "site/page_selection.h"

namespace veskaron::ui {
namespace {

// Several readers per core: a page that is not in the cache keeps its reader
// waiting for the disk; with the pages cached the extra ones cost nothing.
int Readers() { return static_cast<int>(std::min(64u, 8 * std::max(1u, std::thread::hardware_concurrency()))); }

constexpr int kDeliverMs = 100;
// Rows taken into the table at one turn of the event loop: more wait for the next turn.
constexpr std::size_t kBatchRows = 2000;

// The readers yield to the window's thread: with every core reading, the
// table still fills and answers between batches.
void YieldToTheWindow() {
    static thread_local bool done = false;
    if (done) return;
    done = true;
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 5);
}

}  // namespace

// What the workers and this object share; it outlives whichever ends last.
struct SiteScanRun::State {
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> total{0};  // set once the pages are known
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::vector<site::SiteRow> rows;
    std::unique_ptr<std::atomic<bool>[]> ready;
    std::size_t delivered = 0;  // this object's thread only
    std::vector<std::string> problems;
};

SiteScanRun::SiteScanRun(QObject* parent) : QObject(parent) {
    pool_.setMaxThreadCount(Readers() + 1);
    timer_.setInterval(kDeliverMs);
    connect(&timer_, &QTimer::timeout, this, &SiteScanRun::deliver);
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &SiteScanRun::finish);
}

SiteScanRun::~SiteScanRun() {
    if (state_) state_->stop = true;
    pool_.waitForDone();
}

std::size_t SiteScanRun::done() const { return state_ ? state_->done.load() : 0; }
std::size_t SiteScanRun::total() const { return state_ ? state_->total.load() : 0; }

void SiteScanRun::startFolder(const std::string& root, const std::string& mask, const LoadOptions& options) {
    start(root, mask, {}, true, options);
}

void SiteScanRun::startPages(const std::string& root, std::vector<std::string> paths, const LoadOptions& options) {
    start(root, {}, std::move(paths), false, options);
}

void SiteScanRun::start(std::string root, std::string mask, std::vector<std::string> paths, bool walk,
                        const LoadOptions& options) {
    if (running_) return;
    running_ = true;
    stopped_ = false;
    workDone_ = false;
    auto state = std::make_shared<State>();
    state_ = state;
    QThreadPool* pool = &pool_;
    const Robot robot = robot_;
    watcher_.setFuture(QtConcurrent::run(pool, [state, pool, root = std::move(root), mask = std::move(mask),
                                                paths = std::move(paths), walk, options, robot]() mutable {
        // The site's robots.txt, read once for all its pages.
        const site::SiteIndexing indexing = site::LoadSiteIndexing(root, {}, robot);
        if (walk) {
            site::PageCollector collector{site::FileMask(mask)};
            collector.AddFolder(root);
            paths = collector.Pages();
            state->problems = collector.Problems();
        }
        const std::size_t n = paths.size();
        state->rows.resize(n);
        state->ready = std::make_unique<std::atomic<bool>[]>(n);
        for (std::size_t i = 0; i < n; ++i) state->ready[i].store(false, std::memory_order_relaxed);
        state->total.store(n);
        auto read = [&state, &paths, &root, &options, &indexing, n] {
            YieldToTheWindow();
            for (std::size_t i = state->next++; i < n && !state->stop; i = state->next++) {
                state->rows[i] = site::ScanPage(root, paths[i], options, &indexing);
                state->ready[i].store(true, std::memory_order_release);
                ++state->done;
            }
        };
        const int readers = static_cast<int>(std::min<std::size_t>(Readers(), std::max<std::size_t>(n, 1)));
        std::vector<QFuture<void>> others;
        for (int r = 1; r < readers; ++r) others.push_back(QtConcurrent::run(pool, read));
        read();
        for (QFuture<void>& f : others) f.waitForFinished();
    }));
    timer_.start();
}

void SiteScanRun::stop() {
    if (!running_ || !state_) return;
    stopped_ = true;
    state_->stop = true;
}

void SiteScanRun::deliver() {
    if (!running_) return;
    State& s = *state_;
    const std::size_t n = s.total.load();
    std::vector<site::SiteRow> batch;
    while (s.delivered < n && batch.size() < kBatchRows && s.ready[s.delivered].load(std::memory_order_acquire))
        batch.push_back(std::move(s.rows[s.delivered++]));
    const bool more = s.delivered < n && s.ready[s.delivered].load(std::memory_order_acquire);
    if (!batch.empty() && sink_) sink_(std::move(batch));
    Q_EMIT progressed();
    if (more) {
        // The rest at the next turn, after the window has painted and answered.
        QTimer::singleShot(0, this, &SiteScanRun::deliver);
    } else if (workDone_) {
        end();
    }
}

void SiteScanRun::finish() {
    workDone_ = true;
    deliver();
}

void SiteScanRun::end() {
    timer_.stop();
    running_ = false;
    QStringList problems;
    for (const std::string& p : state_->problems) problems << QString::fromStdString(p);
    // Every row read is in the table; what a stop left unread is dropped.
    state_->rows = {};
    Q_EMIT ended(problems);
}

}  // namespace veskaron::ui
