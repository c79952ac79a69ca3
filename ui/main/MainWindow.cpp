#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLocale>
#include <QPlainTextEdit>
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
#include "engine/expiry.h"
#include "engine/save.h"
#include "engine/text_codec.h"
#include "engine/writer.h"
#include "platform/error_text.h"
#include "platform/key_store.h"
#include "platform/paths.h"
#include "settings/settings_keys.h"
#include "settings/setup_values.h"
#include "ui/common/Dialogs.h"
#include "ui/pages/DocText.h"
#include "ui/pages/EditorTab.h"
#include "ui/main/FileBrowserPane.h"
#include "ui/common/Hints.h"
#include "ui/main/Histories.h"
#include "ui/pages/Koi8Fields.h"
#include "ui/pages/HttpPage.h"
#include "ui/pages/NamePage.h"
#include "ui/main/StatusBar.h"
#include "ui/common/UAbout.h"
#include "ui/keywords/UGenPage.h"
#include "ui/common/UNoteBook.h"

namespace veskaron::ui {
namespace {

constexpr int kWidth = 760, kHeight = 555, kMinWidth = 615;

QPushButton* BarButton(const char* name, const QString& caption, const QString& hint) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    SetHint(button, hint);
    return button;
}

QScrollArea* Scrolled(QWidget* page, const char* name) {
    auto* area = new QScrollArea;
    area->setObjectName(QString::fromLatin1(name));
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

// The user's own separator, as the pages were written with it: not the
// program's Russian default.
char LocaleDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point == QStringLiteral(",") ? ',' : '.';
}

}  // namespace

TForm1::TForm1(const QStringList& arguments, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("VARNOK-Soft :: VESKARON"));
    ownLive_ = std::make_unique<StoredLiveSettings>();

    BuildButtonBar();
    browser_ = new FileBrowserPane;
    namePage_ = new NamePage;
    httpPage_ = new HttpPage;
    editor_ = new EditorTab;
    editor_->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(Scrolled(namePage_, "TabSheet1"), QStringLiteral("МЕТА-NAME"));
    PageControl1->addTab(Scrolled(httpPage_, "TabSheet2"), QStringLiteral("META-HTTP"));
    PageControl1->addTab(editor_, QStringLiteral("Редактор"));
    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(browser_);
    Splitter1->addWidget(PageControl1);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 4);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setSizes({215, kWidth - 215});

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(Splitter1, 1);
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
    histories_->Add(httpPage_->RefreshUrl(), QStringLiteral("Charset.fkd"));

    connect(browser_, &FileBrowserPane::FileChosen, this, &TForm1::FileListBox1Change);
    connect(browser_, &FileBrowserPane::EditHistory, this, &TForm1::N1Click);
    connect(namePage_, &NamePage::Edited, this, &TForm1::FieldEdited);
    connect(httpPage_, &HttpPage::Edited, this, &TForm1::FieldEdited);
    connect(editor_, &EditorTab::SourceEdited, this, &TForm1::SourceEdited);
    connect(editor_, &EditorTab::CurrentSize, this, &TForm1::CurrentSize);
    connect(editor_, &EditorTab::InsertNew, this, &TForm1::Button3Click);
    connect(editor_, &EditorTab::HintShown, this,
            [this](const QString& hint) { status_->SetPanel(1, hint); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this,
            [this] { OpenHelp(HelpTopicOf(QApplication::focusWidget())); });

    resize(kWidth, kHeight);
    setMinimumWidth(kMinWidth);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }

    FormCreate(arguments);
}

TForm1::~TForm1() = default;

