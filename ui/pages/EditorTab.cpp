#include "ui/pages/EditorTab.h"

#include "ui/pages/DocText.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QThreadPool>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/BtnPopup.h"
#include "session/Messages.h"
#include "ui/common/Hints.h"

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

    RE1 = new QPlainTextEdit;
    RE1->setObjectName(QStringLiteral("RE1"));
    RE1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RE1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
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
    connect(SpeedButton1, &QToolButton::clicked, RE1, &QPlainTextEdit::cut);
    connect(SpeedButton2, &QToolButton::clicked, RE1, &QPlainTextEdit::copy);
    connect(SpeedButton3, &QToolButton::clicked, RE1, &QPlainTextEdit::paste);
    connect(SpeedButton4, &QToolButton::clicked, RE1, &QPlainTextEdit::undo);
    connect(CheckBox1, &QCheckBox::clicked, this, &EditorTab::wordWrapClicked);
    connect(BtnPopup1, &TBtnPopup::OnClick, this, &EditorTab::insertShownSnippet);
    connect(PopupMenu2, &QMenu::triggered, this, &EditorTab::insertMenuSnippet);
    connect(RE1, &QPlainTextEdit::textChanged, this, &EditorTab::sourceTextChanged);
    connect(RE1, &QPlainTextEdit::modificationChanged, this, [this](bool modified) {
        if (modified) Q_EMIT SourceEdited();
    });
    RE1->installEventFilter(this);
    RE1->viewport()->installEventFilter(this);
}

void EditorTab::LoadText(const QString& text) {
    WrapPause pause(*this);
    QTextDocument* doc = RE1->document();
    doc->setUndoRedoEnabled(false);
    RE1->setPlainText(text);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    QTextCursor start(doc);
    RE1->setTextCursor(start);
}

void EditorTab::ReplaceText(const QString& text) {
    const int caret = RE1->textCursor().position();
    const int vertical = RE1->verticalScrollBar()->value();
    const int horizontal = RE1->horizontalScrollBar()->value();
    LoadText(text);
    QTextCursor cursor(RE1->document());
    cursor.setPosition(std::min(caret, RE1->document()->characterCount() - 1));
    RE1->setTextCursor(cursor);
    RE1->verticalScrollBar()->setValue(vertical);
    RE1->horizontalScrollBar()->setValue(horizontal);
}

struct EditorTab::Prepared {
    // Without a thread until it is shown, so either side may delete it.
    std::unique_ptr<QTextDocument> doc;
};

void EditorTab::PrepareText(std::uint64_t revision, std::function<QString()> make) {
    auto promise = std::make_shared<std::promise<std::shared_ptr<Prepared>>>();
    prepared_ = promise->get_future().share();
    preparedRevision_ = revision;
    const QTextDocument* shown = RE1->document();
    QThreadPool::globalInstance()->start([promise, make = std::move(make), font = shown->defaultFont(),
                                          option = shown->defaultTextOption(),
                                          margin = shown->documentMargin()] {
        auto prepared = std::make_shared<Prepared>();
        prepared->doc = std::make_unique<QTextDocument>();
        QTextDocument* doc = prepared->doc.get();
        doc->setDocumentLayout(new QPlainTextDocumentLayout(doc));
        doc->setDefaultFont(font);
        doc->setDefaultTextOption(option);
        doc->setDocumentMargin(margin);
        doc->setUndoRedoEnabled(false);
        doc->setPlainText(make());
        doc->setUndoRedoEnabled(true);
        doc->setModified(false);
        doc->moveToThread(nullptr);
        promise->set_value(std::move(prepared));
    });
}

bool EditorTab::ShowPreparedText(std::uint64_t revision, bool keepCaret) {
    if (!prepared_.valid() || preparedRevision_ != revision) return false;
    const std::shared_ptr<Prepared> prepared = prepared_.get();
    prepared_ = {};
    if (!prepared->doc) return false;
    const int caret = RE1->textCursor().position();
    const int vertical = RE1->verticalScrollBar()->value();
    const int horizontal = RE1->horizontalScrollBar()->value();
    QTextDocument* doc = prepared->doc.release();
    doc->moveToThread(thread());
    {
        WrapPause pause(*this);
        SetDocument(doc);
    }
    QTextCursor cursor(doc);
    if (keepCaret) cursor.setPosition(std::min(caret, doc->characterCount() - 1));
    RE1->setTextCursor(cursor);
    if (keepCaret) {
        RE1->verticalScrollBar()->setValue(vertical);
        RE1->horizontalScrollBar()->setValue(horizontal);
    }
    return true;
}

void EditorTab::SetDocument(QTextDocument* doc) {
    QTextDocument* old = RE1->document();
    // The editor deletes the document it made itself; the prepared ones are ours.
    const bool ours = old->parent() == RE1;
    doc->setParent(RE1);
    RE1->setDocument(doc);
    if (ours) old->deleteLater();
}

QString EditorTab::Text() const { return PlainText(*RE1); }

bool EditorTab::Edited() const { return RE1->document()->isModified(); }

void EditorTab::ClearEdited() { RE1->document()->setModified(false); }

qint64 EditorTab::TextLength() const {
    const QTextDocument* doc = RE1->document();
    // characterCount holds one separator per block; a line break is two characters.
    return qint64(doc->characterCount()) - 1 + (doc->blockCount() - 1);
}

void EditorTab::DisableSnippetButton() { BtnPopup1->setEnabled(false); }

void EditorTab::BuildSnippetMenu(const QStringList& lines) {
    PopupMenu2->clear();
    for (const QString& line : lines) PopupMenu2->addAction(line);
}

void EditorTab::InsertSnippet(const QString& snippet) {
    QTextCursor cursor = RE1->textCursor();
    if (cursor.selectionStart() == 0) return;
    // The insertion is not undoable: undo must not bring back what it replaced
    // (nor anything before it).
    QTextDocument* doc = RE1->document();
    doc->setUndoRedoEnabled(false);
    cursor.insertText(snippet);
    doc->setUndoRedoEnabled(true);
    RE1->setTextCursor(cursor);
    const QString inserted = msg::kSnippetInserted + snippet;
    SetHintParts(RE1, snippet, inserted);
    Q_EMIT HintShown(inserted);
    Q_EMIT SourceEdited();
}

void EditorTab::sourceTextChanged() {
    // The notifications of a load come before the counter is reset; the next
    // two leave the labels as the load set them.
    if (changes_ > 1) Q_EMIT CurrentSize(TextLength());
    ++changes_;
}

void EditorTab::wordWrapClicked() { ApplyWordWrap(CheckBox1->isChecked()); }

void EditorTab::ApplyWordWrap(bool on) {
    const auto mode = on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap;
    if (RE1->lineWrapMode() != mode) RE1->setLineWrapMode(mode);
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
    const bool selected = RE1->textCursor().hasSelection();
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
