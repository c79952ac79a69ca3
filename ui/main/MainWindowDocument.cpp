// The main window as the view of the open document: the pages hand their
// values to the session, and show what its signals report.
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
#include "session/Messages.h"
#include "ui/common/Dialogs.h"
#include "ui/keywords/KeywordWindow.h"
#include "ui/main/FileBrowserPane.h"
#include "ui/main/MainWindow.h"
#include "ui/main/PreviewFile.h"
#include "ui/main/StatusBar.h"
#include "ui/pages/DocText.h"
#include "ui/pages/EditorTab.h"
#include "ui/pages/HttpPage.h"
#include "ui/pages/NamePage.h"
#include "ui/pages/SerpPreview.h"
#include "ui/pages/SocialPage.h"
#include "ui/site/SiteWindow.h"

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

void MainWindow::BindSession() {
    session::DocumentSession* s = session_;
    // The editor is read back only when the user changed its text.
    s->setEditedSource([this]() -> std::optional<QString> {
        if (!editor_->Edited()) return std::nullopt;
        return editor_->Text();
    });
    connect(s, &session::DocumentSession::loaded, this, &MainWindow::showLoaded);
    connect(s, &session::DocumentSession::modifiedChanged, this, &MainWindow::showDocumentState);
    connect(s, &session::DocumentSession::textChanged, this, &MainWindow::showTextChanged);
    connect(s, &session::DocumentSession::saved, this, [this](const session::Notices& notices) {
        editor_->ClearEdited();
        showFileSize();
        showNotices(notices);
    });
    connect(s, &session::DocumentSession::failed, this, &MainWindow::showNotices);

    connect(namePage_, &NamePage::Edited, this, &MainWindow::fieldEdited);
    namePage_->SetCodecSource([s]() -> const TextCodec& { return s->codec(); });
    connect(namePage_, &NamePage::SnippetTextsChanged, this, &MainWindow::showSnippetTexts);
    socialPage_->SetPageTexts([this] { return std::pair{namePage_->TitleText(), PlainText(*namePage_->Description())}; });
    connect(socialPage_, &SocialPage::Edited, this, [this] {
        showSnippetAddress();
        if (quiet_ || loading_ || !session_->isOpen()) return;
        session_->setModernFields(socialPage_->Read(session_->document().modern, session_->codec(), nullptr));
    });
    connect(httpPage_, &HttpPage::Edited, this, &MainWindow::fieldEdited);
    connect(editor_, &EditorTab::SourceEdited, this, &MainWindow::sourceEdited);
    connect(editor_, &EditorTab::CurrentSize, this, &MainWindow::showSourceSize);
    connect(editor_, &EditorTab::InsertMetaBlock, this, &MainWindow::insertMetaBlock);
    connect(editor_, &EditorTab::HintShown, this, [this](const QString& hint) { status_->SetPanel(1, hint); });
    connect(PageControl1, &QTabWidget::currentChanged, this, &MainWindow::fillEditorIfStale);
}

// ---- Settings read at the moment of use ----

std::string MainWindow::modemSpeed() const { return std::to_string(settings().modemSpeed()); }
MetaWriteOptions MainWindow::writerOptions() const { return settings().writerOptions(); }
bool MainWindow::backupFiles() const { return settings().backupFiles(); }

// ---- Keyword generator ----

std::string MainWindow::SourceBytes() const { return session_->sourceBytes(); }

const TextCodec& MainWindow::Codec() const { return session_->codec(); }

QString MainWindow::Description() const { return PlainText(*namePage_->Description()); }

QString MainWindow::Keywords() const { return PlainText(*namePage_->KeywordsBox()); }

