#include "ui/site/SiteOverview.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedBarSeries>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/file_io.h"
#include "messages/audit_texts.h"
#include "messages/overview_texts.h"
#include "messages/window_texts.h"
#include "session/site/SiteModel.h"
#include "ui/common/BackgroundWork.h"
#include "ui/common/Dialogs.h"
#include "ui/common/Widgets.h"

namespace veskaron::ui {
namespace {

namespace mo = msg::overview;

// The levels' colours, as the table marks them; the codes come in this order.
const QColor kLevelColours[3] = {QColor(0xc6, 0x28, 0x28), QColor(0xef, 0x8f, 0x00), QColor(0x1e, 0x63, 0xb4)};
const QColor kWithinColour(0x5b, 0x8d, 0xc9), kIndexedColour(0x2e, 0x7d, 0x32), kClosedColour(0x8d, 0x6e, 0x63);

QChart* NewChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);  // counts change with every edit
    chart->legend()->setAlignment(Qt::AlignBottom);
    QFont legend = chart->legend()->font();
    legend.setPointSizeF(legend.pointSizeF() * 0.9);
    chart->legend()->setFont(legend);
    chart->setMargins(QMargins(4, 4, 4, 4));
    QFont font = chart->titleFont();
    font.setBold(true);
    chart->setTitleFont(font);
    return chart;
}

QChartView* NewView(QChart* chart, const char* name, const QString& hint) {
    auto* view = Named(new QChartView(chart), name, hint);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(240, 130);
    return view;
}

QValueAxis* NewCountAxis() {
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTickCount(5);
    return axis;
}

// A range whose ticks fall on round numbers.
void CountRange(QValueAxis* axis, std::size_t most) {
    axis->setRange(0, std::max<qreal>(4, static_cast<qreal>(most)));
    axis->applyNiceNumbers();
}

// Axis labels a size smaller, so that a count of 100,000 fits a small chart.
void SmallLabels(QAbstractAxis* axis) {
    QFont font = axis->labelsFont();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    axis->setLabelsFont(font);
}

void Replace(QBarSet* set, const QList<qreal>& values) {
    set->remove(0, set->count());
    set->append(values);
}

}  // namespace

SiteOverview::SiteOverview(session::SiteModel& model, session::SiteFilter& filter, QWidget* parent)
    : QWidget(parent), model_(model), filter_(filter) {
    setObjectName(QStringLiteral("TabSiteOverview"));
    buildCodes();
    titles_ = buildHistogram("ChartSiteTitles", mo::kTitlesTitle, site::TitleWidths());
    descriptions_ = buildHistogram("ChartSiteDescriptions", mo::kDescriptionsTitle, site::DescriptionWidths());
    buildIndexing();
    LabelSiteOverview = Named(new QLabel, "LabelSiteOverview");
    LabelSiteOverview->setTextFormat(Qt::PlainText);
    BtnSiteReport = Named(new QPushButton(mo::kReportButton), "BtnSiteReport", mo::kReportHint);
    BtnSiteReport->setAutoDefault(false);

    // The codes take the height they need; the list scrolls on a small screen.
    auto* codes = new QScrollArea;
    codes->setObjectName(QStringLiteral("ScrollSiteCodes"));
    codes->setWidget(ChartSiteCodes);
    codes->setWidgetResizable(true);
    codes->setFrameShape(QFrame::NoFrame);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(codes, 0, 0, 2, 1);
    grid->addWidget(titles_.view, 0, 1);
    grid->addWidget(descriptions_.view, 0, 2);
    grid->addWidget(ChartSiteIndexing, 1, 1, 1, 2);
    // The codes' names are long: Qt Charts cuts what does not fit.
    grid->setColumnStretch(0, 11);
    grid->setColumnStretch(1, 6);
    grid->setColumnStretch(2, 6);
    grid->setRowStretch(0, 3);
    grid->setRowStretch(1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabelSiteOverview, 1);
    bottom->addWidget(BtnSiteReport);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid, 1);
    layout->addLayout(bottom);

    // One count for a burst of changes (a batch of rows, an edit and its duplicates).
    delay_ = new QTimer(this);
    delay_->setSingleShot(true);
    delay_->setInterval(20);
    connect(delay_, &QTimer::timeout, this, &SiteOverview::refresh);
    connect(&model_, &QAbstractItemModel::modelReset, this, &SiteOverview::schedule);
    connect(&model_, &QAbstractItemModel::rowsInserted, this, &SiteOverview::schedule);
    connect(&model_, &QAbstractItemModel::dataChanged, this, &SiteOverview::schedule);
    connect(&model_, &session::SiteModel::findingsChanged, this, &SiteOverview::schedule);
    connect(&filter_, &QAbstractItemModel::modelReset, this, &SiteOverview::schedule);
    connect(&filter_, &QAbstractItemModel::layoutChanged, this, &SiteOverview::schedule);
    connect(&filter_, &QAbstractItemModel::rowsInserted, this, &SiteOverview::schedule);
    connect(&filter_, &QAbstractItemModel::rowsRemoved, this, &SiteOverview::schedule);
    connect(BtnSiteReport, &QPushButton::clicked, this, &SiteOverview::writeReport);
}

