#pragma once
// The field editor: a list edited as plain lines in a small modal window.
#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace veskaron::ui {

class HistoryEditor final : public QDialog {
    Q_OBJECT

public:
    explicit HistoryEditor(QWidget* parent = nullptr);

    void SetLines(const QStringList& lines);
    // The lines as typed; a line break at the very end adds no line.
    QStringList Lines() const;
    // "Ok" was pressed.
    bool Accepted() const { return accepted_; }

private:
    void takeLines();
    void dropLines();

    QPlainTextEdit* linesEdit_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    bool accepted_ = false;
};

// The folder history after the field editor's lines were accepted: the lines
// in order, with the folder that was shown kept (found ignoring case, else
// added at the end). Returns the index to select (-1 when none is shown).
int MergeEditedHistory(QStringList& lines, const QString& shown);

}  // namespace veskaron::ui
