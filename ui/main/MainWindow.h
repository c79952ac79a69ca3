#pragma once
// The main window: the button bar, the file browser pane, the tabs of the
// open document (shown by DocumentView) and the status bar, with the stored
// settings and histories.
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "session/document/DocumentSession.h"
#include "session/settings/Settings.h"
#include "ui/main/DocumentView.h"

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

class MainWindow final : public QMainWindow {
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

    // The open document's view; the keyword generator reads the page through it.
    DocumentView& Document() const { return *document_; }
    const veskaron::Document& CurrentDocument() const { return document_->session().document(); }
    session::DocumentSession& Session() const { return document_->session(); }
    // The file list's choice: loads the page after the question about unsaved changes.
    void loadChosenFile(const QString& path) { document_->loadChosenFile(path); }
    // True when the page file now holds the document.
    bool saveDocument() { return document_->saveDocument(); }
    void editFolderHistory();
    // The site window on the folder the file pane shows (one per folder).
    SiteWindow* showSiteWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The file mask, the icons and the tab style as the settings now say.
    void applySettings();
    void BuildButtonBar();
    void BuildPages();
    void FormCreate(const QStringList& arguments);
    bool FormCloseQuery();
    void FormClose();
    void showAbout();
    // The site window wrote pages: the open one is read again unless it has edits.
    void pagesWrittenElsewhere(const QStringList& paths);
    void OpenHelp(int topic);
    // No program took a file to show it.
    void showNoBrowser(const QString& file);

    void ShowStoreMessages();

    // The settings read at the moment of use, in one place.
    const session::Settings& settings() const { return *settings_; }

    DocumentView* document_ = nullptr;
    std::unique_ptr<session::Settings> ownSettings_;
    session::Settings* settings_ = nullptr;
    std::function<void()> setupAction_;

    QWidget* buttonBar_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* aboutButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* setupButton_ = nullptr;
    QPushButton* siteButton_ = nullptr;
    QPushButton* generatorButton_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QSplitter* splitter_ = nullptr;
    FileBrowserPane* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
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
    bool windowsMax_ = true;
};

}  // namespace veskaron::ui