void SiteOverview::buildCodes() {
    QChart* chart = NewChart(mo::kCodesTitle);
    auto* series = new QHorizontalStackedBarSeries;
    series->setBarWidth(0.75);
    for (int level = 0; level < 3; ++level) {
        auto* set = new QBarSet(FromUtf8(report_text::kLevels[level]));
        set->setColor(kLevelColours[level]);
        set->setBorderColor(kLevelColours[level].darker(130));
        connect(set, &QBarSet::clicked, this, [this](int index) {
            if (index >= 0 && index < static_cast<int>(codesShown_.size()))
                Q_EMIT codeChosen(FromUtf8(codesShown_[static_cast<std::size_t>(index)]));
        });
        series->append(set);
        codeSets_[level] = set;
    }
    chart->addSeries(series);
    codeAxis_ = new QBarCategoryAxis;
    chart->addAxis(codeAxis_, Qt::AlignLeft);
    series->attachAxis(codeAxis_);
    codeValues_ = NewCountAxis();
    chart->addAxis(codeValues_, Qt::AlignBottom);
    series->attachAxis(codeValues_);
    chart->legend()->setAlignment(Qt::AlignTop);
    ChartSiteCodes = NewView(chart, "ChartSiteCodes", mo::kClickHint);
}

SiteOverview::Histogram SiteOverview::buildHistogram(const char* name, const QString& title,
                                                     const site::WidthHistogram& shape) {
    Histogram h;
    QChart* chart = NewChart(title);
    auto* series = new QStackedBarSeries;
    series->setBarWidth(0.9);
    h.within = new QBarSet(mo::kWithin);
    h.within->setColor(kWithinColour);
    h.past = new QBarSet(mo::kPast);
    h.past->setColor(kLevelColours[1]);
    series->append(h.within);
    series->append(h.past);
    chart->addSeries(series);
    // Bars stand at 0, 1, 2...: a bin's left edge is half a step before its bar.
    const int n = static_cast<int>(shape.bins.size());
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setRange(-0.5, n - 0.5);
    for (int i = 0; i < n; i += 5)
        x->append((i == n - 1 ? QStringLiteral("≥") : QString()) + QString::number(i * static_cast<int>(shape.binPx)),
                  i - 0.5);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    SmallLabels(x);
    h.y = NewCountAxis();
    h.y->setTickCount(3);  // room for the labels in a low chart
    SmallLabels(h.y);
    chart->addAxis(h.y, Qt::AlignLeft);
    series->attachAxis(h.y);
    h.limit = new QLineSeries;
    h.limit->setName(mo::kLimit.arg(shape.limitPx));
    QPen pen(Qt::black, 2, Qt::DashLine);
    h.limit->setPen(pen);
    chart->addSeries(h.limit);
    h.limit->attachAxis(x);
    h.limit->attachAxis(h.y);
    // The bars past the limit are the pages whose text the result cuts.
    const std::string_view code = shape.limitPx == site::TitleWidths().limitPx ? "title-width" : "description-width";
    connect(h.past, &QBarSet::clicked, this, [this, code](int) { Q_EMIT codeChosen(FromUtf8(code)); });
    h.view = NewView(chart, name, mo::kClickHint);
    return h;
}