void TForm1::BuildButtonBar() {
    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    SpButExit = BarButton("SpButExit", QStringLiteral("Выход"), QStringLiteral("Выход|Завершить работу программы"));
    SpButAbout = BarButton("SpButAbout", QStringLiteral("O..."), QStringLiteral("О программе|Сведения о программе"));
    SpButHelp = BarButton("SpButHelp", QStringLiteral("Справка"), QStringLiteral("Справка|Открыть справку; F1 - справка по выбранному полю"));
    SpButSetup = BarButton("SpButSetup", QStringLiteral("Установки"), QStringLiteral("Установки|Настройки программы"));
    ButGen = BarButton("ButGen", QStringLiteral("Генератор"), QStringLiteral("Генератор|Генератор ключевых слов страницы"));
    ButPreviev = BarButton("ButPreviev", QStringLiteral("Просмотр"), QStringLiteral("Просмотр|Показать страницу с новыми тегами в браузере"));
    BitSave = BarButton("BitSave", QStringLiteral("Сохранить"), QStringLiteral("Сохранить|Записать теги в страницу"));
    SpButSetup->setEnabled(false);
    ButGen->setEnabled(false);
    auto* bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(4, 4, 4, 2);
    bar->setSpacing(4);
    for (QPushButton* b : {SpButExit, SpButAbout, SpButHelp, SpButSetup}) bar->addWidget(b);
    bar->addStretch();
    for (QPushButton* b : {ButGen, ButPreviev, BitSave}) bar->addWidget(b);

    connect(SpButExit, &QPushButton::clicked, this, &QWidget::close);
    connect(SpButAbout, &QPushButton::clicked, this, &TForm1::SpButAboutClick);
    connect(SpButHelp, &QPushButton::clicked, this, &TForm1::SpButHelpClick);
    connect(SpButSetup, &QPushButton::clicked, this, [this] {
        if (setupAction_) setupAction_();
    });
    connect(ButGen, &QPushButton::clicked, this, &TForm1::ButGenClick);
    connect(ButPreviev, &QPushButton::clicked, this, &TForm1::ButPrevievClick);
    connect(BitSave, &QPushButton::clicked, this, [this] { SpeedButton6Click(); });
}

void TForm1::FormCreate(const QStringList& arguments) {
    auto* hints = new HintTracker(this);
    connect(hints, &HintTracker::LongHintChanged, this,
            [this](const QString& text) { status_->SetPanel(1, text); });
    ReadCommonSettings();
    ButPreviev->setEnabled(false);
    BitSave->setEnabled(false);
    PageControl1->setEnabled(false);
    int noteStyle = 0;
    {
        KeyAccess access;
        noteStyle = Read(access, key::NoteStyle);
    }
    ApplySettings(noteStyle);

    programFolder_ = QString::fromStdString(ProgramFolder());
    const QFileInfo program(QString::fromStdString(ProgramFilePath()));
    helpFile_ = QString::fromStdString(
        ProgramDataFile((program.completeBaseName() + QStringLiteral(".html")).toStdString()));
    httpPage_->ShowFresh(CurrentDateTime(), *doc_.codec);  // effects on entry 23, expiry controls off

    histories_->Load(programFolder_, this);
    QStringList snippets;
    if (ReadListFile(programFolder_ + QStringLiteral("tag1.fkd"), snippets, this))
        editor_->BuildSnippetMenu(snippets);

    int count = 0;
    {
        KeyAccess access;
        const MainWindowSettings stored = ReadMainWindowSettings(access);
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
        if (stored.PageIndex && *stored.PageIndex >= 0 && *stored.PageIndex < PageControl1->count())
            restoredTab_ = *stored.PageIndex;
        windowsMax_ = stored.WindowsMax;
        count = CountStart(access);
    }
    status_->SetPanel(2, QStringLiteral("Программа запущена - %1 раз").arg(count));
    // Kept absolute: the next start may run from another folder.
    if (arguments.size() == 1) currentPath_ = QFileInfo(arguments.front()).absoluteFilePath();
    if (!currentPath_.isEmpty()) browser_->GoToFolder(QFileInfo(currentPath_).absolutePath());
    status_->SetPanel(0, QStringLiteral("Файл - не выбран"));
    ShowStoreMessages();
}

void TForm1::SetLiveSettings(LiveSettings* settings) { live_ = settings; }

void TForm1::SetSetupAction(std::function<void()> show) {
    setupAction_ = std::move(show);
    SpButSetup->setEnabled(static_cast<bool>(setupAction_));
}

void TForm1::ApplySettings(int noteStyle) {
    const SetupValues& setup = CurrentSetupValues();
    browser_->SetMask(QString::fromStdString(setup.FileFiltr));
    browser_->SetIcons(setup.IconFile);
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
    PageControl1->tabBar()->setStyleSheet(sheet);
    PageControl1->setDocumentMode(noteStyle != 0);
}

void TForm1::ShowAsStored() {
    if (windowsMax_) {
        showMaximized();
    } else {
        showNormal();
    }
}

// ---- Keyword generator ----

std::string TForm1::SourceBytes() const {
    return editor_->Edited() ? EditorBytes(nullptr) : doc_.page.text;
}

const TextCodec& TForm1::Codec() const { return *doc_.codec; }

QString TForm1::Description() const { return PlainText(*namePage_->Description()); }

