#pragma once
// The two background steps of "Проверить и сохранить": planning every edited
// page (what its bytes would become) for the review, then writing the pages
// the review kept. The window stays responsive and shows the progress.
#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "engine/loader.h"
#include "engine/save.h"
#include "session/document/SaveJournal.h"
#include "site/page_edit.h"
#include "ui/common/BackgroundWork.h"

namespace veskaron::ui {

class SiteApplyRun final : public QObject {
    Q_OBJECT

public:
    struct PageWork {
        std::string path;
        std::vector<std::string> assignments;
    };

    explicit SiteApplyRun(QObject* parent = nullptr);

    bool running() const { return run_.running() || journaling_; }
    bool committing() const { return running() && committing_; }
    int done() const { return static_cast<int>(run_.done()); }
    int total() const { return total_; }

    void plan(std::vector<PageWork> pages, const LoadOptions& load, const SaveOptions& save);
    // The plans, in the pages' order, once planned() came.
    std::vector<site::PlannedEdit> takePlans() { return std::move(plans_); }

    // The pages are recorded in the journal of saves first; when it refuses
    // them, none is written and each gets the journal's reason.
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
    void write(const SaveOptions& save, session::PlansJournal journal);

    BackgroundItems run_;
    std::shared_ptr<std::vector<site::PlannedEdit>> committed_;  // shared with the writers while they run
    std::vector<site::PlannedEdit> plans_;
    std::vector<site::CommitResult> results_;
    std::shared_ptr<edits::JournalBatch> journal_;
    int total_ = 0;
    bool committing_ = false;
    bool journaling_ = false;
};

}  // namespace veskaron::ui
