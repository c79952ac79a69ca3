#include "ui/main/MainWindow.h"

#include <QApplication>
#include <algorithm>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>
#include <utility>

#include "controls/ComBox.h"
#include "platform/key_store.h"
#include "platform/paths.h"
#include "settings/setup_values.h"
#include "messages/window_texts.h"
#include "ui/common/Dialogs.h"
#include "ui/common/Hints.h"
#include "ui/common/AboutBox.h"
#include "ui/common/HistoryEditor.h"
#include "ui/common/Widgets.h"
#include "ui/main/FileBrowserPane.h"
#include "ui/main/Histories.h"
#include "ui/main/PreviewFile.h"
#include "ui/main/StatusBar.h"
#include "ui/pages/EditorTab.h"
#include "ui/pages/HttpPage.h"
#include "ui/pages/NamePage.h"
#include "ui/pages/SocialPage.h"
#include "ui/site/SiteWindow.h"

namespace veskaron::ui {
namespace {

constexpr int kWidth = 760, kHeight = 555, kMinWidth = 615;

// The stored tab numbers keep the meaning they had before the search tab
// came between META-HTTP and the editor: 2 is the editor, 3 the search tab.
constexpr int kStoredEditorTab = 2, kSearchTab = 2, kEditorTab = 3;
int TabOfStored(int stored) {
    if (stored == kStoredEditorTab) return kEditorTab;
    if (stored == kEditorTab) return kSearchTab;
    return stored;
}
int StoredOfTab(int tab) { return TabOfStored(tab); }  // the same swap back

QPushButton* BarButton(const char* name, const QString& caption, const QString& hint) {
    auto* button = Named(new QPushButton(caption), name, hint);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    // On a small screen the bar's buttons give up their spare room, never their caption.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(caption) + 2 * button->fontMetrics().averageCharWidth() + 8);
    button->setSizePolicy(QSizePolicy::Preferred, button->sizePolicy().verticalPolicy());
    return button;
}

QScrollArea* Scrolled(QWidget* page, const char* name) {
    auto* area = Named(new QScrollArea, name);
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

}  // namespace

MainWindow::MainWindow(const QStringList& arguments, QWidget* parent, session::Settings* settings)
    : QMainWindow(parent), settings_(settings) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(msg::kMainTitle);
    if (!settings_) {
        ownSettings_ = std::make_unique<session::Settings>();
        ownSettings_->load();
        settings_ = ownSettings_.get();
    }
    // The file list and the tabs follow the settings that shape them.
    connect(settings_, &session::Settings::changed, this, [this](SettingKey key) {
        if (key == SettingKey::FileFiltr || key == SettingKey::IconFile || key == SettingKey::NoteStyle) applySettings();
    });
    preview_ = new PreviewFile(this);

    BuildButtonBar();
    BuildPages();
    splitter_ = Named(new QSplitter(Qt::Horizontal), "Splitter1");
    splitter_->addWidget(browser_);
    splitter_->addWidget(tabs_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 4);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({215, kWidth - 215});

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buttonBar_);
    layout->addWidget(splitter_, 1);
    setCentralWidget(central);
    status_ = new StatusBar;
    setStatusBar(status_);

    histories_ = new Histories(this);
    histories_->Add(browser_->History(), QStringLiteral("pathtek.fkd"), false);
    histories_->Add(namePage_->Author(), QStringLiteral("author.fkd"));
    histories_->Add(namePage_->Copyright(), QStringLiteral("copyrigt.fkd"));
    histories_->Add(namePage_->Generator(), QStringLiteral("generatr.fkd"));
    histories_->Add(namePage_->ProgId(), QStringLiteral("progid.fkd"));
    histories_->Add(namePage_->Url(), QStringLiteral("url.fkd"));
    histories_->Add(httpPage_->Location(), QStringLiteral("Location.fkd"));
    histories_->Add(httpPage_->refreshUrlBox(), QStringLiteral("Charset.fkd"));

