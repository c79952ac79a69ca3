#pragma once
// The main window: the file browser pane, the two field pages, the editor
// tab and the status bar as views of the open document (DocumentSession),
// with the stored settings and histories.
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "engine/loader.h"
#include "site/indexability.h"
#include "session/document/DocumentSession.h"
#include "session/settings/Settings.h"
#include "site/site_root.h"
#include "ui/pages/FieldEdit.h"
#include "ui/keywords/KeywordHost.h"

class QPushButton;
class QTabWidget;
class QSplitter;

namespace veskaron::ui {

class EditorTab;
class FileBrowserPane;
class Histories;
class HttpPage;
class NamePage;
class PreviewFile;
class SocialPage;
class StatusBar;
class SiteWindow;

class MainWindow final : public QMainWindow, public KeywordHost {
    Q_OBJECT

public:
    // `arguments`: the command line without the program name; exactly one
    // names a page whose folder is opened. `settings`: the run's settings;
    // nullptr: the window reads its own from the store.
    explicit MainWindow(const QStringList& arguments = {}, QWidget* parent = nullptr,
                    session::Settings* settings = nullptr);
    ~MainWindow() override;

    // The settings button stays disabled until it has something to show.
    void SetSetupAction(std::function<void()> show);
    // Shows the window maximized or centred at its normal size, as stored.
    void ShowAsStored();

    // KeywordHost.
    std::string SourceBytes() const override;
    const TextCodec& Codec() const override;
    QString Description() const override;
    QString Keywords() const override;
    void SetKeywords(const QString& keywords) override;
    int MinWord() const override;
    session::Settings& RunSettings() const override;

    const Document& CurrentDocument() const { return session_->document(); }
    session::DocumentSession& Session() const { return *session_; }
    // The file list's choice: loads the page after the question about unsaved changes.
    void loadChosenFile(const QString& path);
    // True when the page file now holds the document.
    bool saveDocument();
    void previewDocument();
    void insertMetaBlock();
    void editFolderHistory();
    void showKeywordGenerator();
    // The site window on the folder the file pane shows (one per folder).
    SiteWindow* showSiteWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The file mask, the icons and the tab style as the settings now say.
    void applySettings();
    void BuildButtonBar();
    void BuildPages();
    void BindSession();
    void FormCreate(const QStringList& arguments);
    bool FormCloseQuery();
    void FormClose();
    void showAbout();
    // The site window wrote pages: the open one is read again unless it has edits.
    void pagesWrittenElsewhere(const QStringList& paths);
    void OpenHelp(int topic);
    // No program took a file to show it.
    void showNoBrowser(const QString& file);

    // The document's views.
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
    void ShowStoreMessages();
    bool OnEditorTab() const;
    void showSnippetTexts();
    void showSnippetAddress();
    // `head`: the page's head tags beside the catalogue as last read.
    void showModernHead(const ModernHead& head);
    // The verdict beside the robots box, for the fields as they stand.
    void showIndexing();

    // The settings read at the moment of use, in one place.
    const session::Settings& settings() const { return *settings_; }
    std::string modemSpeed() const;
    MetaWriteOptions writerOptions() const;
    bool backupFiles() const;

    site::SiteIndexing indexing_;  // the open page's site, its robots.txt read once
    session::DocumentSession* session_ = nullptr;
    std::unique_ptr<session::Settings> ownSettings_;
    session::Settings* settings_ = nullptr;
    std::function<void()> setupAction_;

    QWidget* Panel1 = nullptr;
    QPushButton* SpButExit = nullptr;
    QPushButton* SpButAbout = nullptr;
    QPushButton* SpButHelp = nullptr;
    QPushButton* SpButSetup = nullptr;
    QPushButton* SpButSite = nullptr;
    QPushButton* ButGen = nullptr;
    QPushButton* ButPreviev = nullptr;
    QPushButton* BitSave = nullptr;
    QSplitter* Splitter1 = nullptr;
    FileBrowserPane* browser_ = nullptr;
    QTabWidget* PageControl1 = nullptr;
    NamePage* namePage_ = nullptr;
    HttpPage* httpPage_ = nullptr;
    SocialPage* socialPage_ = nullptr;
    EditorTab* editor_ = nullptr;
    StatusBar* status_ = nullptr;
    Histories* histories_ = nullptr;
    QPointer<SiteWindow> site_;

    QString programFolder_;
    QString helpFile_;
    QString currentPath_;  // the loaded page, or the one remembered from the last run
    PreviewFile* preview_ = nullptr;
    // Where the open page's site begins, for its address in the search result.
    site::SiteRoot snippetRoot_;
    bool windowsMax_ = true;
    int restoredTab_ = -1;  // the tab stored, until the first page is loaded
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
