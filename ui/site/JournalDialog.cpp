#include "ui/site/JournalDialog.h"
#include "messages/qt_text.h"
#include "ui/site/ListedLines.h"

#include <QDateTime>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "edits/undo.h"
#include "messages/journal_texts.h"
#include "session/document/SaveJournal.h"
#include "ui/common/BackgroundWork.h"
#include "ui/common/Dialogs.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {

QString Listed(const std::vector<std::string>& lines) {
    QStringList all;
    for (const std::string& line : lines) all << FromUtf8(line);
    return ui::Listed(all);
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

JournalDialog::JournalDialog(QWidget* parent) : QDialog(parent), folder_(edits::JournalFolderPath()) {
    setObjectName(QStringLiteral("TFmJournal"));
    setWindowTitle(msg::journal::kTitle);
    TableJournalBatches = Named(new QTableWidget(0, static_cast<int>(msg::journal::kColumns.size())),
                                "TableJournalBatches");
    TableJournalBatches->setHorizontalHeaderLabels(msg::journal::kColumns);
    TableJournalBatches->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableJournalBatches->setSelectionMode(QAbstractItemView::SingleSelection);
    TableJournalBatches->verticalHeader()->hide();
    TableJournalBatches->horizontalHeader()->setStretchLastSection(true);
    ListJournalPages = Named(new QListWidget, "ListJournalPages");
    ListJournalPages->setTextElideMode(Qt::ElideLeft);  // the page's name matters more than its folder
    LabelJournalPages = Caption(msg::journal::kPagesLabel, QStringLiteral("LabelJournalPages"), ListJournalPages);
    TextJournalDiff = Named(new QPlainTextEdit, "TextJournalDiff");
    TextJournalDiff->setReadOnly(true);
    TextJournalDiff->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextJournalDiff->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LabelJournalDiff = Caption(msg::journal::kDiffLabel, QStringLiteral("LabelJournalDiff"), TextJournalDiff);
    LabelJournalState = Named(new QLabel, "LabelJournalState");
    LabelJournalState->setTextFormat(Qt::PlainText);
    LabelJournalState->setWordWrap(true);
    BtnJournalUndo = Named(new QPushButton(msg::journal::kUndoButton), "BtnJournalUndo", msg::journal::kUndoHint);
    BtnJournalUndo->setAutoDefault(false);
    BtnJournalClose = Named(new QPushButton(msg::journal::kCloseButton), "BtnJournalClose");

    auto* pages = new QWidget;
    auto* pagesLayout = new QVBoxLayout(pages);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    pagesLayout->addWidget(LabelJournalPages);
    pagesLayout->addWidget(ListJournalPages);
    auto* diff = new QWidget;
    auto* diffLayout = new QVBoxLayout(diff);
    diffLayout->setContentsMargins(0, 0, 0, 0);
    diffLayout->addWidget(LabelJournalDiff);
    diffLayout->addWidget(TextJournalDiff);
    auto* lower = Named(new QSplitter(Qt::Horizontal), "SplitJournalPages");
    lower->addWidget(pages);
    lower->addWidget(diff);
    lower->setSizes({340, 620});
    auto* split = Named(new QSplitter(Qt::Vertical), "SplitJournal");
    split->setChildrenCollapsible(false);
    split->addWidget(TableJournalBatches);
    split->addWidget(lower);
    split->setStretchFactor(1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LabelJournalState, 1);
    buttons->addWidget(BtnJournalUndo);
    buttons->addWidget(BtnJournalClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(980, 600);

    connect(TableJournalBatches, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { showBatch(row); });
    connect(ListJournalPages, &QListWidget::currentRowChanged, this, &JournalDialog::showPage);
    connect(BtnJournalUndo, &QPushButton::clicked, this, &JournalDialog::undoBatch);
    connect(BtnJournalClose, &QPushButton::clicked, this, &QDialog::accept);
    reload();
}

void JournalDialog::reload() {
    busy_ = true;
    BtnJournalUndo->setEnabled(false);
    LabelJournalState->setText(msg::journal::kLoading);
    RunThenCall(
        this, [folder = folder_] { return edits::ListBatches(folder); },
        [this](std::vector<edits::BatchSummary> batches) { showBatches(std::move(batches)); });
}

void JournalDialog::showBatches(std::vector<edits::BatchSummary> batches) {
    busy_ = false;
    batches_ = std::move(batches);
    TableJournalBatches->setRowCount(0);
    // The newest first: it is the one most often taken back.
    const int count = static_cast<int>(batches_.size());
    TableJournalBatches->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const edits::BatchSummary& b = batches_[static_cast<std::size_t>(count - 1 - row)];
        TableJournalBatches->setItem(row, 0, Cell(QString::number(b.number)));
        TableJournalBatches->setItem(
            row, 1, Cell(QDateTime::fromSecsSinceEpoch(b.time).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))));
        TableJournalBatches->setItem(row, 2, Cell(QString::number(b.pages)));
        TableJournalBatches->setItem(row, 3, Cell(FromUtf8(b.origin)));
    }
    TableJournalBatches->resizeColumnsToContents();
    if (count == 0) {
        ListJournalPages->clear();
        TextJournalDiff->clear();
        LabelJournalState->setText(msg::journal::kEmpty);
        BtnJournalUndo->setEnabled(false);
    } else {
        TableJournalBatches->setCurrentCell(0, 0);
    }
    Q_EMIT loaded();
}

