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
    insertBlockButton_ = new QPushButton(msg::kInsertBlockButton);
    insertBlockButton_->setObjectName(QStringLiteral("Button3"));
    SetHint(insertBlockButton_, msg::kInsertBlockHint);
    cutButton_ = ToolButton("SpeedButton1", "edit-cut", msg::kCutButton, msg::kCutHint);
    copyButton_ = ToolButton("SpeedButton2", "edit-copy", msg::kCopyButton, msg::kCopyHint);
    pasteButton_ = ToolButton("SpeedButton3", "edit-paste", msg::kPasteButton, msg::kPasteHint);
    undoButton_ = ToolButton("SpeedButton4", "edit-undo", msg::kUndoButton, msg::kUndoHint);
    wordWrapBox_ = new QCheckBox(msg::kWordWrap);
    wordWrapBox_->setObjectName(QStringLiteral("CheckBox1"));
    SetHint(wordWrapBox_, msg::kWordWrapHint);
    snippetMenu_ = new QMenu(this);
    snippetMenu_->setObjectName(QStringLiteral("PopupMenu2"));
    snippetButton_ = new TBtnPopup;
    snippetButton_->setObjectName(QStringLiteral("BtnPopup1"));
    snippetButton_->SetFlat(true);
    snippetButton_->SetDropDown(snippetMenu_);
    ShowSnippet(QStringLiteral("<br>"));
    snippetButton_->setEnabled(false);

    editor_ = new SourceView;
    editor_->setObjectName(QStringLiteral("RE1"));
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->SetViewFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    SetHelpTopic(editor_, 13);

    // A tool bar moves what does not fit into its overflow menu on a narrow window.
    auto* bar = new QToolBar;
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setFloatable(false);
    bar->setMovable(false);
    bar->addWidget(insertBlockButton_);
    bar->addSeparator();
    for (QToolButton* b : {cutButton_, copyButton_, pasteButton_, undoButton_}) bar->addWidget(b);
    bar->addSeparator();
    bar->addWidget(wordWrapBox_);
    bar->addSeparator();
    bar->addWidget(snippetButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(bar);
    layout->addWidget(editor_, 1);

    connect(insertBlockButton_, &QPushButton::clicked, this, &EditorTab::InsertMetaBlock);
    connect(cutButton_, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::cut); });
    connect(copyButton_, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::copy); });
    connect(pasteButton_, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::paste); });
    connect(undoButton_, &QToolButton::clicked, this, [this] { RunOnEditor(&SourceView::undo); });
    connect(wordWrapBox_, &QCheckBox::clicked, this, &EditorTab::wordWrapClicked);
    connect(snippetButton_, &TBtnPopup::OnClick, this, &EditorTab::insertShownSnippet);
    connect(snippetMenu_, &QMenu::triggered, this, &EditorTab::insertMenuSnippet);
    connect(editor_, &SourceView::Changed, this, &EditorTab::sourceTextChanged);
    connect(editor_, &SourceView::EditedChanged, this, &EditorTab::SourceEdited);
    editor_->installEventFilter(this);
    editor_->viewport()->installEventFilter(this);
}

void EditorTab::LoadText(const QString& text) {
    WrapPause pause(*this);
    shownSize_.reset();
    editor_->SetText(text);
}

void EditorTab::ReplaceText(const QString& text) {
    const int caret = editor_->CaretByte();
    const SourceView::Scroll scroll = editor_->ScrollPosition();
    LoadText(text);
    editor_->PlaceCaretNear(caret);
    editor_->SetScrollPosition(scroll);
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
    const int caret = editor_->CaretByte();
    const SourceView::Scroll scroll = editor_->ScrollPosition();
    {
        WrapPause pause(*this);
        shownSize_.reset();
        editor_->SetShown(shown);
    }
    if (keepCaret) {
        editor_->PlaceCaretNear(caret);
        editor_->SetScrollPosition(scroll);
    }
    return true;
}

QString EditorTab::Text() const { return editor_->Text(); }

bool EditorTab::Edited() const { return editor_->Edited(); }

void EditorTab::ClearEdited() {
    // What the view holds now is what the file has.
    if (shownSize_) shownSize_ = SizeOnSave();
    editor_->ClearEdited();
}

qint64 EditorTab::TextLength() const { return editor_->Length(); }

void EditorTab::SetSizeMeasure(qint64 shown, int lineBreak, std::function<int(char32_t)> other) {
    shownSize_ = shown;
    editor_->SetByteMeasure(lineBreak, std::move(other));
}

qint64 EditorTab::SizeOnSave() const {
    if (!shownSize_) return TextLength();
    return *shownSize_ + editor_->BytesSinceSet();
}

void EditorTab::RunOnEditor(void (SourceView::*action)()) {
    editor_->AsOneChange([this, action] { (editor_->*action)(); });
}

void EditorTab::DisableSnippetButton() { snippetButton_->setEnabled(false); }

void EditorTab::BuildSnippetMenu(const QStringList& lines) {
    snippetMenu_->clear();
    for (const QString& line : lines) snippetMenu_->addAction(line);
}

void EditorTab::InsertSnippet(const QString& snippet) {
    if (editor_->SelectionStartByte() == 0) return;
    editor_->ReplaceSelectionQuietly(snippet);
    const QString inserted = msg::kSnippetInserted + snippet;
    SetHintParts(editor_, snippet, inserted);
    Q_EMIT HintShown(inserted);
    Q_EMIT SourceEdited();
}

void EditorTab::sourceTextChanged() {
    // The notifications of a load come before the counter is reset; the next
    // two leave the labels as the load set them.
    if (changes_ > 1) Q_EMIT CurrentSize(SizeOnSave());
    ++changes_;
}

void EditorTab::wordWrapClicked() { ApplyWordWrap(wordWrapBox_->isChecked()); }

void EditorTab::ApplyWordWrap(bool on) {
    const auto mode = on ? QsciScintilla::WrapWord : QsciScintilla::WrapNone;
    if (editor_->wrapMode() != mode) editor_->setWrapMode(mode);
}

void EditorTab::insertShownSnippet() { InsertSnippet(snippetButton_->Caption()); }

void EditorTab::insertMenuSnippet(QAction* entry) {
    QString caption = entry->text();
    caption.remove(u'&');
    ShowSnippet(caption);
    InsertSnippet(caption);
}

void EditorTab::ShowSnippet(const QString& snippet) {
    snippetButton_->SetCaption(snippet);
    // Wide enough for a short tag; a longer snippet shows its start, and the
    // tip and the accessible name give it whole.
    const int face = snippetButton_->fontMetrics().horizontalAdvance(snippet) + 10;
    snippetButton_->setFixedSize(std::clamp(face + snippetButton_->ArrowWidth(), 42, 72), 26);
    SetHintParts(snippetButton_, snippet, snippet);
    snippetButton_->setAccessibleName(snippet);
}

void EditorTab::UpdateClipboardButtons() {
    const bool selected = editor_->HasSelection();
    cutButton_->setEnabled(selected);
    copyButton_->setEnabled(selected);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    pasteButton_->setEnabled(data && data->hasText());
}

bool EditorTab::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == editor_) snippetButton_->setEnabled(true);
        break;
    case QEvent::KeyRelease:
        if (watched == editor_ && Edited()) Q_EMIT SourceEdited();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (watched == editor_->viewport()) {
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

EditorTab::WrapPause::~WrapPause() { tab_.ApplyWordWrap(tab_.wordWrapBox_->isChecked()); }

}  // namespace veskaron::ui
