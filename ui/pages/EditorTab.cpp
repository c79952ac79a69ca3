#include "ui/pages/EditorTab.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/BtnPopup.h"
#include "messages/window_texts.h"
#include "ui/common/Hints.h"
#include "ui/pages/SourceView.h"

namespace veskaron::ui {
namespace {

QToolButton* ToolButton(const char* name, const char* icon, const QString& caption,
                        const QString& hint) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(icon));
    if (themed.isNull()) {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
        button->setIcon(themed);
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    button->setAutoRaise(true);
    SetHint(button, hint);
    return button;
}

}  // namespace

EditorTab::EditorTab(QWidget* parent) : QWidget(parent) {
    Button3 = new QPushButton(msg::kInsertBlockButton);
    Button3->setObjectName(QStringLiteral("Button3"));
    SetHint(Button3, msg::kInsertBlockHint);
    SpeedButton1 = ToolButton("SpeedButton1", "edit-cut", msg::kCutButton, msg::kCutHint);
    SpeedButton2 = ToolButton("SpeedButton2", "edit-copy", msg::kCopyButton, msg::kCopyHint);
    SpeedButton3 = ToolButton("SpeedButton3", "edit-paste", msg::kPasteButton, msg::kPasteHint);
    SpeedButton4 = ToolButton("SpeedButton4", "edit-undo", msg::kUndoButton, msg::kUndoHint);
    CheckBox1 = new QCheckBox(msg::kWordWrap);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    SetHint(CheckBox1, msg::kWordWrapHint);
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    BtnPopup1 = new TBtnPopup;
    BtnPopup1->setObjectName(QStringLiteral("BtnPopup1"));
    BtnPopup1->SetFlat(true);
    BtnPopup1->SetDropDown(PopupMenu2);
    ShowSnippet(QStringLiteral("<br>"));
    BtnPopup1->setEnabled(false);

    RE1 = new SourceView;
    RE1->setObjectName(QStringLiteral("RE1"));
    RE1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->SetViewFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    SetHelpTopic(RE1, 13);

    // A tool bar moves what does not fit into its overflow menu on a narrow window.
    auto* bar = new QToolBar;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setFloatable(false);
    bar->setMovable(false);
    bar->addWidget(Button3);
    bar->addSeparator();
    for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4}) bar->addWidget(b);
    bar->addSeparator();
    bar->addWidget(CheckBox1);
    bar->addSeparator();
    bar->addWidget(BtnPopup1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(bar);
    layout->addWidget(RE1, 1);

    connect(Button3, &QPushButton::clicked, this, &EditorTab::InsertMetaBlock);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::cut); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::copy); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::paste); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::undo); });
    connect(CheckBox1, &QCheckBox::clicked, this, &EditorTab::wordWrapClicked);
    connect(BtnPopup1, &TBtnPopup::OnClick, this, &EditorTab::insertShownSnippet);
    connect(PopupMenu2, &QMenu::triggered, this, &EditorTab::insertMenuSnippet);
    connect(RE1, &SourceView::Changed, this, &EditorTab::sourceTextChanged);
    connect(RE1, &SourceView::EditedChanged, this, &EditorTab::SourceEdited);
    RE1->installEventFilter(this);
    RE1->viewport()->installEventFilter(this);
}

void EditorTab::LoadText(const QString& text) {
    WrapPause pause(*this);
    shownSize_.reset();
    RE1->SetText(text);
}

void EditorTab::ReplaceText(const QString& text) {
    const int caret = RE1->CaretByte();
    const SourceView::Scroll scroll = RE1->ScrollPosition();
    LoadText(text);
    RE1->PlaceCaretNear(caret);
    RE1->SetScrollPosition(scroll);
}

void EditorTab::PrepareText(std::uint64_t revision, std::function<QByteArray()> make) {
    // Nobody waits for the text of an older revision any more.
    if (prepared_) prepared_->drop();
    prepared_ = MadeAhead<SourceView::Shown>::Start(
        [make = std::move(make)] { return SourceView::ToShown(make()); });
    preparedRevision_ = revision;
}

