#pragma once
// The main window's pages as the view of the open document: the field pages
// and the editor hand their values to the session, and show what its signals
// report; the load, the save, the preview and the new block start here. The
// keyword generator reads the document through it.
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/loader.h"
#include "session/document/DocumentSession.h"
#include "session/settings/Settings.h"
#include "site/indexability.h"
#include "site/site_root.h"
#include "ui/keywords/KeywordHost.h"
#include "ui/pages/FieldEdit.h"

class QPushButton;
class QTabWidget;
class QWidget;

namespace veskaron::ui {

class EditorTab;
class FileBrowserPane;
class HttpPage;
class NamePage;
class PreviewFile;
class SocialPage;
class StatusBar;

// The window's controls the document shows itself in.
struct DocumentControls {
    FileBrowserPane* browser = nullptr;
    QTabWidget* tabs = nullptr;
    NamePage* names = nullptr;
    HttpPage* http = nullptr;
    SocialPage* social = nullptr;
    EditorTab* editor = nullptr;
    StatusBar* status = nullptr;
    QPushButton* save = nullptr;
    QPushButton* generator = nullptr;
    QPushButton* preview = nullptr;
    PreviewFile* previewFile = nullptr;
};

class DocumentView final : public QObject, public KeywordHost {
    Q_OBJECT

public:
    // `window`: the dialogs' parent and the generator's owner.
    DocumentView(QWidget* window, session::Settings& settings, const DocumentControls& controls);

    session::DocumentSession& session() const { return *session_; }

    // KeywordHost.
    std::string SourceBytes() const override;
    const TextCodec& Codec() const override;
    QString Description() const override;
    QString Keywords() const override;
    void SetKeywords(const QString& keywords) override;
    int MinWord() const override;
    session::Settings& RunSettings() const override;

    // The file list's choice: loads the page after the question about unsaved changes.
    void loadChosenFile(const QString& path);
    // True when the page file now holds the document.
    bool saveDocument();
    void previewDocument();
    void insertMetaBlock();
    void showKeywordGenerator();

    // The tab to show once the first page is loaded (-1: none); until then
    // it is the tab the window stores.
    void restoreTab(int tab) { restoredTab_ = tab; }
    int tabToRestore() const { return restoredTab_; }
    // The folder of the site window, if one is open: the site the open page's
    // address is taken within.
    void setSiteFolderSource(std::function<QString()> folder) { siteFolder_ = std::move(folder); }

Q_SIGNALS:
    // A page began to load and is now the window's page.
    void pageChosen(const QString& path);
    // No program took the preview file to show it.
    void noBrowser(const QString& file);

private:
    void bindSession();
    void fieldEdited(FieldEdit kind);
    void sourceEdited();
    void showSourceSize(qint64 bytes);
    QString downloadTimeText(qint64 bytes) const;
    void showFileSize();
    MetaFields fieldsFromPages(std::size_t* references) const;
    void handFieldsToSession(std::size_t* references = nullptr);
    void showLoaded(const LoadReport& report);
    void showTextChanged();
    void fillEditorIfStale();
    void prepareEditorText();
    void showDocumentState();
    void showNotices(const session::Notices& notices);
    bool onEditorTab() const;
    void showSnippetTexts();
    void showSnippetAddress();
    // `head`: the page's head tags beside the catalogue as last read.
    void showModernHead(const ModernHead& head);
    // The verdict beside the robots box, for the fields as they stand.
    void showIndexing();

    QWidget* window_;
    session::Settings& settings_;
    DocumentControls c_;
    session::DocumentSession* session_;
    std::function<QString()> siteFolder_;
    site::SiteIndexing indexing_;  // the open page's site, its robots.txt read once
    // Where the open page's site begins, for its address in the search result.
    site::SiteRoot snippetRoot_;
    int restoredTab_ = -1;
    bool loading_ = false;  // between the file's choice and the end of its load
    // Set while the window itself puts text into the controls: those changes are no edits.
    bool quiet_ = false;
    // The session's text revision the editor shows; the editor is filled
    // when it is first shown after the text changed.
    std::uint64_t editorRevision_ = 0;
    // A load's text goes in with the caret at the start; later texts keep it.
    bool editorReload_ = false;
    // Whether the text being prepared for the editor shows lone CRs; one
    // flag for each preparation.
    std::shared_ptr<bool> preparedLoneCr_;
};

}  // namespace veskaron::ui