void SiteOverview::buildIndexing() {
    QChart* chart = NewChart(mo::kIndexingTitle);
    auto* series = new QHorizontalStackedBarSeries;
    series->setBarWidth(0.7);
    indexedSet_ = new QBarSet(mo::kIndexed);
    indexedSet_->setColor(kIndexedColour);
    closedSet_ = new QBarSet(mo::kClosed);
    closedSet_->setColor(kClosedColour);
    series->append(indexedSet_);
    series->append(closedSet_);
    chart->addSeries(series);
    indexingAxis_ = new QBarCategoryAxis;
    chart->addAxis(indexingAxis_, Qt::AlignLeft);
    series->attachAxis(indexingAxis_);
    SmallLabels(indexingAxis_);
    indexingValues_ = NewCountAxis();
    SmallLabels(indexingValues_);
    chart->addAxis(indexingValues_, Qt::AlignBottom);
    series->attachAxis(indexingValues_);
    chart->legend()->hide();
    connect(indexedSet_, &QBarSet::clicked, this,
            [this](int) { Q_EMIT codeChosen(QString::fromLatin1(session::SiteModel::kIndexable)); });
    connect(closedSet_, &QBarSet::clicked, this,
            [this](int) { Q_EMIT codeChosen(QString::fromLatin1(session::SiteModel::kNotIndexable)); });
    ChartSiteIndexing = NewView(chart, "ChartSiteIndexing", mo::kClickHint);
}

void SiteOverview::schedule() {
    stale_ = true;
    if (isVisible() && !delay_->isActive()) delay_->start();
}

void SiteOverview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) refresh();
}

void SiteOverview::refresh() {
    stale_ = false;
    delay_->stop();
    site::SiteCounter counter;
    const int shown = filter_.rowCount();
    if (shown == model_.rowCount()) {
        for (int row = 0; row < shown; ++row) model_.countRow(row, counter);
    } else {
        for (int row = 0; row < shown; ++row) model_.countRow(filter_.mapToSource(filter_.index(row, 0)).row(), counter);
    }
    counts_ = counter.Take();
    showCodes();
    showHistogram(titles_, counts_.titles);
    showHistogram(descriptions_, counts_.descriptions);
    showIndexing();
    const auto& levels = counts_.levels;
    LabelSiteOverview->setText(mo::kSummary.arg(counts_.pages + counts_.unreadable)
                                   .arg(counts_.pagesWithFindings)
                                   .arg(levels[0])
                                   .arg(levels[1])
                                   .arg(levels[2]));
    BtnSiteReport->setEnabled(shown > 0);
    Q_EMIT refreshed();
}

void SiteOverview::showCodes() {
    // Bottom up: the first code (errors, most pages) on top.
    codesShown_.clear();
    QStringList names;
    QList<qreal> values[3];
    std::size_t most = 0;
    for (auto it = counts_.codes.rbegin(); it != counts_.codes.rend(); ++it) {
        codesShown_.push_back(it->code);
        names << mo::kBarLabel.arg(FromUtf8(FindingName(it->code))).arg(it->pages);
        for (int level = 0; level < 3; ++level)
            values[level] << (level == static_cast<int>(it->level) ? static_cast<qreal>(it->pages) : 0.0);
        most = std::max(most, it->pages);
    }
    for (int level = 0; level < 3; ++level) Replace(codeSets_[level], values[level]);
    codeAxis_->setCategories(names);
    CountRange(codeValues_, most);
    ChartSiteCodes->setMinimumHeight(std::max(130, 90 + 22 * static_cast<int>(names.size())));
}