bool EditorTab::ShowPreparedText(std::uint64_t revision, bool keepCaret) {
    if (!prepared_ || preparedRevision_ != revision) return false;
    const std::shared_ptr<MadeAhead<SourceView::Shown>> prepared = std::exchange(prepared_, nullptr);
    const SourceView::Shown& shown = prepared->get();
    const int caret = RE1->CaretByte();
    const SourceView::Scroll scroll = RE1->ScrollPosition();
    {
        WrapPause pause(*this);
        shownSize_.reset();
        RE1->SetShown(shown);
    }
    if (keepCaret) {
        RE1->PlaceCaretNear(caret);
        RE1->SetScrollPosition(scroll);
    }
    return true;
}

QString EditorTab::Text() const { return RE1->Text(); }

bool EditorTab::Edited() const { return RE1->Edited(); }

void EditorTab::ClearEdited() {
    // What the view holds now is what the file has.
    if (shownSize_) shownSize_ = SizeOnSave();
    RE1->ClearEdited();
}

qint64 EditorTab::TextLength() const { return RE1->Length(); }

void EditorTab::SetSizeMeasure(qint64 shown, int lineBreak, std::function<int(char32_t)> other) {
    shownSize_ = shown;
    RE1->SetByteMeasure(lineBreak, std::move(other));
}

qint64 EditorTab::SizeOnSave() const {
    if (!shownSize_) return TextLength();
    return *shownSize_ + RE1->BytesSinceSet();
}

void EditorTab::RunOnEditor(void (SourceView::*action)()) {
    RE1->AsOneChange([this, action] { (RE1->*action)(); });
}

void EditorTab::DisableSnippetButton() { BtnPopup1->setEnabled(false); }

void EditorTab::BuildSnippetMenu(const QStringList& lines) {
    PopupMenu2->clear();
    for (const QString& line : lines) PopupMenu2->addAction(line);
}

void EditorTab::InsertSnippet(const QString& snippet) {
    if (RE1->SelectionStartByte() == 0) return;
    RE1->ReplaceSelectionQuietly(snippet);
    const QString inserted = msg::kSnippetInserted + snippet;
    SetHintParts(RE1, snippet, inserted);
    Q_EMIT HintShown(inserted);
    Q_EMIT SourceEdited();
}

void EditorTab::sourceTextChanged() {
    // The notifications of a load come before the counter is reset; the next
    // two leave the labels as the load set them.
    if (changes_ > 1) Q_EMIT CurrentSize(SizeOnSave());
    ++changes_;
}

void EditorTab::wordWrapClicked() { ApplyWordWrap(CheckBox1->isChecked()); }

void EditorTab::ApplyWordWrap(bool on) {
    const auto mode = on ? QsciScintilla::WrapWord : QsciScintilla::WrapNone;
    if (RE1->wrapMode() != mode) RE1->setWrapMode(mode);
}

void EditorTab::insertShownSnippet() { InsertSnippet(BtnPopup1->Caption()); }

void EditorTab::insertMenuSnippet(QAction* entry) {
    QString caption = entry->text();
    caption.remove(u'&');
    ShowSnippet(caption);
    InsertSnippet(caption);
}

void EditorTab::ShowSnippet(const QString& snippet) {
    BtnPopup1->SetCaption(snippet);
    // Wide enough for a short tag; a longer snippet shows its start, and the
    // tip and the accessible name give it whole.
    const int face = BtnPopup1->fontMetrics().horizontalAdvance(snippet) + 10;
    BtnPopup1->setFixedSize(std::clamp(face + BtnPopup1->ArrowWidth(), 42, 72), 26);
    SetHintParts(BtnPopup1, snippet, snippet);
    BtnPopup1->setAccessibleName(snippet);
}

void EditorTab::UpdateClipboardButtons() {
    const bool selected = RE1->HasSelection();
    SpeedButton1->setEnabled(selected);
    SpeedButton2->setEnabled(selected);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    SpeedButton3->setEnabled(data && data->hasText());
}

bool EditorTab::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == RE1) BtnPopup1->setEnabled(true);
        break;
    case QEvent::KeyRelease:
        if (watched == RE1 && Edited()) Q_EMIT SourceEdited();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (watched == RE1->viewport()) {
            // After the editor has moved its selection.
            QMetaObject::invokeMethod(this, &EditorTab::UpdateClipboardButtons, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

EditorTab::WrapPause::WrapPause(EditorTab& tab) : tab_(tab) { tab_.ApplyWordWrap(false); }

EditorTab::WrapPause::~WrapPause() { tab_.ApplyWordWrap(tab_.CheckBox1->isChecked()); }

}  // namespace veskaron::ui
