#pragma once
// The review before a save: every page the edits would change, each with a
// tick and its unified diff, and the pages that cannot be written with why.
// "Сохранить" accepts with the ticked pages; Escape or "Отмена" writes nothing.
#include <QDialog>
#include <string>
#include <vector>

#include "site/page_edit.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace veskaron::ui {

class SiteReview final : public QDialog {
    Q_OBJECT

public:
    // `names[i]` is how the table names the page of `plans[i]`; pages that
    // would not change are not shown.
    SiteReview(const std::vector<site::PlannedEdit>& plans, const std::vector<QString>& names,
                  QWidget* parent = nullptr);

    // The plans ticked when the review was accepted, by index.
    std::vector<std::size_t> ticked() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showDiff();
    void showTicks();

    const std::vector<site::PlannedEdit>& plans_;
    std::vector<std::size_t> shown_;  // list row -> plan
    QLabel* LabelReviewPages = nullptr;
    QListWidget* ListReviewPages = nullptr;
    QPlainTextEdit* EditReviewDiff = nullptr;
    QLabel* LabelReviewReferences = nullptr;
    QPlainTextEdit* EditReviewProblems = nullptr;
    QPushButton* BtnReviewSave = nullptr;
    QPushButton* BtnReviewCancel = nullptr;
};

}  // namespace veskaron::ui