void SiteOverview::showHistogram(Histogram& h, const site::WidthHistogram& counts) {
    QList<qreal> within, past;
    std::size_t most = 0;
    for (std::size_t i = 0; i < counts.bins.size(); ++i) {
        const bool cut = i * counts.binPx >= counts.limitPx;
        within << (cut ? 0.0 : static_cast<qreal>(counts.bins[i]));
        past << (cut ? static_cast<qreal>(counts.bins[i]) : 0.0);
        most = std::max(most, counts.bins[i]);
    }
    Replace(h.within, within);
    Replace(h.past, past);
    CountRange(h.y, most);
    const qreal x = static_cast<qreal>(counts.limitPx) / static_cast<qreal>(counts.binPx) - 0.5;
    h.limit->replace(QList<QPointF>{{x, 0}, {x, h.y->max()}});
}

void SiteOverview::showIndexing() {
    QStringList names;
    QList<qreal> indexed, closed;
    std::size_t most = counts_.indexable;
    for (auto it = counts_.closed.rbegin(); it != counts_.closed.rend(); ++it) {
        names << mo::kBarLabel.arg(FromUtf8(report_text::IndexReasonName(it->first))).arg(it->second);
        indexed << 0.0;
        closed << static_cast<qreal>(it->second);
        most = std::max(most, it->second);
    }
    names << mo::kBarLabel.arg(FromUtf8(report_text::IndexReasonName({}))).arg(counts_.indexable);
    indexed << static_cast<qreal>(counts_.indexable);
    closed << 0.0;
    Replace(indexedSet_, indexed);
    Replace(closedSet_, closed);
    indexingAxis_->setCategories(names);
    CountRange(indexingValues_, most);
}

void SiteOverview::writeReport() {
    const QString folder = QString::fromStdString(model_.root());
    const std::optional<QString> chosen = CurrentDialogs().SaveFileName(
        this, mo::kReportCaption, QDir(folder).filePath(mo::kReportFile), mo::kReportFilter);
    if (!chosen || chosen->isEmpty()) return;
    // The rows as shown now are copied; the file is made and written off the window's thread.
    std::vector<site::ReportPage> pages;
    const int shown = filter_.rowCount();
    pages.reserve(static_cast<std::size_t>(shown));
    for (int i = 0; i < shown; ++i) {
        const int row = filter_.mapToSource(filter_.index(i, 0)).row();
        pages.push_back({model_.page(row).relative, model_.facts(row), model_.findings(row)});
    }
    BtnSiteReport->setEnabled(false);
    LabelSiteOverview->setText(mo::kReportWriting);
    RunThenCall(
        this,
        [pages = std::move(pages), head = site::ReportHead{QDir::toNativeSeparators(folder).toStdString(),
                                                             site::ReportDateNow()},
         path = chosen->toStdString()] {
            return WriteFileAtomically(path, site::HtmlReport(head, pages, site::CountPages(pages)));
        },
        [this, path = *chosen](FileStatus written) {
            BtnSiteReport->setEnabled(filter_.rowCount() > 0);
            if (!written.ok) {
                const QString error = QString::fromStdString(written.error);
                LabelSiteOverview->clear();
                CurrentDialogs().Message(this, MessageKind::Error, msg::kCaptionError, error);
                Q_EMIT reportWritten(path, error);
                return;
            }
            LabelSiteOverview->setText(mo::kReportWritten.arg(QDir::toNativeSeparators(path)));
            Q_EMIT reportWritten(path, {});
        });
}

}  // namespace veskaron::ui