    document_ = new DocumentView(this, *settings_,
                                 {browser_, tabs_, namePage_, httpPage_, socialPage_, editor_, status_, saveButton_,
                                  generatorButton_, previewButton_, preview_});
    document_->setSiteFolderSource([this] { return site_ ? site_->folder() : QString(); });
    connect(document_, &DocumentView::pageChosen, this, [this](const QString& path) { currentPath_ = path; });
    connect(document_, &DocumentView::noBrowser, this, &MainWindow::showNoBrowser);
    connect(browser_, &FileBrowserPane::FileChosen, document_, &DocumentView::loadChosenFile);
    connect(browser_, &FileBrowserPane::EditHistory, this, &MainWindow::editFolderHistory);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this,
            [this] { OpenHelp(HelpTopicOf(QApplication::focusWidget())); });

    resize(kWidth, kHeight);
    setMinimumWidth(kMinWidth);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // A screen smaller than the window gets all of it, not a window cut at its edge.
        const QRect area = screen->availableGeometry();
        resize(std::min(kWidth, std::max(kMinWidth, area.width())), std::min(kHeight, area.height()));
        move(area.center() - QPoint(width() / 2, height() / 2));
    }

    FormCreate(arguments);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildButtonBar() {
    buttonBar_ = Named(new QWidget, "Panel1");
    exitButton_ = BarButton("SpButExit", msg::kExitButton, msg::kExitHint);
    aboutButton_ = BarButton("SpButAbout", msg::kAboutButton, msg::kAboutHint);
    helpButton_ = BarButton("SpButHelp", msg::kHelpButton, msg::kHelpHint);
    setupButton_ = BarButton("SpButSetup", msg::kSetupButton, msg::kSetupHint);
    siteButton_ = BarButton("SpButSite", msg::site::kButton, msg::site::kHint);
    generatorButton_ = BarButton("ButGen", msg::kGeneratorButton, msg::kGeneratorHint);
    previewButton_ = BarButton("ButPreviev", msg::kPreviewButton, msg::kPreviewHint);
    saveButton_ = BarButton("BitSave", msg::kSaveButton, msg::kSaveHint);
    setupButton_->setEnabled(false);
    generatorButton_->setEnabled(false);
    auto* bar = new QHBoxLayout(buttonBar_);
    bar->setContentsMargins(4, 4, 4, 2);
    bar->setSpacing(4);
    for (QPushButton* b : {exitButton_, aboutButton_, helpButton_, setupButton_, siteButton_}) bar->addWidget(b);
    bar->addStretch();
    for (QPushButton* b : {generatorButton_, previewButton_, saveButton_}) bar->addWidget(b);

    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::showAbout);
    connect(helpButton_, &QPushButton::clicked, this, [this] { OpenHelp(0); });
    connect(setupButton_, &QPushButton::clicked, this, [this] {
        if (setupAction_) setupAction_();
    });
    connect(siteButton_, &QPushButton::clicked, this, [this] { showSiteWindow(); });
    connect(generatorButton_, &QPushButton::clicked, this, [this] { document_->showKeywordGenerator(); });
    connect(previewButton_, &QPushButton::clicked, this, [this] { document_->previewDocument(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { document_->saveDocument(); });
}

void MainWindow::BuildPages() {
    browser_ = new FileBrowserPane;
    namePage_ = new NamePage;
    httpPage_ = new HttpPage;
    socialPage_ = new SocialPage;
    editor_ = Named(new EditorTab, "TabSheet3");
    tabs_ = Named(new QTabWidget, "PageControl1");
    tabs_->addTab(Scrolled(namePage_, "TabSheet1"), msg::kNameTab);
    tabs_->addTab(Scrolled(httpPage_, "TabSheet2"), msg::kHttpTab);
    tabs_->addTab(Scrolled(socialPage_, "TabSocial"), msg::kSocialTab);
    tabs_->addTab(editor_, msg::kEditorTab);
    Q_ASSERT(tabs_->indexOf(editor_) == kEditorTab);
}

void MainWindow::FormCreate(const QStringList& arguments) {
    auto* hints = new HintTracker(this);
    connect(hints, &HintTracker::LongHintChanged, this,
            [this](const QString& text) { status_->SetPanel(1, text); });
    previewButton_->setEnabled(false);
    saveButton_->setEnabled(false);
    tabs_->setEnabled(false);
    applySettings();

    programFolder_ = QString::fromStdString(ProgramFolder());
    const QFileInfo program(QString::fromStdString(ProgramFilePath()));
    helpFile_ = QString::fromStdString(
        ProgramDataFile((program.completeBaseName() + QStringLiteral(".html")).toStdString()));
    httpPage_->ShowFresh(CurrentDateTime(), Session().codec());  // effects on entry 23, expiry controls off

    histories_->Load(programFolder_, this);
    QStringList snippets;
    if (ReadListFile(programFolder_ + QStringLiteral("tag1.fkd"), snippets, this))
        editor_->BuildSnippetMenu(snippets);

    {
        const MainWindowSettings stored = settings_->mainWindowValues();
        if (stored.Path) currentPath_ = QString::fromStdString(*stored.Path);
        TComBox* history = browser_->History();
        {
            const QSignalBlocker block(history);
            history->setCurrentIndex(stored.PathIdx >= 0 && stored.PathIdx < history->count()
                                         ? stored.PathIdx
                                         : (history->count() > 0 ? 0 : -1));
        }
        // The page last used comes back with the first page loaded: before
        // that the tabs are greyed and the editor empty.
        if (stored.PageIndex && *stored.PageIndex >= 0 && *stored.PageIndex < tabs_->count())
            document_->restoreTab(TabOfStored(*stored.PageIndex));
        windowsMax_ = stored.WindowsMax;
    }
    const std::int32_t count = settings_->countStart();
    status_->SetPanel(2, msg::StartCountStatus(count));
    // Kept absolute: the next start may run from another folder.
    if (arguments.size() == 1) currentPath_ = QFileInfo(arguments.front()).absoluteFilePath();
    if (!currentPath_.isEmpty()) browser_->GoToFolder(QFileInfo(currentPath_).absolutePath());
    status_->SetPanel(0, msg::kNoFileStatus);
    ShowStoreMessages();
}


void MainWindow::SetSetupAction(std::function<void()> show) {
    setupAction_ = std::move(show);
    setupButton_->setEnabled(static_cast<bool>(setupAction_));
}

void MainWindow::applySettings() {
    const int noteStyle = static_cast<int>(settings().tabStyle());
    browser_->SetMask(QString::fromStdString(settings().appliedFileMask()));
    browser_->SetIcons(settings().values().fileIcons);
    QString sheet;
    switch (noteStyle) {
    case 1:  // buttons
        sheet = QStringLiteral(
            "QTabBar::tab { border: 1px solid palette(dark); border-radius: 3px; padding: 3px 10px;"
            " margin: 2px; background: palette(button); }"
            "QTabBar::tab:selected { background: palette(light); border: 2px solid palette(dark); }");
        break;
    case 2:  // flat buttons, the chosen one sunken
        sheet = QStringLiteral(
            "QTabBar::tab { border: 1px solid transparent; padding: 3px 10px; margin: 2px;"
            " background: transparent; }"
            "QTabBar::tab:hover { border: 1px solid palette(mid); }"
            "QTabBar::tab:selected { border: 1px solid palette(dark); background: palette(midlight); }");
        break;
    default:
        break;
    }
    tabs_->tabBar()->setStyleSheet(sheet);
    tabs_->setDocumentMode(noteStyle != 0);
}

void MainWindow::ShowAsStored() {
    if (windowsMax_) {
        showMaximized();
    } else {
        showNormal();
    }
}

// ---- Folder history, about, help ----

void MainWindow::editFolderHistory() {
    TComBox* history = browser_->History();
    const QString shown = history->currentText();
    HistoryEditor dialog(this);
    QStringList items;
    for (int i = 0; i < history->count(); ++i) items << history->itemText(i);
    dialog.SetLines(items);
    CurrentDialogs().ExecModal(dialog);
    if (!dialog.Accepted()) return;
    QStringList lines = dialog.Lines();
    const int selected = MergeEditedHistory(lines, shown);
    browser_->SetHistory(lines, selected);
}

SiteWindow* MainWindow::showSiteWindow() {
    QString folder = browser_->Folder();
    if (folder.isEmpty()) folder = QDir::currentPath();
    if (site_ && site_->folder() == QDir::cleanPath(folder)) {
        site_->raise();
        site_->activateWindow();
        return site_;
    }
    site_ = new SiteWindow(folder, *settings_, this);
    // The page opens as if chosen in the file list: the question about an
    // edited page comes first.
    site_->setPageOpener([this](const QString& path) {
        browser_->GoToFolder(QFileInfo(path).absolutePath());
        if (!browser_->SelectFile(path)) loadChosenFile(path);
        raise();
        activateWindow();
    });
    connect(site_, &SiteWindow::pagesSaved, this, &MainWindow::pagesWrittenElsewhere);
    site_->show();
    return site_;
}

void MainWindow::pagesWrittenElsewhere(const QStringList& paths) {
    if (!Session().isOpen()) return;
    const QString open = QFileInfo(QString::fromStdString(Session().document().path)).canonicalFilePath();
    const bool written = std::any_of(paths.begin(), paths.end(),
                                     [&open](const QString& path) { return QFileInfo(path).canonicalFilePath() == open; });
    if (!written) return;
    if (Session().isModified()) {
        CurrentDialogs().Message(this, MessageKind::Warning, msg::kCaptionAttention,
                                 msg::site::kOpenPageWritten.arg(QDir::toNativeSeparators(open)));
        return;
    }
    loadChosenFile(QString::fromStdString(Session().document().path));
}

void MainWindow::showAbout() {
    AboutBox about(this);
    CurrentDialogs().ExecModal(about);
}

void MainWindow::OpenHelp(int topic) {
    QUrl url = QUrl::fromLocalFile(helpFile_);
    if (topic > 0) url.setFragment(QStringLiteral("topic-%1").arg(topic));
    CurrentDialogs().OpenUrl(url, [window = QPointer<MainWindow>(this)](bool opened) {
        if (window && !opened) window->showNoBrowser(window->helpFile_);
    });
}

void MainWindow::showNoBrowser(const QString& file) {
    CurrentDialogs().Message(this, MessageKind::Warning, msg::kCaptionAttention,
                             msg::kNoBrowser.arg(QDir::toNativeSeparators(file)));
}

// ---- Closing ----

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool MainWindow::FormCloseQuery() {
    // The site window's unsaved edits get their own question first.
    if (site_ && !site_->close()) return false;
    if (!Session().isModified()) return true;
    switch (CurrentDialogs().AskYesNoCancel(this, msg::kCaptionAttention, msg::kSaveQuestion)) {
    case Answer::Yes: return saveDocument();
    case Answer::No: return true;
    default: return false;
    }
}

void MainWindow::FormClose() {
    MainWindowSettings values;
    values.Path = currentPath_.toStdString();
    const int pending = document_->tabToRestore();
    values.PageIndex = StoredOfTab(pending >= 0 ? pending : tabs_->currentIndex());
    values.PathIdx = browser_->History()->currentIndex();
    values.WindowsMax = isMaximized();
    settings_->storeMainWindowValues(values);
    histories_->Save(programFolder_, this);
    preview_->Remove();
    ShowStoreMessages();
}

void MainWindow::ShowStoreMessages() {
    for (const std::string& message : TakeStoreMessages())
        CurrentDialogs().Message(this, MessageKind::Warning, msg::kCaptionAttention,
                                 QString::fromStdString(message));
}

}  // namespace veskaron::ui