void MainWindow::SetKeywords(const QString& keywords) {
    // Replacing the text counts as the user's edit (undoable in the box).
    QString text = keywords;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor(namePage_->KeywordsBox()->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

int MainWindow::MinWord() const { return settings().minWordLength(); }

session::Settings& MainWindow::RunSettings() const { return *settings_; }

void MainWindow::showKeywordGenerator() {
    KeywordWindow generator(*this, this);
    CurrentDialogs().ExecModal(generator);
}

// ---- The views ----

MetaFields MainWindow::fieldsFromPages(std::size_t* references) const {
    MetaFields fields = session_->document().fields;
    namePage_->ReadInto(fields, session_->codec(), references);
    httpPage_->ReadInto(fields, session_->codec(), references);
    return fields;
}

void MainWindow::handFieldsToSession(std::size_t* references) {
    session_->setModernFields(socialPage_->Read(session_->document().modern, session_->codec(), references));
    session_->setFields(fieldsFromPages(references), references);
}

void MainWindow::fieldEdited(FieldEdit kind) {
    // The window's own filling of the controls is no edit; the fields are
    // read once the filling is over.
    if (quiet_ || loading_ || !session_->isOpen()) return;
    handFieldsToSession();
    if (const auto mark = MarkOf(kind)) session_->markEdited(*mark);
    if (kind == FieldEdit::Compare) showIndexing();
}

void MainWindow::showIndexing() {
    const Document& doc = session_->document();
    if (doc.path.empty()) return;
    const std::string root = site::SiteRootOf(doc.path);
    if (root != indexing_.root) indexing_ = site::LoadSiteIndexing(root, {}, Robot::Google);
    const std::string words = EntryContentText(kRobots, doc.fields, doc.kind);
    const site::Indexability v = site::JudgeIndexability(doc, doc.path, indexing_, &words);
    namePage_->ShowIndexing(v.indexable ? msg::kIndexable
                                        : msg::kNotIndexable.arg(msg::site::IndexingText(false, v.reason == site::IndexReason::None
                                                                                                  ? std::string()
                                                                                                  : std::string(site::IndexReasonCode(v.reason)))
                                                                     .mid(5)),
                            QString::fromStdString(v.detail));
    showSnippetTexts();
}

void MainWindow::sourceEdited() {
    if (session_->isOpen()) session_->setSourceEdited(editor_->Edited());
}

// The download time of `bytes` at the settings' modem speed.
QString MainWindow::downloadTimeText(qint64 bytes) const {
    const auto hundredths = DownloadHundredths(bytes, modemSpeed());
    return hundredths ? FromUtf8(DownloadTimeText(*hundredths)) : QString();
}

void MainWindow::showSourceSize(qint64 bytes) {
    browser_->SetCurrentStats(msg::kSizeBytes.arg(bytes), downloadTimeText(bytes));
}

// The page file as read or last written.
void MainWindow::showFileSize() {
    const qint64 bytes = session_->sizeOnSave();
    browser_->SetLoadedStats(msg::kSizeBytes.arg(bytes), downloadTimeText(bytes));
}

bool MainWindow::OnEditorTab() const { return PageControl1->currentWidget() == editor_; }

void MainWindow::showSnippetTexts() {
    // A result shows no more of the description than the robots words allow.
    const Document& doc = session_->document();
    RobotsDirectives words = TagDirectives(doc.robotsTags, Robot::Google, false);
    AddDirectives(words, EntryContentText(kRobots, doc.fields, doc.kind), "robots");
    socialPage_->Serp()->SetTexts(namePage_->MeasuredTitle(), SnippetAllowed(namePage_->MeasuredDescription(), words));
    socialPage_->UpdateCard();
}

// The canonical address as the field holds it, else the page's address
// within its site, as the command line's search result shows them.
void MainWindow::showSnippetAddress() {
    socialPage_->Serp()->SetAddress(QString::fromStdString(site::AddressInSite(
        socialPage_->Canonical().trimmed().toStdString(), session_->document().path, snippetRoot_)));
}

void MainWindow::showModernHead(const ModernHead& head) {
    const Document& doc = session_->document();
    snippetRoot_ = site::FindSiteRoot(doc.path, site_ ? site_->folder().toStdString() : std::string());
    socialPage_->Show(doc.modern, head, *doc.codec);
    showSnippetAddress();
}

void MainWindow::showDocumentState() {
    const bool open = session_->isOpen();
    const bool modified = open && session_->isModified();
    if (open) status_->SetPanel(0, modified ? msg::kModifiedStatus : QString());
    BitSave->setEnabled(modified && !loading_);
    ButGen->setEnabled(open && !loading_);
}

void MainWindow::showNotices(const session::Notices& notices) {
    for (const session::Notice& notice : notices) {
        switch (notice.kind) {
        case session::Notice::Kind::Error: CurrentDialogs().Error(this, notice.text); break;
        case session::Notice::Kind::Warning:
            CurrentDialogs().Message(this, MessageKind::Warning, msg::kCaptionAttention, notice.text);
            break;
        case session::Notice::Kind::Information:
            CurrentDialogs().Message(this, MessageKind::Information, msg::kCaptionAttention, notice.text);
            break;
        }
    }
}

// The editor is a view of the session's text: filled when it is shown, so
// a load or a save on the field pages never moves the whole page through it;
// the text it will show is prepared in the background meanwhile.
void MainWindow::fillEditorIfStale() {
    const std::uint64_t revision = session_->textRevision();
    if (!OnEditorTab() || editorRevision_ == revision) return;
    const bool reload = std::exchange(editorReload_, false);
    quiet_ = true;
    if (editor_->ShowPreparedText(revision, !reload)) {
        session_->noteSourceShown(*preparedLoneCr_);
        if (reload) editor_->ResetChangeCounter();
    } else if (reload) {
        editor_->LoadText(session_->sourceText());
        editor_->ResetChangeCounter();
    } else {
        editor_->ReplaceText(session_->sourceText());
    }
    // The sizes the editor tells are the bytes a save writes.
    session::DocumentSession* s = session_;
    editor_->SetSizeMeasure(s->sizeOnSave(), s->lineBreakOnSave(),
                            [s](char32_t c) { return s->bytesOnSave(c); });
    quiet_ = false;
    editorRevision_ = revision;
}

void MainWindow::prepareEditorText() {
    const Document& doc = session_->document();
    preparedLoneCr_ = std::make_shared<bool>(false);
    editor_->PrepareText(session_->textRevision(),
                         [bytes = doc.page.text, codec = doc.codec, loneCr = preparedLoneCr_] {
                             session::ShownSourceUtf8 shown = session::ToShownSourceUtf8(bytes, *codec);
                             *loneCr = shown.loneCr;
                             return std::move(shown.utf8);
                         });
}

void MainWindow::showTextChanged() {
    quiet_ = true;
    httpPage_->Show(session_->shownFields(), session_->codec(), httpPage_->refreshUrlBox()->isEnabled());
    const Document& doc = session_->document();
    showModernHead(ReadModernHead(doc.page.text, doc.codec.get()));
    quiet_ = false;
    if (OnEditorTab()) {
        fillEditorIfStale();
    } else {
        // Not an edit: the editor shows the new text when it is next shown.
        editor_->ClearEdited();
        prepareEditorText();
    }
}

// ---- Load ----

void MainWindow::loadChosenFile(const QString& path) {
    BitSave->setEnabled(false);
    ButGen->setEnabled(false);
    if (path.isEmpty()) return;
    if (session_->isModified()) {
        const Answer answer = CurrentDialogs().AskYesNoCancel(this, msg::kCaptionAttention, msg::kSaveQuestion);
        // A save that failed or was refused keeps the page open as it is.
        if (answer == Answer::Cancel || (answer == Answer::Yes && !saveDocument())) {
            browser_->SelectLoaded();
            showDocumentState();
            return;
        }
    }
    loading_ = true;
    browser_->SetFileListEnabled(false);
    LoadOptions options;
    options.modemSpeed = modemSpeed();
    options.now = CurrentDateTime();
    options.decimalSeparator = LocaleDecimalSeparator();
    // Values a page leaves unchanged keep what the window shows.
    handFieldsToSession();
    if (!session_->load(path, options)) {
        loading_ = false;
        browser_->SetFileListEnabled(true);
        browser_->SelectLoaded();
        showDocumentState();
        return;
    }
    currentPath_ = path;
}

void MainWindow::showLoaded(const LoadReport& report) {
    const Document& doc = session_->document();
    const QString path = QString::fromStdString(doc.path);
    quiet_ = true;
    showFileSize();
    browser_->AddFolderToHistory(QFileInfo(path).absolutePath());
    const MetaFields shown = session_->shownFields();
    namePage_->Show(shown, *doc.codec);
    showModernHead(report.modernHead);
    httpPage_->Show(shown, *doc.codec,
                    report.ok ? report.refreshUrlEnabled : httpPage_->refreshUrlBox()->isEnabled());

    // The closing steps run whether or not the filling finished.
    browser_->SetCurrentStats(msg::kNoBytes, msg::kNoSeconds);
    quiet_ = false;
    // The values as the controls hold them are the snapshot's.
    handFieldsToSession();
    loading_ = false;
    editor_->ClearEdited();
    editorReload_ = true;
    ButPreviev->setEnabled(true);
    browser_->SetFileListEnabled(true);
    PageControl1->setEnabled(true);
    if (restoredTab_ >= 0) PageControl1->setCurrentIndex(std::exchange(restoredTab_, -1));
    browser_->MarkLoaded(path);
    editor_->ResetChangeCounter();
    if (report.ok) editor_->DisableSnippetButton();
    showIndexing();
    if (!report.unread.empty()) {
        // These keep the values the window showed before: say which.
        QStringList keys;
        for (int index : report.unread) keys << FromUtf8(CatalogueAt(index).key);
        status_->SetPanel(1, msg::kUnreadFields.arg(keys.join(QStringLiteral(", "))));
    }
    // The session's snapshot follows; the editor fills now if it is showing.
    if (OnEditorTab()) {
        fillEditorIfStale();
    } else {
        prepareEditorText();
    }
    showDocumentState();
}

// ---- Save, preview, new block ----

bool MainWindow::saveDocument() {
    if (!session_->isOpen()) return false;
    std::size_t references = 0;
    handFieldsToSession(&references);
    SaveOptions options;
    options.asEdited = OnEditorTab();
    options.backup = backupFiles();
    options.writer = writerOptions();
    const bool saved = session_->save(options, references);
    showDocumentState();
    return saved;
}

void MainWindow::previewDocument() {
    if (!session_->isOpen()) return;
    handFieldsToSession();
    session_->preview(writerOptions(), [this](const std::string& file) {
        const QString path = QString::fromStdString(file);
        const int number = preview_->Written(path);
        CurrentDialogs().OpenUrl(QUrl::fromLocalFile(path), [window = QPointer<MainWindow>(this), number, path](bool opened) {
            if (!window) return;
            window->preview_->Opened(number, opened);
            if (!opened) window->showNoBrowser(path);
        });
    });
}

void MainWindow::insertMetaBlock() {
    if (!session_->isOpen()) return;
    handFieldsToSession();
    session_->insertMetaBlock(writerOptions());
}

}  // namespace veskaron::ui
