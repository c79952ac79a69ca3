#include "ui/site/SiteWindow.h"
#include "messages/qt_text.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QSplitter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "messages/audit_texts.h"
#include "messages/journal_texts.h"
#include "messages/window_texts.h"
#include "messages/overview_texts.h"
#include "session/settings/Settings.h"
#include "ui/common/BackgroundWork.h"
#include "ui/common/Dialogs.h"
#include "ui/site/SitemapDialog.h"
#include "ui/common/Hints.h"
#include "ui/common/Widgets.h"
#include "ui/site/SiteApplyRun.h"
#include "ui/site/SiteCsvFiles.h"
#include "ui/site/SiteLinksPanel.h"
#include "ui/site/SiteOverview.h"
#include "ui/site/SiteScanRun.h"
#include "ui/site/SiteTable.h"

namespace veskaron::ui {
namespace {

constexpr int kWidth = 1280, kHeight = 560;

QPushButton* Button(const char* name, const QString& caption, const QString& hint) {
    auto* button = Named(new QPushButton(caption), name, hint);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

SiteWindow::SiteWindow(const QString& folder, session::Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(QDir::cleanPath(folder)), settings_(settings) {
    setObjectName(QStringLiteral("TFmSite"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(msg::site::kTitle);  // the folder is shown above the table
    model_ = new session::SiteModel(this);
    filter_ = new session::SiteFilter(this);
    filter_->setSiteModel(model_);
    scan_ = new SiteScanRun(this);
    apply_ = new SiteApplyRun(this);
    csv_ = std::make_unique<SiteCsvFiles>(*this, *filter_);
    saving_ = new SiteSaving(*this, *this, *apply_, settings_);
    buildControls();
    resize(kWidth, kHeight);

    scan_->setSink([this](std::vector<site::SiteRow> rows) { takeRows(std::move(rows)); });
    connect(scan_, &SiteScanRun::progressed, this, &SiteWindow::showProgress);
    connect(scan_, &SiteScanRun::ended, this, &SiteWindow::scanFinished);
    connect(apply_, &SiteApplyRun::progressed, this, &SiteWindow::showProgress);
    connect(saving_, &SiteSaving::pagesSaved, this, &SiteWindow::pagesSaved);
    connect(saving_, &SiteSaving::saveEnded, this, &SiteWindow::saveEnded);
    connect(model_, &session::SiteModel::editsChanged, this, &SiteWindow::showState);
    connect(model_, &session::SiteModel::findingsChanged, this, &SiteWindow::fillCodes);
    startScan(false);
}

SiteWindow::~SiteWindow() = default;

void SiteWindow::buildControls() {
    LabelSiteFolder = Named(new QLabel(QDir::toNativeSeparators(folder_)), "LabelSiteFolder");
    LabelSiteFolder->setTextFormat(Qt::PlainText);
    LabelSiteFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    EditSiteFilter = Named(new QLineEdit, "EditSiteFilter", msg::site::kFilterHint);
    EditSiteFilter->setPlaceholderText(msg::site::kFilterPlaceholder);
    EditSiteFilter->setClearButtonEnabled(true);
    ComboSiteCode = Named(new QComboBox, "ComboSiteCode", msg::site::kCodeHint);
    ComboSiteCode->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ComboSiteCode->setMinimumContentsLength(24);
    BtnSiteRescan = Button("BtnSiteRescan", msg::site::kRescanButton, msg::site::kRescanHint);
    ComboSiteRobot = Named(new QComboBox, "ComboSiteRobot", msg::site::kRobotHint);
    ComboSiteRobot->addItem(msg::site::kRobotGoogle);
    ComboSiteRobot->addItem(msg::site::kRobotYandex);

    TableSite = Named(new SiteTable, "TableSite", msg::site::kTableHint);
    TableSite->setModel(filter_);
    TableSite->sizeColumns();
    TableSite->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    PanelSiteOverview = new SiteOverview(*model_, *filter_);
    PageSiteViews = Named(new QTabWidget, "PageSiteViews");
    PageSiteViews->addTab(TableSite, msg::overview::kTableTab);
    PageSiteViews->addTab(PanelSiteOverview, msg::overview::kTab);

    ProgressSite = Named(new QProgressBar, "ProgressSite");
    ProgressSite->setTextVisible(true);
    ProgressSite->setMaximumWidth(220);
    BtnSiteStop = Button("BtnSiteStop", msg::site::kStopButton, msg::site::kStopHint);
    LabelSiteStatus = Named(new QLabel, "LabelSiteStatus");
    LabelSiteStatus->setTextFormat(Qt::PlainText);
    LabelSiteHint = Named(new QLabel, "LabelSiteHint");
    LabelSiteHint->setTextFormat(Qt::PlainText);
    BtnSiteExport = Button("BtnSiteExport", msg::site::kExportButton, msg::site::kExportHint);
    BtnSiteImport = Button("BtnSiteImport", msg::site::kImportButton, msg::site::kImportHint);
    BtnSiteSitemap = Button("BtnSiteSitemap", msg::site::kSitemapButton, msg::site::kSitemapHint);
    BtnSiteJournal = Button("BtnSiteJournal", msg::journal::kButton, msg::journal::kHint);
    BtnSiteUndo = Button("BtnSiteUndo", msg::site::kUndoButton, msg::site::kUndoHint);
    BtnSiteApply = Button("BtnSiteApply", msg::site::kApplyButton, msg::site::kApplyHint);
    BtnSiteClose = Button("BtnSiteClose", msg::site::kCloseButton, msg::site::kCloseHint);

    auto* top = new QHBoxLayout;
    top->addWidget(Caption(msg::site::kFilterLabel, QStringLiteral("LabelSiteFilter"), EditSiteFilter));
    top->addWidget(EditSiteFilter, 2);
    top->addSpacing(8);
    top->addWidget(Caption(msg::site::kCodeLabel, QStringLiteral("LabelSiteCode"), ComboSiteCode));
    top->addWidget(ComboSiteCode, 1);
    top->addSpacing(8);
    top->addWidget(Caption(msg::site::kRobotLabel, QStringLiteral("LabelSiteRobot"), ComboSiteRobot));
    top->addWidget(ComboSiteRobot);
    top->addSpacing(8);
    top->addWidget(BtnSiteRescan);

    auto* progress = new QHBoxLayout;
    progress->addWidget(ProgressSite);
    progress->addWidget(BtnSiteStop);
    progress->addWidget(LabelSiteStatus, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnSiteExport, BtnSiteImport, BtnSiteUndo, BtnSiteSitemap, BtnSiteJournal})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(BtnSiteApply);
    buttons->addWidget(BtnSiteClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->addWidget(LabelSiteFolder);
    layout->addLayout(top);
    PanelSiteLinks = new SiteLinksPanel;
    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    split->addWidget(PageSiteViews);
    split->addWidget(PanelSiteLinks);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    layout->addLayout(progress);
    layout->addLayout(buttons);
    layout->addWidget(LabelSiteHint);

    setTabOrder(EditSiteFilter, ComboSiteCode);
    setTabOrder(ComboSiteCode, ComboSiteRobot);
    setTabOrder(ComboSiteRobot, BtnSiteRescan);
    setTabOrder(BtnSiteRescan, TableSite);
    setTabOrder(TableSite, BtnSiteStop);
    setTabOrder(BtnSiteStop, BtnSiteExport);
    setTabOrder(BtnSiteExport, BtnSiteImport);
    setTabOrder(BtnSiteImport, BtnSiteUndo);
    setTabOrder(BtnSiteUndo, BtnSiteSitemap);
    setTabOrder(BtnSiteSitemap, BtnSiteJournal);
    setTabOrder(BtnSiteJournal, BtnSiteApply);
    setTabOrder(BtnSiteApply, BtnSiteClose);

    // Typing into the filter does not refilter a large table at every key.
    filterDelay_ = new QTimer(this);
    filterDelay_->setSingleShot(true);
    filterDelay_->setInterval(150);
    connect(filterDelay_, &QTimer::timeout, this, [this] {
        filter_->setText(EditSiteFilter->text().trimmed());
        showState();
    });
    connect(EditSiteFilter, &QLineEdit::textChanged, filterDelay_, qOverload<>(&QTimer::start));
    connect(ComboSiteCode, &QComboBox::activated, this, &SiteWindow::codeChosen);
    connect(BtnSiteRescan, &QPushButton::clicked, this, &SiteWindow::rescan);
    // Another robot reads robots.txt and the robots words otherwise: the pages are read again.
    connect(ComboSiteRobot, &QComboBox::activated, this, [this](int index) {
        const Robot robot = index == 1 ? Robot::Yandex : Robot::Google;
        if (robot == scan_->robot()) return;
        scan_->setRobot(robot);
        rescan();
    });
    connect(BtnSiteStop, &QPushButton::clicked, this, &SiteWindow::stopScan);
    connect(BtnSiteExport, &QPushButton::clicked, this, &SiteWindow::exportCsv);
    connect(BtnSiteImport, &QPushButton::clicked, this, &SiteWindow::importCsv);
    connect(BtnSiteSitemap, &QPushButton::clicked, this, &SiteWindow::writeSitemap);
    connect(BtnSiteJournal, &QPushButton::clicked, this, &SiteWindow::showJournal);
    connect(BtnSiteUndo, &QPushButton::clicked, this, &SiteWindow::dropEdits);
    connect(BtnSiteApply, &QPushButton::clicked, this, &SiteWindow::reviewAndSave);
    connect(BtnSiteClose, &QPushButton::clicked, this, &QWidget::close);
    connect(TableSite, &SiteTable::pageChosen, this, [this](const QString& path) {
        if (openPage_) openPage_(path);
    });
    connect(PanelSiteLinks, &SiteLinksPanel::pageChosen, this, [this](const QString& path) {
        if (openPage_) openPage_(path);
    });
    connect(TableSite->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { PanelSiteLinks->showPage(current.data(session::SiteModel::PathRole).toString()); });
    connect(PanelSiteOverview, &SiteOverview::codeChosen, this, &SiteWindow::showCode);
    // The links panel follows the table's current row: the overview has none.
    connect(PageSiteViews, &QTabWidget::currentChanged, this,
            [this](int index) { PanelSiteLinks->setVisible(PageSiteViews->widget(index) == TableSite); });
    auto* hints = new HintTracker(this);
    connect(hints, &HintTracker::LongHintChanged, LabelSiteHint, &QLabel::setText);
    fillCodes();
}

LoadOptions SiteWindow::loadOptions() const {
    LoadOptions options;
    options.modemSpeed = std::to_string(settings_.modemSpeed());
    options.now = CurrentDateTime();
    options.decimalSeparator = LocaleDecimalSeparator();
    return options;
}

bool SiteWindow::busy() const { return scan_->running() || apply_->running(); }

// ---- Reading the pages ----

void SiteWindow::startScan(bool keepEdits) {
    keptEdits_.clear();
    if (keepEdits) {
        for (int row = 0; row < model_->rowCount(); ++row)
            if (auto edits = model_->edits(row); !edits.empty())
                keptEdits_.emplace(model_->page(row).relative, std::move(edits));
    }
    // New rows come in the pages' order: sorting them one batch at a time
    // would cost more than the reading. The chosen order returns at the end.
    filter_->setDynamicSortFilter(false);
    model_->reset(folder_.toStdString());
    rescanningSaved_ = false;
    scanNote_.clear();
    scan_->startFolder(folder_.toStdString(), settings_.appliedFileMask(), loadOptions());
    showProgress();
    showState();
}

void SiteWindow::rescan() {
    if (busy()) return;
    startScan(true);
}

void SiteWindow::stopScan() { scan_->stop(); }

void SiteWindow::readSavedPages(std::vector<std::string> pages) {
    rescanningSaved_ = true;
    scanNote_.clear();
    scan_->startPages(model_->root(), std::move(pages), loadOptions());
}

void SiteWindow::takeRows(std::vector<site::SiteRow> rows) {
    if (rescanningSaved_) {
        for (site::SiteRow& row : rows) model_->replaceRow(std::move(row));
        return;
    }
    const int first = model_->rowCount();
    model_->appendRows(std::move(rows));
    if (keptEdits_.empty()) return;
    for (int row = first; row < model_->rowCount(); ++row) {
        const auto kept = keptEdits_.find(model_->page(row).relative);
        if (kept == keptEdits_.end()) continue;
        for (const auto& [member, value] : kept->second) model_->setEdit(row, member, value);
    }
}

void SiteWindow::scanFinished(const QStringList& problems) {
    keptEdits_.clear();
    rescanningSaved_ = false;
    if (scan_->stopped()) scanNote_ = msg::site::kStopped.arg(scan_->done()).arg(scan_->total());
    if (!problems.isEmpty()) {
        scanNote_ += problems.join(QStringLiteral("; "));
        LabelSiteStatus->setToolTip(PlainTip(problems.join(QLatin1Char('\n'))));
    }
    // The duplicates between a hundred thousand pages are found on another
    // thread; the table answers meanwhile and takes them when they come.
    const std::uint64_t revision = model_->revision();
    RunThenCall(
        this, [texts = model_->duplicateTexts()] { return session::SiteModel::FindDuplicates(texts); },
        [this, revision](std::vector<std::vector<site::Finding>> found) {
            // Rows sorted once afterwards, rather than moved one by one.
            filter_->setDynamicSortFilter(false);
            if (model_->revision() == revision) {
                model_->takeDuplicates(std::move(found));
            } else {
                model_->refreshDuplicates();  // edited meanwhile
            }
            filter_->setDynamicSortFilter(true);
            const QHeaderView* header = TableSite->horizontalHeader();
            if (header->sortIndicatorSection() >= 0)
                filter_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
            fillCodes();
            showProgress();
            showState();
            readLinks();
        });
    showProgress();
    showState();
}

// The links between the pages, read again from the files once the pages are:
// the findings between pages, the inbound counts and the depths, and the
// panel's lists. The reading of the folder ends with them.
void SiteWindow::readLinks() {
    std::vector<std::string> files;
    for (int row = 0; row < model_->rowCount(); ++row) files.push_back(model_->page(row).path);
    const indexing::LinkSiteOptions options{folder_.toStdString(), sitemapUrl_.toStdString(), {},
                                            settings_.linkDepthLimit(), scan_->robot()};
    struct Links {
        std::shared_ptr<const indexing::LinkGraph> graph;
        std::vector<session::SiteModel::LinkFacts> facts;
    };
    RunThenCall(
        this,
        [files = std::move(files), options] {
            auto graph = std::make_shared<const indexing::LinkGraph>(indexing::BuildLinkGraph(files, options));
            Links links{graph, std::vector<session::SiteModel::LinkFacts>(graph->pages.size())};
            for (std::uint32_t i = 0; i < graph->pages.size(); ++i)
                links.facts[i] = {graph->Findings(i), static_cast<int>(graph->inbound[i]),
                                  graph->depth[i] == indexing::kNoPage ? -1 : static_cast<int>(graph->depth[i])};
            return links;
        },
        [this](Links links) {
            filter_->setDynamicSortFilter(false);
            model_->takeLinks(std::move(links.facts));
            filter_->setDynamicSortFilter(true);
            PanelSiteLinks->setGraph(std::move(links.graph));
            fillCodes();
            showState();
            Q_EMIT scanEnded();
        });
}

void SiteWindow::showProgress() {
    const bool scanning = scan_->running();
    const bool applying = apply_->running();
    ProgressSite->setVisible(scanning || applying);
    BtnSiteStop->setVisible(scanning);
    BtnSiteStop->setEnabled(scanning && !scan_->stopped());
    if (applying) {
        ProgressSite->setRange(0, std::max(1, apply_->total()));
        ProgressSite->setValue(apply_->done());
        LabelSiteStatus->setText((apply_->committing() ? msg::site::kSaving : msg::site::kPlanning)
                                     .arg(apply_->done())
                                     .arg(apply_->total()));
    } else if (scanning) {
        const auto total = static_cast<int>(scan_->total());
        if (total == 0 && !rescanningSaved_) {
            ProgressSite->setRange(0, 0);
            LabelSiteStatus->setText(msg::site::kCollecting);
        } else {
            ProgressSite->setRange(0, std::max(1, total));
            ProgressSite->setValue(static_cast<int>(scan_->done()));
            LabelSiteStatus->setText(msg::site::kReading.arg(scan_->done()).arg(total));
        }
    } else {
        showState();
    }
}

void SiteWindow::showState() {
    const bool idle = !busy();
    const bool edits = model_->editedPages() > 0;
    BtnSiteRescan->setEnabled(idle);
    ComboSiteRobot->setEnabled(idle);
    BtnSiteExport->setEnabled(idle && model_->rowCount() > 0);
    BtnSiteImport->setEnabled(idle && model_->rowCount() > 0);
    BtnSiteSitemap->setEnabled(idle && model_->rowCount() > 0);
    BtnSiteJournal->setEnabled(idle);
    BtnSiteUndo->setEnabled(idle && edits);
    BtnSiteApply->setEnabled(idle && edits);
    TableSite->setEditTriggers(idle ? QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
    if (busy()) return;
    LabelSiteStatus->setText(scanNote_ + msg::site::kSummary.arg(model_->rowCount())
                                             .arg(model_->pagesWithFindings())
                                             .arg(filter_->rowCount())
                                             .arg(model_->editedPages()));
}

// The codes found, with the pages that have each; the choice survives a refill.
void SiteWindow::fillCodes() {
    const QString chosen = filter_->code();
    const QSignalBlocker block(ComboSiteCode);
    ComboSiteCode->clear();
    ComboSiteCode->addItem(msg::site::kAllPages, QString());
    ComboSiteCode->addItem(msg::site::kAnyFinding, QStringLiteral("*"));
    const auto [indexable, closed] = model_->indexingCounts();
    ComboSiteCode->addItem(msg::site::kIndexableItem.arg(indexable), QString::fromLatin1(session::SiteModel::kIndexable));
    ComboSiteCode->addItem(msg::site::kNotIndexableItem.arg(closed), QString::fromLatin1(session::SiteModel::kNotIndexable));
    for (const auto& [code, pages] : model_->codeCounts()) {
        const std::string name(FindingName(code.toStdString()));
        ComboSiteCode->addItem(msg::site::kCodeItem.arg(QString::fromStdString(name)).arg(pages), code);
        ComboSiteCode->setItemData(ComboSiteCode->count() - 1, code, Qt::ToolTipRole);
    }
    const int at = ComboSiteCode->findData(chosen);
    ComboSiteCode->setCurrentIndex(at >= 0 ? at : 0);
    if (at < 0) filter_->setCode({});
    showState();
}

void SiteWindow::codeChosen(int index) {
    filter_->setCode(ComboSiteCode->itemData(index).toString());
    showState();
}

void SiteWindow::showCode(const QString& code) {
    const int at = ComboSiteCode->findData(code);
    if (at < 0) return;
    ComboSiteCode->setCurrentIndex(at);
    codeChosen(at);
    PageSiteViews->setCurrentWidget(TableSite);
}

// The pages as read (edits not saved yet do not count): what the sitemap lists and leaves out.
void SiteWindow::writeSitemap() {
    if (busy()) return;
    std::vector<site::SiteRow> rows;
    rows.reserve(static_cast<std::size_t>(model_->rowCount()));
    for (int row = 0; row < model_->rowCount(); ++row) rows.push_back(model_->page(row));
    SitemapDialog dialog(model_->root(), std::move(rows), settings_.backupFiles(), this);
    dialog.setBaseUrl(sitemapUrl_);
    const int result = CurrentDialogs().ExecModal(dialog);
    sitemapUrl_ = dialog.baseUrl();
    if (result != QDialog::Accepted) return;
    if (!dialog.error().isEmpty()) {
        CurrentDialogs().Message(this, MessageKind::Error, msg::kCaptionError, dialog.error());
        return;
    }
    CurrentDialogs().Message(this, MessageKind::Information, msg::kCaptionAttention,
                             msg::site::kSitemapWritten.arg(dialog.written().join(QLatin1Char('\n'))));
}

void SiteWindow::dropEdits() {
    if (busy()) return;
    // Edits not yet written go only when the user says so, as on closing.
    const int edited = model_->editedPages();
    if (edited > 0 && CurrentDialogs().AskYesNo(this, msg::kCaptionAttention, msg::kDropEditsQuestion.arg(edited),
                                                MessageKind::Warning) != Answer::Yes)
        return;
    model_->dropEdits();
}

// ---- The CSV files and the save ----

void SiteWindow::exportCsv() { csv_->exportCsv(); }

void SiteWindow::importCsv() { csv_->importCsv(); }

void SiteWindow::reviewAndSave() { saving_->reviewAndSave(); }

void SiteWindow::showJournal() { saving_->showJournal(); }

// ---- Closing ----

void SiteWindow::closeEvent(QCloseEvent* event) {
    if (apply_->running()) {
        // Pages being written are not left half done.
        event->ignore();
        return;
    }
    if (model_->editedPages() > 0 &&
        CurrentDialogs().AskYesNo(this, msg::kCaptionAttention, msg::site::kCloseQuestion.arg(model_->editedPages()),
                                  MessageKind::Warning) != Answer::Yes) {
        event->ignore();
        return;
    }
    scan_->stop();
    event->accept();
}

}  // namespace veskaron::ui
