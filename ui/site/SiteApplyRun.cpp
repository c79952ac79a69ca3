#include "ui/site/SiteApplyRun.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <thread>

namespace veskaron::ui {
namespace {

// Pages are read and written a few at a time: the disk waits dominate.
int Workers() { return static_cast<int>(std::min(16u, 4 * std::max(1u, std::thread::hardware_concurrency()))); }

// Runs `work(i)` for every i below n on the pool's threads, counting into `done`.
template <typename Work>
void RunAll(QThreadPool* pool, int n, std::atomic<int>& done, Work work) {
    std::atomic<int> next{0};
    auto loop = [&] {
        for (int i = next++; i < n; i = next++) {
            work(static_cast<std::size_t>(i));
            ++done;
        }
    };
    std::vector<QFuture<void>> others;
    for (int w = 1; w < std::min(Workers(), n); ++w) others.push_back(QtConcurrent::run(pool, loop));
    loop();
    for (QFuture<void>& f : others) f.waitForFinished();
}

}  // namespace

SiteApplyRun::SiteApplyRun(QObject* parent) : QObject(parent) {
    pool_.setMaxThreadCount(Workers() + 1);
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &SiteApplyRun::progressed);
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &SiteApplyRun::finish);
}

SiteApplyRun::~SiteApplyRun() { pool_.waitForDone(); }

void SiteApplyRun::plan(std::vector<PageWork> pages, const LoadOptions& load, const SaveOptions& save) {
    if (running_) return;
    running_ = true;
    committing_ = false;
    total_ = static_cast<int>(pages.size());
    progress_ = std::make_shared<std::atomic<int>>(0);
    planOut_ = std::make_shared<std::vector<site::PlannedEdit>>(pages.size());
    resultOut_.reset();
    QThreadPool* pool = &pool_;
    watcher_.setFuture(QtConcurrent::run(
        pool, [pool, pages = std::move(pages), load, save, done = progress_, out = planOut_] {
            RunAll(pool, static_cast<int>(pages.size()), *done, [&](std::size_t i) {
                (*out)[i] = site::PlanEdit(pages[i].path, pages[i].assignments, load, save);
            });
        }));
    timer_.start();
    Q_EMIT progressed();
}

void SiteApplyRun::commit(std::vector<site::PlannedEdit> plans, const SaveOptions& save) {
    if (running_) return;
    running_ = true;
    committing_ = true;
    total_ = static_cast<int>(plans.size());
    progress_ = std::make_shared<std::atomic<int>>(0);
    planOut_ = std::make_shared<std::vector<site::PlannedEdit>>(std::move(plans));
    resultOut_ = std::make_shared<std::vector<site::CommitResult>>(planOut_->size());
    QThreadPool* pool = &pool_;
    watcher_.setFuture(QtConcurrent::run(pool, [pool, save, done = progress_, plans = planOut_, out = resultOut_] {
        RunAll(pool, static_cast<int>(plans->size()), *done,
               [&](std::size_t i) { (*out)[i] = site::CommitEdit((*plans)[i], save); });
    }));
    timer_.start();
    Q_EMIT progressed();
}

void SiteApplyRun::finish() {
    timer_.stop();
    // The handlers may start the next run at once: this one's state is settled first.
    const bool wasCommit = committing_;
    running_ = false;
    committing_ = false;
    plans_ = std::move(*planOut_);
    planOut_.reset();
    if (wasCommit) {
        results_ = std::move(*resultOut_);
        resultOut_.reset();
        Q_EMIT committed();
    } else {
        results_.clear();
        Q_EMIT planned();
    }
}

}  // namespace veskaron::ui
