#pragma once
// The two background steps of "Проверить и сохранить": planning every edited
// page (what its bytes would become) for the review, then writing the pages
// the review kept. The window stays responsive and shows the progress.
#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/loader.h"
#include "engine/save.h"
#include "site/page_edit.h"

namespace veskaron::ui {

class SiteApplyRun final : public QObject {
    Q_OBJECT

public:
    struct PageWork {
        std::string path;
        std::vector<std::string> assignments;
    };

    explicit SiteApplyRun(QObject* parent = nullptr);
    ~SiteApplyRun() override;

    bool running() const { return running_; }
    bool committing() const { return committing_; }
    int done() const { return static_cast<int>(progress_ ? progress_->load() : 0); }
    int total() const { return total_; }

    void plan(std::vector<PageWork> pages, const LoadOptions& load, const SaveOptions& save);
    // The plans, in the pages' order, once planned() came.
    std::vector<site::PlannedEdit> takePlans() { return std::move(plans_); }

    void commit(std::vector<site::PlannedEdit> plans, const SaveOptions& save);
    // The plans written (or refused) and what happened to each, once committed() came.
    const std::vector<site::PlannedEdit>& committedPlans() const { return plans_; }
    const std::vector<site::CommitResult>& results() const { return results_; }

Q_SIGNALS:
    void progressed();
    void planned();
    void committed();

private:
    void finish();

    QThreadPool pool_;
    QFutureWatcher<void> watcher_;
    QTimer timer_;
    std::shared_ptr<std::atomic<int>> progress_;
    std::shared_ptr<std::vector<site::PlannedEdit>> planOut_;
    std::shared_ptr<std::vector<site::CommitResult>> resultOut_;
    std::vector<site::PlannedEdit> plans_;
    std::vector<site::CommitResult> results_;
    int total_ = 0;
    bool running_ = false;
    bool committing_ = false;
};

}  // namespace veskaron::ui
