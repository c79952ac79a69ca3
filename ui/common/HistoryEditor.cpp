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
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setMinimumSize(536, 313);
    Button1 = new QPushButton(QStringLiteral("Ok"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(false);
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(msg::kCancelButton);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);

    // Centred on the desktop, not over the main window.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(Button1, &QPushButton::clicked, this, &HistoryEditor::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &HistoryEditor::Button2Click);
}

void HistoryEditor::SetLines(const QStringList& lines) { Memo1->setPlainText(lines.join(u'\n')); }

QStringList HistoryEditor::Lines() const {
    const QString text = Memo1->toPlainText();
    if (text.isEmpty()) return {};
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n')) lines.removeLast();
    return lines;
}

void HistoryEditor::Button1Click() {
    accepted_ = true;
    accept();
}

void HistoryEditor::Button2Click() { reject(); }

int MergeEditedHistory(QStringList& lines, const QString& shown) {
    if (shown.isEmpty()) return -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(shown, Qt::CaseInsensitive) == 0) return i;
    }
    lines << shown;
    return static_cast<int>(lines.size()) - 1;
}

}  // namespace veskaron::ui
