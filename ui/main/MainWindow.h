#pragma once
// The main window: owns the file browser pane, the two field pages, the
// editor tab and the status bar, and wires them to the document engine
// (load, writer, save, preview) and to the stored settings and histories.
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "engine/loader.h"
#include "ui/pages/FieldEdit.h"
#include "ui/keywords/KeywordHost.h"
#include "ui/settings/LiveSettings.h"

class QPushButton;
class QTabWidget;
class QSplitter;

namespace veskaron::ui {

class EditorTab;
class FileBrowserPane;
class Histories;
class HttpPage;
class NamePage;
class StatusBar;

inline const QString kSaveQuestion =
    QStringLiteral("Содержимое файла было изменено.\r\nСохранить изменения?");

class TForm1 final : public QMainWindow, public KeywordHost {
    Q_OBJECT

public:
    // `arguments`: the command line without the program name; exactly one
    // names a page whose folder is opened.
    explicit TForm1(const QStringList& arguments = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Where the load reads the modem speed and the writer its placement and
    // attribute order at the moment of use; nullptr: the stored values.
    void SetLiveSettings(LiveSettings* settings);
    // The settings button stays disabled until it has something to show.
    void SetSetupAction(std::function<void()> show);
    // The common settings took new values: file mask, icons and tab style.
    void ApplySettings(int noteStyle);
    // Shows the window maximized or centred at its normal size, as stored.
    void ShowAsStored();

    // KeywordHost.
    std::string SourceBytes() const override;
    const TextCodec& Codec() const override;
    QString Description() const override;
    QString Keywords() const override;
    void SetKeywords(const QString& keywords) override;
    int MinWord() const override;

    const Document& CurrentDocument() const { return doc_; }
    // The file list's choice: loads the page after the question about unsaved changes.
    void FileListBox1Change(const QString& path);
    // Save; true when the page file now holds the document.
    bool SpeedButton6Click();
    void ButPrevievClick();
    void Button3Click();
    void N1Click();

public Q_SLOTS:
    // The keyword generator.
    void ButGenClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildButtonBar();
    void FormCreate(const QStringList& arguments);
    bool FormCloseQuery();
    void FormClose();
    void SpButAboutClick();
    void SpButHelpClick();
    void OpenHelp(int topic);
    void FieldEdited(FieldEdit kind);
    void SourceEdited();
    void CurrentSize(qint64 length);
    void LoadFile(const QString& path);
    void CollectFields(std::size_t* references);
    void ShowHttpFields();
    std::string EditorBytes(std::size_t* references) const;
    void SyncEditorText(std::size_t* references);
    QString DocToQt(const std::string& text) const;
    bool CurrentModified();
    void ShowModifiedState();
    void ShowStoreMessages();
    LiveSettings& Live() const { return live_ ? *live_ : *ownLive_; }
    bool OnEditorTab() const;

    Document doc_;
    // The field texts as the page file has them (after the load or the last
    // save): on a KOI8 page only what differs from them counts as typed.
    MetaFields pageTexts_;
    LiveSettings* live_ = nullptr;
    std::unique_ptr<StoredLiveSettings> ownLive_;
    std::function<void()> setupAction_;

    QWidget* Panel1 = nullptr;
    QPushButton* SpButExit = nullptr;
    QPushButton* SpButAbout = nullptr;
    QPushButton* SpButHelp = nullptr;
    QPushButton* SpButSetup = nullptr;
    QPushButton* ButGen = nullptr;
    QPushButton* ButPreviev = nullptr;
    QPushButton* BitSave = nullptr;
    QSplitter* Splitter1 = nullptr;
    FileBrowserPane* browser_ = nullptr;
    QTabWidget* PageControl1 = nullptr;
    NamePage* namePage_ = nullptr;
    HttpPage* httpPage_ = nullptr;
    EditorTab* editor_ = nullptr;
    StatusBar* status_ = nullptr;
    Histories* histories_ = nullptr;

    QString programFolder_;
    QString helpFile_;
    QString currentPath_;  // the loaded page, or the one remembered from the last run
    QString lastPreview_;
    bool windowsMax_ = true;
    int restoredTab_ = -1;  // the stored tab, until the first page is loaded
    // Set while the window itself puts text into the controls: those changes are no edits.
    bool quiet_ = false;
    // The editor shows the page's lone CRs as line separators (see DocToQt).
    mutable bool loneCrShown_ = false;
    // A KOI8 page's text as the editor was last given it (see EditorBytes).
    mutable std::string editorBase_;
};

}  // namespace veskaron::ui
