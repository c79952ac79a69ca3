#include "ui/site/SiteApplyRun.h"

#include <iterator>
#include <memory>
#include <utility>

namespace veskaron::ui {
namespace {

// Pages are read and written a few at a time: the disk waits dominate.
BackgroundItems::Options Workers() {
    BackgroundItems::Options how;
    how.threads = site::DiskThreads(4, 16);
    return how;
}

template <typename T>
void Append(std::vector<T>& to, std::vector<T> batch) {
    to.insert(to.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
}

}  // namespace

SiteApplyRun::SiteApplyRun(QObject* parent) : QObject(parent) {
    connect(&run_, &BackgroundItems::progressed, this, &SiteApplyRun::progressed);
    connect(&run_, &BackgroundItems::ended, this, &SiteApplyRun::finish);
}

void SiteApplyRun::plan(std::vector<PageWork> pages, const LoadOptions& load, const SaveOptions& save) {
    if (running()) return;
    committing_ = false;
    total_ = static_cast<int>(pages.size());
    plans_.clear();
    results_.clear();
    auto work = std::make_shared<const std::vector<PageWork>>(std::move(pages));
    run_.start([work] { return work->size(); },
               [work, load, save](std::size_t i) {
                   return site::PlanEdit((*work)[i].path, (*work)[i].assignments, load, save);
               },
               [this](std::vector<site::PlannedEdit> batch) { Append(plans_, std::move(batch)); }, Workers());
    Q_EMIT progressed();
}

void SiteApplyRun::commit(std::vector<site::PlannedEdit> plans, const SaveOptions& save) {
    if (running()) return;
    committing_ = true;
    total_ = static_cast<int>(plans.size());
    results_.clear();
    plans_.clear();
    auto work = std::make_shared<std::vector<site::PlannedEdit>>(std::move(plans));
    committed_ = work;
    journaling_ = true;
    // Compressing and flushing a large site's pages takes a moment: off the window's thread.
    RunThenCall(
        this, [work] { return session::JournalPlans(*work, session::kSiteWindowOrigin); },
        [this, save](session::PlansJournal journal) { write(save, std::move(journal)); });
    Q_EMIT progressed();
}

void SiteApplyRun::write(const SaveOptions& save, session::PlansJournal journal) {
    journaling_ = false;
    auto work = committed_;
    if (!journal.batch) {
        for (const site::PlannedEdit& plan : *work)
            results_.push_back({false, plan.path + ": not written, since the journal cannot hold it: " + journal.error,
                                {}, 0});
        finish();
        return;
    }
    journal_ = journal.batch;
    BackgroundItems::Options how = Workers();
    how.finishWhenDestroyed = true;  // pages being written are not left half done
    run_.start([work] { return work->size(); },
               [work, save, batch = journal.batch, first = journal.first](std::size_t i) {
                   site::CommitResult result = site::CommitEdit((*work)[i], save);
                   if (result.written) batch->Written(first + i);
                   return result;
               },
               [this](std::vector<site::CommitResult> batch) { Append(results_, std::move(batch)); }, how);
    Q_EMIT progressed();
}

void SiteApplyRun::finish() {
    // The handlers may start the next run at once: this one's state is settled first.
    const bool wasCommit = std::exchange(committing_, false);
    if (wasCommit) {
        if (journal_) journal_->Finish();
        journal_.reset();
        // The workers have ended: the plans are this object's again.
        plans_ = std::move(*committed_);
        committed_.reset();
        Q_EMIT committed();
    }
    else Q_EMIT planned();
}

}  // namespace veskaron::ui
