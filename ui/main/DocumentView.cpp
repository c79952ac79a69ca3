#include "ui/main/DocumentView.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QUrl>
#include <utility>

#include "engine/catalogue.h"
#include "engine/loader.h"
#include "engine/robots_directives.h"
#include "engine/translations.h"
#include "engine/serp.h"
#include "messages/page_texts.h"
#include "messages/window_texts.h"
#include "ui/common/Dialogs.h"
#include "ui/keywords/KeywordWindow.h"
#include "ui/main/FileBrowserPane.h"
#include "ui/main/PreviewFile.h"
#include "ui/main/StatusBar.h"
#include "ui/pages/DocText.h"
#include "ui/pages/EditorTab.h"
#include "ui/pages/HttpPage.h"
#include "ui/pages/NamePage.h"
#include "ui/pages/SerpPreview.h"
#include "ui/pages/SocialPage.h"

namespace veskaron::ui {
namespace {

// Which mark an edit sets; none for the values the snapshot compares.
std::optional<session::EditMark> MarkOf(FieldEdit kind) {
    using session::EditMark;
    switch (kind) {
    case FieldEdit::Title: return EditMark::Title;
    case FieldEdit::Description: return EditMark::Description;
    case FieldEdit::Keywords: return EditMark::Keywords;
    case FieldEdit::ContentType: return EditMark::ContentType;
    case FieldEdit::Refresh: return EditMark::Refresh;
    case FieldEdit::Expiry: return EditMark::Expiry;
    case FieldEdit::Compare: break;
    }
    return std::nullopt;
}

}  // namespace

DocumentView::DocumentView(QWidget* window, session::Settings& settings, const DocumentControls& controls)
    : QObject(window), window_(window), settings_(settings), c_(controls),
      session_(new session::DocumentSession(this)) {
    bindSession();
}

void DocumentView::bindSession() {
    session::DocumentSession* s = session_;
    // The editor is read back only when the user changed its text.
    s->setEditedSource([this]() -> std::optional<QString> {
        if (!c_.editor->Edited()) return std::nullopt;
        return c_.editor->Text();
    });
    connect(s, &session::DocumentSession::loaded, this, &DocumentView::showLoaded);
    connect(s, &session::DocumentSession::modifiedChanged, this, &DocumentView::showDocumentState);
    connect(s, &session::DocumentSession::textChanged, this, &DocumentView::showTextChanged);
    connect(s, &session::DocumentSession::saved, this, [this](const session::Notices& notices) {
        c_.editor->ClearEdited();
        showFileSize();
        showNotices(notices);
    });
    connect(s, &session::DocumentSession::failed, this, &DocumentView::showNotices);

    connect(c_.names, &NamePage::Edited, this, &DocumentView::fieldEdited);
    c_.names->SetCodecSource([s]() -> const TextCodec& { return s->codec(); });
    connect(c_.names, &NamePage::SnippetTextsChanged, this, &DocumentView::showSnippetTexts);
    c_.social->SetPageTexts([this] { return std::pair{c_.names->TitleText(), PlainText(*c_.names->Description())}; });
    connect(c_.social, &SocialPage::Edited, this, [this] {
        showSnippetAddress();
        if (quiet_ || loading_ || !session_->isOpen()) return;
        session_->setModernFields(c_.social->Read(session_->document().modern, session_->codec(), nullptr));
    });
    connect(c_.http, &HttpPage::Edited, this, &DocumentView::fieldEdited);
    connect(c_.editor, &EditorTab::SourceEdited, this, &DocumentView::sourceEdited);
    connect(c_.editor, &EditorTab::CurrentSize, this, &DocumentView::showSourceSize);
    connect(c_.editor, &EditorTab::InsertMetaBlock, this, &DocumentView::insertMetaBlock);
    connect(c_.editor, &EditorTab::HintShown, this, [this](const QString& hint) { c_.status->SetPanel(1, hint); });
    connect(c_.tabs, &QTabWidget::currentChanged, this, &DocumentView::fillEditorIfStale);
}

// ---- Keyword generator ----

std::string DocumentView::SourceBytes() const { return session_->sourceBytes(); }

const TextCodec& DocumentView::Codec() const { return session_->codec(); }

QString DocumentView::Description() const { return PlainText(*c_.names->Description()); }

QString DocumentView::Keywords() const { return PlainText(*c_.names->KeywordsBox()); }

void DocumentView::SetKeywords(const QString& keywords) {
    // Replacing the text counts as the user's edit (undoable in the box).
    QString text = keywords;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor(c_.names->KeywordsBox()->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

int DocumentView::MinWord() const { return settings_.minWordLength(); }

session::Settings& DocumentView::RunSettings() const { return settings_; }

void DocumentView::showKeywordGenerator() {
    KeywordWindow generator(*this, window_);
    CurrentDialogs().ExecModal(generator);
}

// ---- The views ----

MetaFields DocumentView::fieldsFromPages(std::size_t* references) const {
    MetaFields fields = session_->document().fields;
    c_.names->ReadInto(fields, session_->codec(), references);
    c_.http->ReadInto(fields, session_->codec(), references);
    return fields;
}

void DocumentView::handFieldsToSession(std::size_t* references) {
    session_->setModernFields(c_.social->Read(session_->document().modern, session_->codec(), references));
    session_->setFields(fieldsFromPages(references), references);
}

void DocumentView::fieldEdited(FieldEdit kind) {
    // The window's own filling of the controls is no edit; the fields are
    // read once the filling is over.
    if (quiet_ || loading_ || !session_->isOpen()) return;
    handFieldsToSession();
    if (const auto mark = MarkOf(kind)) session_->markEdited(*mark);
    if (kind == FieldEdit::Compare) showIndexing();
}

void DocumentView::showIndexing() {
    const Document& doc = session_->document();
    if (doc.path.empty()) return;
    const std::string root = site::SiteRootOf(doc.path);
    if (root != indexing_.root) indexing_ = site::LoadSiteIndexing(root, {}, Robot::Google);
    const std::string words = EntryContentText(kRobots, doc.fields, doc.kind);
    const site::Indexability v = site::JudgeIndexability(doc, doc.path, indexing_, &words);
    c_.names->ShowIndexing(v.indexable ? msg::kIndexable
                                        : msg::kNotIndexable.arg(msg::site::IndexingText(false, v.reason == site::IndexReason::None
                                                                                                  ? std::string()
                                                                                                  : std::string(site::IndexReasonCode(v.reason)))
                                                                     .mid(5)),
                            QString::fromStdString(v.detail));
    showSnippetTexts();
}

void DocumentView::sourceEdited() {
    if (session_->isOpen()) session_->setSourceEdited(c_.editor->Edited());
}

// The download time of `bytes` at the settings' modem speed.
QString DocumentView::downloadTimeText(qint64 bytes) const {
    const auto hundredths = DownloadHundredths(bytes, std::to_string(settings_.modemSpeed()));
    return hundredths ? FromUtf8(DownloadTimeText(*hundredths)) : QString();
}

void DocumentView::showSourceSize(qint64 bytes) {
    c_.browser->SetCurrentStats(msg::kSizeBytes.arg(bytes), downloadTimeText(bytes));
}

// The page file as read or last written.
void DocumentView::showFileSize() {
    const qint64 bytes = session_->sizeOnSave();
    c_.browser->SetLoadedStats(msg::kSizeBytes.arg(bytes), downloadTimeText(bytes));
}

bool DocumentView::onEditorTab() const { return c_.tabs->currentWidget() == c_.editor; }

void DocumentView::showSnippetTexts() {
    // A result shows no more of the description than the robots words allow.
    const Document& doc = session_->document();
    RobotsDirectives words = TagDirectives(doc.robotsTags, Robot::Google, false);
    AddDirectives(words, EntryContentText(kRobots, doc.fields, doc.kind), "robots");
    c_.social->Serp()->SetTexts(c_.names->MeasuredTitle(), SnippetAllowed(c_.names->MeasuredDescription(), words));
    c_.social->UpdateCard();
}

// The canonical address as the field holds it, else the page's address
// within its site, as the command line's search result shows them.
void DocumentView::showSnippetAddress() {
    c_.social->Serp()->SetAddress(QString::fromStdString(site::AddressInSite(
        c_.social->Canonical().trimmed().toStdString(), session_->document().path, snippetRoot_)));
}

void DocumentView::showModernHead(const ModernHead& head) {
    const Document& doc = session_->document();
    snippetRoot_ = site::FindSiteRoot(doc.path, siteFolder_ ? siteFolder_().toStdString() : std::string());
    c_.social->Show(doc.modern, head, *doc.codec);
    showSnippetAddress();
}

void DocumentView::showDocumentState() {
    const bool open = session_->isOpen();
    const bool modified = open && session_->isModified();
    if (open) c_.status->SetPanel(0, modified ? msg::kModifiedStatus : QString());
    c_.save->setEnabled(modified && !loading_);
    c_.generator->setEnabled(open && !loading_);
}

void DocumentView::showNotices(const session::Notices& notices) {
    for (const session::Notice& notice : notices) {
        switch (notice.kind) {
        case session::Notice::Kind::Error: CurrentDialogs().Error(window_, notice.text); break;
        case session::Notice::Kind::Warning:
            CurrentDialogs().Message(window_, MessageKind::Warning, msg::kCaptionAttention, notice.text);
            break;
        case session::Notice::Kind::Information:
            CurrentDialogs().Message(window_, MessageKind::Information, msg::kCaptionAttention, notice.text);
            break;
        }
    }
}

// The editor is a view of the session's text: filled when it is shown, so
// a load or a save on the field pages never moves the whole page through it;
// the text it will show is prepared in the background meanwhile.
void DocumentView::fillEditorIfStale() {
    const std::uint64_t revision = session_->textRevision();
    if (!onEditorTab() || editorRevision_ == revision) return;
    const bool reload = std::exchange(editorReload_, false);
    quiet_ = true;
    if (c_.editor->ShowPreparedText(revision, !reload)) {
        session_->noteSourceShown(*preparedLoneCr_);
        if (reload) c_.editor->ResetChangeCounter();
    } else if (reload) {
        c_.editor->LoadText(session_->sourceText());
        c_.editor->ResetChangeCounter();
    } else {
        c_.editor->ReplaceText(session_->sourceText());
    }
    // The sizes the editor tells are the bytes a save writes.
    session::DocumentSession* s = session_;
    c_.editor->SetSizeMeasure(s->sizeOnSave(), s->lineBreakOnSave(),
                            [s](char32_t c) { return s->bytesOnSave(c); });
    quiet_ = false;
    editorRevision_ = revision;
}

void DocumentView::prepareEditorText() {
    const Document& doc = session_->document();
    preparedLoneCr_ = std::make_shared<bool>(false);
    c_.editor->PrepareText(session_->textRevision(),
                         [bytes = doc.page.text, codec = doc.codec, loneCr = preparedLoneCr_] {
                             session::ShownSourceUtf8 shown = session::ToShownSourceUtf8(bytes, *codec);
                             *loneCr = shown.loneCr;
                             return std::move(shown.utf8);
                         });
}

void DocumentView::showTextChanged() {
    quiet_ = true;
    c_.http->Show(session_->shownFields(), session_->codec(), c_.http->refreshUrlBox()->isEnabled());
    const Document& doc = session_->document();
    showModernHead(ReadModernHead(doc.page.text, doc.codec.get()));
    quiet_ = false;
    if (onEditorTab()) {
        fillEditorIfStale();
    } else {
        // Not an edit: the editor shows the new text when it is next shown.
        c_.editor->ClearEdited();
        prepareEditorText();
    }
}

// ---- Load ----

void DocumentView::loadChosenFile(const QString& path) {
    c_.save->setEnabled(false);
    c_.generator->setEnabled(false);
    if (path.isEmpty()) return;
    if (session_->isModified()) {
        const Answer answer = CurrentDialogs().AskYesNoCancel(window_, msg::kCaptionAttention, msg::kSaveQuestion);
        // A save that failed or was refused keeps the page open as it is.
        if (answer == Answer::Cancel || (answer == Answer::Yes && !saveDocument())) {
            c_.browser->SelectLoaded();
            showDocumentState();
            return;
        }
    }
    loading_ = true;
    c_.browser->SetFileListEnabled(false);
    LoadOptions options;
    options.modemSpeed = std::to_string(settings_.modemSpeed());
    options.now = CurrentDateTime();
    options.decimalSeparator = LocaleDecimalSeparator();
    // Values a page leaves unchanged keep what the window shows.
    handFieldsToSession();
    if (!session_->load(path, options)) {
        loading_ = false;
        c_.browser->SetFileListEnabled(true);
        c_.browser->SelectLoaded();
        showDocumentState();
        return;
    }
    Q_EMIT pageChosen(path);
}

void DocumentView::showLoaded(const LoadReport& report) {
    const Document& doc = session_->document();
    const QString path = QString::fromStdString(doc.path);
    quiet_ = true;
    showFileSize();
    c_.browser->AddFolderToHistory(QFileInfo(path).absolutePath());
    const MetaFields shown = session_->shownFields();
    c_.names->Show(shown, *doc.codec);
    showModernHead(report.modernHead);
    c_.http->Show(shown, *doc.codec,
                    report.ok ? report.refreshUrlEnabled : c_.http->refreshUrlBox()->isEnabled());

    // The closing steps run whether or not the filling finished.
    c_.browser->SetCurrentStats(msg::kNoBytes, msg::kNoSeconds);
    quiet_ = false;
    // The values as the controls hold them are the snapshot's.
    handFieldsToSession();
    loading_ = false;
    c_.editor->ClearEdited();
    editorReload_ = true;
    c_.preview->setEnabled(true);
    c_.browser->SetFileListEnabled(true);
    c_.tabs->setEnabled(true);
    if (restoredTab_ >= 0) c_.tabs->setCurrentIndex(std::exchange(restoredTab_, -1));
    c_.browser->MarkLoaded(path);
    c_.editor->ResetChangeCounter();
    if (report.ok) c_.editor->DisableSnippetButton();
    showIndexing();
    if (!report.unread.empty()) {
        // These keep the values the window showed before: say which.
        QStringList keys;
        for (int index : report.unread) keys << FromUtf8(CatalogueAt(index).key);
        c_.status->SetPanel(1, msg::kUnreadFields.arg(keys.join(QStringLiteral(", "))));
    }
    // The session's snapshot follows; the editor fills now if it is showing.
    if (onEditorTab()) {
        fillEditorIfStale();
    } else {
        prepareEditorText();
    }
    showDocumentState();
}

// ---- Save, preview, new block ----

bool DocumentView::saveDocument() {
    if (!session_->isOpen()) return false;
    std::size_t references = 0;
    handFieldsToSession(&references);
    SaveOptions options;
    options.asEdited = onEditorTab();
    options.backup = settings_.backupFiles();
    options.writer = settings_.writerOptions();
    const bool saved = session_->save(options, references);
    showDocumentState();
    return saved;
}

void DocumentView::previewDocument() {
    if (!session_->isOpen()) return;
    handFieldsToSession();
    session_->preview(settings_.writerOptions(), [this](const std::string& file) {
        const QString path = QString::fromStdString(file);
        const int number = c_.previewFile->Written(path);
        CurrentDialogs().OpenUrl(QUrl::fromLocalFile(path), [view = QPointer<DocumentView>(this), number, path](bool opened) {
            if (!view) return;
            view->c_.previewFile->Opened(number, opened);
            if (!opened) Q_EMIT view->noBrowser(path);
        });
    });
}

void DocumentView::insertMetaBlock() {
    if (!session_->isOpen()) return;
    handFieldsToSession();
    session_->insertMetaBlock(settings_.writerOptions());
}

}  // namespace veskaron::ui
