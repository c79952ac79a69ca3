#include "ui/common/HistoryEditor.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "messages/window_texts.h"

namespace veskaron::ui {

HistoryEditor::HistoryEditor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FmNoteBook"));
    setWindowTitle(msg::kFieldEditorTitle);
    // Only the close box: no help or size buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    linesEdit_ = new QPlainTextEdit;
    linesEdit_->setObjectName(QStringLiteral("Memo1"));
    linesEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    linesEdit_->setMinimumSize(536, 313);
    okButton_ = new QPushButton(QStringLiteral("Ok"));
    okButton_->setObjectName(QStringLiteral("Button1"));
    okButton_->setDefault(false);
    okButton_->setAutoDefault(false);
    cancelButton_ = new QPushButton(msg::kCancelButton);
    cancelButton_->setObjectName(QStringLiteral("Button2"));
    cancelButton_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(linesEdit_, 1);
    layout->addLayout(buttons);

    // Centred on the desktop, not over the main window.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(okButton_, &QPushButton::clicked, this, &HistoryEditor::takeLines);
    connect(cancelButton_, &QPushButton::clicked, this, &HistoryEditor::dropLines);
}

void HistoryEditor::SetLines(const QStringList& lines) { linesEdit_->setPlainText(lines.join(u'\n')); }

QStringList HistoryEditor::Lines() const {
    const QString text = linesEdit_->toPlainText();
    if (text.isEmpty()) return {};
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n')) lines.removeLast();
    return lines;
}

void HistoryEditor::takeLines() {
    accepted_ = true;
    accept();
}

void HistoryEditor::dropLines() { reject(); }

int MergeEditedHistory(QStringList& lines, const QString& shown) {
    if (shown.isEmpty()) return -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(shown, Qt::CaseInsensitive) == 0) return i;
    }
    lines << shown;
    return static_cast<int>(lines.size()) - 1;
}

}  // namespace veskaron::ui