void JournalDialog::showBatch(int row) {
    ListJournalPages->clear();
    TextJournalDiff->clear();
    batch_.reset();
    BtnJournalUndo->setEnabled(false);
    if (row < 0 || row >= static_cast<int>(batches_.size())) return;
    const int number = batches_[batches_.size() - 1 - static_cast<std::size_t>(row)].number;
    busy_ = true;
    LabelJournalState->setText(msg::journal::kLoading);
    RunThenCall(
        this, [folder = folder_, number] { return std::make_shared<const edits::BatchContents>(edits::ReadBatch(folder, number)); },
        [this, row](std::shared_ptr<const edits::BatchContents> batch) {
            busy_ = false;
            // Another batch was chosen meanwhile: its own reading shows it.
            if (TableJournalBatches->currentRow() != row) return;
            batch_ = std::move(batch);
            if (!batch_->ok) {
                LabelJournalState->setText(FromUtf8(batch_->error));
                return;
            }
            for (const edits::JournalEntry& e : batch_->pages)
                ListJournalPages->addItem(e.written ? FromUtf8(e.path) : FromUtf8(e.path) + QLatin1Char(' ') + msg::journal::kNotWritten);
            const edits::BatchSummary& s = batch_->summary;
            QString state = (s.complete ? msg::journal::kComplete : msg::journal::kStopped).arg(s.written).arg(s.pages);
            if (!batch_->problems.empty()) state += QLatin1Char('\n') + msg::journal::kProblems.arg(Listed(batch_->problems));
            LabelJournalState->setText(state);
            BtnJournalUndo->setEnabled(!batch_->pages.empty());
            if (!batch_->pages.empty()) ListJournalPages->setCurrentRow(0);
            Q_EMIT loaded();
        });
}

void JournalDialog::showPage(int row) {
    TextJournalDiff->clear();
    if (!batch_ || row < 0 || row >= static_cast<int>(batch_->pages.size())) return;
    const edits::JournalEntry& e = batch_->pages[static_cast<std::size_t>(row)];
    TextJournalDiff->setPlainText(FromUtf8(edits::PageDiff(e.path, e.before, e.after)));
}

void JournalDialog::undoBatch() {
    if (busy_ || !batch_ || !batch_->ok) return;
    busy_ = true;
    BtnJournalUndo->setEnabled(false);
    const std::string origin =
        std::string(session::kSiteWindowUndoOrigin) + " " + std::to_string(batch_->summary.number);
    RunThenCall(
        this,
        [batch = batch_, folder = folder_, origin] {
            const std::vector<edits::UndoItem> plan = edits::PlanUndo(*batch);
            std::size_t already = 0;
            for (const edits::UndoItem& item : plan) already += item.action == edits::UndoAction::AlreadyBefore;
            edits::UndoResult result = edits::CommitUndo(plan, folder, origin, edits::JournalOptionsOfSettings());
            return std::make_pair(std::move(result), already);
        },
        [this](std::pair<edits::UndoResult, std::size_t> done) {
            const edits::UndoResult& r = done.first;
            restored_.insert(restored_.end(), r.restored.begin(), r.restored.end());
            QString report;
            if (!r.journalError.empty()) {
                report = msg::journal::kUndoRefused.arg(FromUtf8(r.journalError));
            } else {
                report = msg::journal::kUndone.arg(r.restored.size()).arg(done.second);
                if (!r.skipped.empty()) report += QStringLiteral("\n\n") + msg::journal::kUndoSkipped.arg(Listed(r.skipped));
                if (!r.failed.empty()) report += QStringLiteral("\n\n") + msg::journal::kUndoFailed.arg(Listed(r.failed));
            }
            const bool clean = r.journalError.empty() && r.skipped.empty() && r.failed.empty();
            CurrentDialogs().Message(this, clean ? MessageKind::Information : MessageKind::Warning,
                                     msg::kCaptionAttention, report);
            Q_EMIT undone();
            reload();  // the undo is a batch of its own now
        });
}

}  // namespace veskaron::ui