QString TForm1::Keywords() const { return PlainText(*namePage_->KeywordsBox()); }

void TForm1::SetKeywords(const QString& keywords) {
    // Replacing the text counts as the user's edit (undoable in the box).
    QString text = keywords;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor cursor(namePage_->KeywordsBox()->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

int TForm1::MinWord() const { return Live().MinWord(); }

void TForm1::ButGenClick() {
    TFmKeyWord generator(*this, this);
    CurrentDialogs().ExecModal(generator);
}

// ---- Document state ----

QString TForm1::DocToQt(const std::string& text) const {
    // What the editor is given is what its typed text is told apart from.
    if (Koi8FieldTexts::For(doc_.encoding.name)) {
        editorBase_ = text;
    } else {
        editorBase_.clear();
    }
    QString qt = ToQt(*doc_.codec, text);
    qt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A lone CR would be a line of its own in the editor and come back as a
    // whole line end; a line separator looks the same and goes back as the CR
    // it was (unless the page holds line separators of its own).
    loneCrShown_ = qt.contains(u'\r') && !qt.contains(QChar::LineSeparator);
    if (loneCrShown_) qt.replace(u'\r', QChar::LineSeparator);
    return qt;
}

// The way back of DocToQt.
std::string TForm1::EditorBytes(std::size_t* references) const {
    QString text = editor_->Text();
    if (loneCrShown_) text.replace(QChar::LineSeparator, u'\r');
    text.replace(u'\n', QStringLiteral("\r\n"));
    std::string bytes = FromQt(*doc_.codec, text, references);
    if (const auto koi8 = Koi8FieldTexts::For(doc_.encoding.name))
        return koi8->Merge(editorBase_, bytes, references);
    return bytes;
}

void TForm1::SyncEditorText(std::size_t* references) {
    if (editor_->Edited()) doc_.page.text = EditorBytes(references);
}

void TForm1::CollectFields(std::size_t* references) {
    const auto koi8 = Koi8FieldTexts::For(doc_.encoding.name);
    if (!koi8) {
        namePage_->ReadInto(doc_.fields, *doc_.codec, references);
        httpPage_->ReadInto(doc_.fields, *doc_.codec, references);
        return;
    }
    MetaFields read = doc_.fields;
    namePage_->ReadInto(read, *doc_.codec, references);
    httpPage_->ReadInto(read, *doc_.codec, references);
    for (std::string MetaFields::*text :
         {&MetaFields::Title, &MetaFields::Author, &MetaFields::Copyright, &MetaFields::Description,
          &MetaFields::Keywords, &MetaFields::Generator, &MetaFields::ProgId, &MetaFields::Url,
          &MetaFields::RefreshUrl, &MetaFields::ExpiriesText, &MetaFields::CharsetText,
          &MetaFields::Location}) {
        read.*text = koi8->Merge(pageTexts_.*text, read.*text, references);
    }
    doc_.fields = std::move(read);
}

void TForm1::ShowHttpFields() {
    httpPage_->Show(doc_.fields, *doc_.codec, httpPage_->RefreshUrl()->isEnabled());
}

bool TForm1::CurrentModified() {
    if (doc_.path.empty() || quiet_) return doc_.modified;
    CollectFields(nullptr);
    if (editor_->Edited()) doc_.marks.sourceEdited = true;
    doc_.Update();
    ShowModifiedState();
    return doc_.modified;
}

void TForm1::ShowModifiedState() {
    if (doc_.path.empty()) return;
    status_->SetPanel(0, doc_.modified ? Ui(kModifiedStatusText) : QString());
    BitSave->setEnabled(doc_.modified);
}

void TForm1::FieldEdited(FieldEdit kind) {
    switch (kind) {
    case FieldEdit::Title: doc_.marks.titleEdited = true; break;
    case FieldEdit::Description: doc_.marks.descriptionEdited = true; break;
    case FieldEdit::Keywords: doc_.marks.keywordsEdited = true; break;
    case FieldEdit::ContentType: doc_.marks.contentTypeToggled = true; break;
    case FieldEdit::Refresh: doc_.marks.refreshTouched = true; break;
    case FieldEdit::Expiry: doc_.marks.expiryTouched = true; break;
    case FieldEdit::Compare: break;
    }
    CurrentModified();
}

void TForm1::SourceEdited() { CurrentModified(); }

void TForm1::CurrentSize(qint64 length) {
    std::string time;
    FormatDownloadTime(length, Live().ModemSpeed(), time);
    browser_->SetCurrentStats(QStringLiteral("%1 байт").arg(length), Ui(time));
}

bool TForm1::OnEditorTab() const { return PageControl1->currentWidget() == editor_; }

// ---- Load ----

void TForm1::FileListBox1Change(const QString& path) {
    const bool saveWas = BitSave->isEnabled();
    const bool genWas = ButGen->isEnabled();
    BitSave->setEnabled(false);
    ButGen->setEnabled(false);
    if (path.isEmpty()) return;
    if (CurrentModified()) {
        const Answer answer = CurrentDialogs().AskYesNoCancel(this, kCaptionAttention, kSaveQuestion);
        // A save that failed or was refused keeps the page open as it is.
        if (answer == Answer::Cancel || (answer == Answer::Yes && !SpeedButton6Click())) {
            browser_->SelectLoaded();
            BitSave->setEnabled(answer == Answer::Cancel ? saveWas : doc_.modified);
            ButGen->setEnabled(genWas);
            return;
        }
    }
    LoadFile(path);
}

void TForm1::LoadFile(const QString& path) {
    browser_->SetFileListEnabled(false);
    ButGen->setEnabled(true);
    LoadOptions options;
    options.modemSpeed = Live().ModemSpeed();
    options.now = CurrentDateTime();
    options.decimalSeparator = LocaleDecimalSeparator();
    // Values a page leaves unchanged keep what the window shows.
    CollectFields(nullptr);
    const PageLoad load = LoadPage(doc_, path.toStdString(), options);
    if (!load.fileOk) {
        browser_->SetFileListEnabled(true);
        browser_->SelectLoaded();
        ButGen->setEnabled(!doc_.path.empty());
        ShowModifiedState();
        CurrentDialogs().Error(this, QString::fromStdString(RussianFileError(load.fileError)));
        return;
    }
    const LoadReport& report = load.report;
    currentPath_ = path;
    quiet_ = true;
    editor_->LoadText(DocToQt(doc_.page.text));
    browser_->SetLoadedStats(Ui(report.sizeText), Ui(report.downloadTime));
    browser_->AddFolderToHistory(QFileInfo(path).absolutePath());
    namePage_->Show(doc_.fields, *doc_.codec);
    httpPage_->Show(doc_.fields, *doc_.codec,
                    report.ok ? report.refreshUrlEnabled : httpPage_->RefreshUrl()->isEnabled());

    // The closing steps run whether or not the filling finished.
    browser_->SetCurrentStats(QStringLiteral("0 байт"), QStringLiteral("0 сек"));
    quiet_ = false;
    pageTexts_ = doc_.fields;
    CollectFields(nullptr);
    doc_.Remember();
    editor_->ClearEdited();
    doc_.Update();
    ShowModifiedState();
    ButPreviev->setEnabled(true);
    browser_->SetFileListEnabled(true);
    PageControl1->setEnabled(true);
    if (restoredTab_ >= 0) PageControl1->setCurrentIndex(std::exchange(restoredTab_, -1));
    browser_->MarkLoaded(path);
    editor_->ResetChangeCounter();
    if (report.ok) editor_->DisableSnippetButton();

    for (const std::string& warning : report.warnings) CurrentDialogs().Error(this, Ui(warning));
    if (!report.ok) {
        CurrentDialogs().Error(this, QStringLiteral("%1:\n%2").arg(QDir::toNativeSeparators(path),
                                                                   Ui(report.error)));
    }
}

// ---- Save, preview, new block ----

bool TForm1::SpeedButton6Click() {
    if (doc_.path.empty()) return false;
    std::size_t references = 0;
    SyncEditorText(&references);
    CollectFields(&references);
    SaveOptions options;
    options.asEdited = OnEditorTab();
    options.backup = CurrentSetupValues().BakFiles;
    options.writer = Live().WriterOptions();
    SaveResult result;
    {
        EditorTab::WrapPause pause(*editor_);
        const std::string before = doc_.page.text;
        // The typed characters the document's text could not hold; the save
        // adds those its own charset conversion writes as references.
        doc_.references = references;
        result = SaveDocument(doc_, options);
        // The writer's block (or a <meta charset> renamed for another charset)
        // is part of the text now, whether or not the file took it.
        if (doc_.page.text != before) {
            quiet_ = true;
            editor_->ReplaceText(DocToQt(doc_.page.text));
            ShowHttpFields();
            quiet_ = false;
        }
    }
    if (!result.refusal.empty()) CurrentDialogs().Error(this, Ui(result.refusal));
    if (!result.error.empty()) {
        CurrentDialogs().Error(this, Ui(RussianFileError(result.error)));
    } else if (!result.warning.empty()) {
        CurrentDialogs().Message(this, MessageKind::Warning, kCaptionAttention, Ui(RussianFileError(result.warning)));
    }
    if (result.written && result.references > 0) {
        CurrentDialogs().Message(
            this, MessageKind::Information, kCaptionAttention,
            QStringLiteral("Знаков, которых нет в кодировке страницы (%1), записано как числовые "
                           "ссылки вида &#N;: %2.")
                .arg(Ui(doc_.encoding.name))
                .arg(result.references));
    }
    if (result.saved) {
        editor_->ClearEdited();
        pageTexts_ = doc_.fields;
    }
    ShowModifiedState();
    return result.saved;
}

void TForm1::ButPrevievClick() {
    if (doc_.path.empty()) return;
    SyncEditorText(nullptr);
    CollectFields(nullptr);
    PreviewResult result;
    {
        EditorTab::WrapPause pause(*editor_);
        result = WritePreview(doc_, Live().WriterOptions(), [](const std::string& file) {
            CurrentDialogs().OpenUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
        });
    }
    if (result.written) lastPreview_ = QString::fromStdString(result.path);
    if (!result.refusal.empty()) CurrentDialogs().Error(this, Ui(result.refusal));
    if (!result.error.empty()) CurrentDialogs().Error(this, Ui(RussianFileError(result.error)));
}

void TForm1::Button3Click() {
    if (doc_.path.empty()) return;
    SyncEditorText(nullptr);
    CollectFields(nullptr);
    WriteResult result;
    {
        EditorTab::WrapPause pause(*editor_);
        MetaWriteOptions writer = Live().WriterOptions();
        writer.kind = doc_.kind;
        result = WriteMetaBlock(doc_.page.text, doc_.fields, writer);
        if (result.Done()) {
            quiet_ = true;
            editor_->ReplaceText(DocToQt(doc_.page.text));
            ShowHttpFields();
            quiet_ = false;
        }
    }
    if (!result.Done()) {
        CurrentDialogs().Error(this, Ui(result.message));
        return;
    }
    doc_.marks.sourceEdited = true;
    CurrentModified();
}

// ---- Folder history, about, help ----

void TForm1::N1Click() {
    TComBox* history = browser_->History();
    const QString shown = history->currentText();
    TFmNoteBook dialog(this);
    QStringList items;
    for (int i = 0; i < history->count(); ++i) items << history->itemText(i);
    dialog.SetLines(items);
    CurrentDialogs().ExecModal(dialog);
    if (!dialog.Accepted()) return;
    QStringList lines = dialog.Lines();
    const int selected = MergeEditedHistory(lines, shown);
    browser_->SetHistory(lines, selected);
}

void TForm1::SpButAboutClick() {
    TAboutBox about(this);
    CurrentDialogs().ExecModal(about);
}

void TForm1::SpButHelpClick() { OpenHelp(0); }

void TForm1::OpenHelp(int topic) {
    QUrl url = QUrl::fromLocalFile(helpFile_);
    if (topic > 0) url.setFragment(QStringLiteral("topic-%1").arg(topic));
    CurrentDialogs().OpenUrl(url);
}

// ---- Closing ----

void TForm1::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TForm1::FormCloseQuery() {
    if (!CurrentModified()) return true;
    switch (CurrentDialogs().AskYesNoCancel(this, kCaptionAttention, kSaveQuestion)) {
    case Answer::Yes: return SpeedButton6Click();
    case Answer::No: return true;
    default: return false;
    }
}

void TForm1::FormClose() {
    {
        KeyAccess access;
        MainWindowSettings values;
        values.Path = currentPath_.toStdString();
        values.PageIndex = restoredTab_ >= 0 ? restoredTab_ : PageControl1->currentIndex();
        values.PathIdx = browser_->History()->currentIndex();
        values.WindowsMax = isMaximized();
        WriteMainWindowSettings(access, values);
        access.Close();
    }
    histories_->Save(programFolder_, this);
    if (!lastPreview_.isEmpty()) QFile::remove(lastPreview_);
    ShowStoreMessages();
}

void TForm1::ShowStoreMessages() {
    for (const std::string& message : TakeStoreMessages())
        CurrentDialogs().Message(this, MessageKind::Warning, kCaptionAttention, QString::fromStdString(message));
}

}  // namespace veskaron::ui
