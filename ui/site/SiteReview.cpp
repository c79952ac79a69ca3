#include "ui/site/SiteReview.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "messages/qt_text.h"
#include "messages/window_texts.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {


}  // namespace

SiteReview::SiteReview(const std::vector<site::PlannedEdit>& plans, const std::vector<QString>& names,
                             QWidget* parent)
    : QDialog(parent), plans_(plans) {
    setObjectName(QStringLiteral("TFmSiteReview"));
    setWindowTitle(msg::site::kReviewTitle);
    QStringList problems;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        switch (plans[i].status) {
            case site::EditStatus::Changes: shown_.push_back(i); break;
            case site::EditStatus::Unchanged: break;
            default: problems << msg::site::kPageProblem.arg(names[i], FromUtf8(plans[i].error)); break;
        }
    }

    ListReviewPages = Named(new QListWidget, "ListReviewPages", msg::site::kReviewPagesHint);
    for (std::size_t i : shown_) {
        auto* item = new QListWidgetItem(names[i], ListReviewPages);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    LabelReviewPages = Caption(msg::site::kReviewPages.arg(shown_.size()), QStringLiteral("LabelReviewPages"),
                               ListReviewPages);
    EditReviewDiff = Named(new QPlainTextEdit, "EditReviewDiff", msg::site::kReviewDiffHint);
    EditReviewDiff->setReadOnly(true);
    EditReviewDiff->setLineWrapMode(QPlainTextEdit::NoWrap);
    EditReviewDiff->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EditReviewDiff->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    LabelReviewReferences = Named(new QLabel, "LabelReviewReferences");
    LabelReviewReferences->setTextFormat(Qt::PlainText);
    EditReviewProblems = Named(new QPlainTextEdit(problems.join(QLatin1Char('\n'))), "EditReviewProblems");
    EditReviewProblems->setReadOnly(true);
    EditReviewProblems->setMaximumHeight(fontMetrics().height() * 5);
    BtnReviewSave = Named(new QPushButton(msg::site::kReviewSave), "BtnReviewSave", msg::site::kReviewSaveHint);
    BtnReviewCancel = Named(new QPushButton(msg::site::kReviewCancel), "BtnReviewCancel", msg::site::kReviewCancelHint);
    BtnReviewSave->setDefault(true);

    auto* left = new QWidget;
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(0, 0, 4, 0);
    leftColumn->addWidget(LabelReviewPages);
    leftColumn->addWidget(ListReviewPages);
    auto* right = new QWidget;
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(4, 0, 0, 0);
    rightColumn->addWidget(Caption(msg::site::kReviewDiff, QStringLiteral("LabelReviewDiff"), EditReviewDiff));
    rightColumn->addWidget(EditReviewDiff, 1);
    rightColumn->addWidget(LabelReviewReferences);
    auto* split = Named(new QSplitter(Qt::Horizontal), "SplitReview");
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 3);
    split->setChildrenCollapsible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnReviewSave);
    buttons->addWidget(BtnReviewCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    auto* problemsCaption = Named(new QLabel(msg::site::kReviewProblems.arg(problems.size())), "LabelReviewProblems");
    layout->addWidget(problemsCaption);
    layout->addWidget(EditReviewProblems);
    problemsCaption->setVisible(!problems.isEmpty());
    EditReviewProblems->setVisible(!problems.isEmpty());
    layout->addLayout(buttons);
    resize(900, 560);

    connect(ListReviewPages, &QListWidget::currentRowChanged, this, &SiteReview::showDiff);
    connect(ListReviewPages, &QListWidget::itemChanged, this, &SiteReview::showTicks);
    connect(BtnReviewSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnReviewCancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(ListReviewPages, EditReviewDiff);
    setTabOrder(EditReviewDiff, BtnReviewSave);
    setTabOrder(BtnReviewSave, BtnReviewCancel);
    if (!shown_.empty()) ListReviewPages->setCurrentRow(0);
    showTicks();
}

// The keyboard starts in the list of pages: arrows move, Space unticks, Enter saves.
void SiteReview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ListReviewPages->setFocus();
}

void SiteReview::showDiff() {
    const int row = ListReviewPages->currentRow();
    if (row < 0 || row >= static_cast<int>(shown_.size())) {
        EditReviewDiff->clear();
        LabelReviewReferences->clear();
        return;
    }
    const site::PlannedEdit& plan = plans_[shown_[static_cast<std::size_t>(row)]];
    EditReviewDiff->setPlainText(FromUtf8(plan.diff));
    LabelReviewReferences->setText(plan.references > 0 ? msg::site::kReviewReferences.arg(plan.references)
                                                       : QString());
}

void SiteReview::showTicks() { BtnReviewSave->setEnabled(!ticked().empty()); }

std::vector<std::size_t> SiteReview::ticked() const {
    std::vector<std::size_t> plans;
    for (int row = 0; row < ListReviewPages->count(); ++row)
        if (ListReviewPages->item(row)->checkState() == Qt::Checked) plans.push_back(shown_[static_cast<std::size_t>(row)]);
    return plans;
}

}  // namespace veskaron::ui
