#pragma once
// "Журнал…" of the site window: the batches of the journal of saves, a
// batch's pages with what it changed in each, and "Отменить пакет".
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "edits/journal.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace veskaron::ui {

class JournalDialog final : public QDialog {
    Q_OBJECT

public:
    explicit JournalDialog(QWidget* parent = nullptr);

    // The pages an undo wrote back, by path.
    const std::vector<std::string>& restored() const { return restored_; }

Q_SIGNALS:
    // The batches (or a batch's pages) have been read.
    void loaded();
    // An undo ended; its report was shown.
    void undone();

private:
    void reload();
    void showBatches(std::vector<edits::BatchSummary> batches);
    void showBatch(int row);
    void showPage(int row);
    void undoBatch();

    std::string folder_;
    std::vector<edits::BatchSummary> batches_;
    std::shared_ptr<const edits::BatchContents> batch_;  // the selected one, with its bytes
    std::vector<std::string> restored_;
    bool busy_ = false;
    QTableWidget* TableJournalBatches;
    QLabel* LabelJournalPages;
    QListWidget* ListJournalPages;
    QLabel* LabelJournalDiff;
    QPlainTextEdit* TextJournalDiff;
    QLabel* LabelJournalState;
    QPushButton* BtnJournalUndo;
    QPushButton* BtnJournalClose;
};

}  // namespace veskaron::ui
