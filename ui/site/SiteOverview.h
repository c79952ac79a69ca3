#pragma once
// "Обзор" of the site window: the rows the table shows as charts (findings
// per code, title and description widths around their limits, indexable
// pages and why the others are not) and the report of them. The charts are
// fed from counts taken over the shown rows, again whenever the rows or the
// filter change, while the panel is shown.
#include <QString>
#include <QWidget>
#include <string_view>
#include <vector>

#include "site/report.h"

class QBarSet;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QTimer;
class QBarCategoryAxis;
class QCategoryAxis;
class QValueAxis;

namespace veskaron::session {
class SiteModel;
class SiteFilter;
}  // namespace veskaron::session

namespace veskaron::ui {

class SiteOverview final : public QWidget {
    Q_OBJECT

public:
    SiteOverview(session::SiteModel& model, session::SiteFilter& filter, QWidget* parent = nullptr);

    // The counts the charts show now.
    const site::SiteCounts& counts() const { return counts_; }
    // Counts the shown rows again now (a timer does it after a change).
    void refresh();
    // Asks for a file and writes the report of the shown rows to it.
    void writeReport();

Q_SIGNALS:
    // A bar was clicked: the filter's code of its pages (SiteFilter::setCode).
    void codeChosen(const QString& code);
    // The charts show new counts.
    void refreshed();
    // A report was written, or could not be (`error` says why).
    void reportWritten(const QString& path, const QString& error);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Histogram {
        QChartView* view = nullptr;
        QBarSet* within = nullptr;
        QBarSet* past = nullptr;
        QLineSeries* limit = nullptr;
        QValueAxis* y = nullptr;
    };
    void buildCodes();
    Histogram buildHistogram(const char* name, const QString& title, const site::WidthHistogram& shape);
    void buildIndexing();
    void schedule();
    void showCodes();
    void showHistogram(Histogram& h, const site::WidthHistogram& counts);
    void showIndexing();

    session::SiteModel& model_;
    session::SiteFilter& filter_;
    site::SiteCounts counts_;
    QTimer* delay_ = nullptr;
    bool stale_ = true;

    QChartView* ChartSiteCodes = nullptr;
    QBarSet* codeSets_[3] = {};  // error, warning, info
    QBarCategoryAxis* codeAxis_ = nullptr;
    QValueAxis* codeValues_ = nullptr;
    std::vector<std::string_view> codesShown_;  // per category, bottom up
    Histogram titles_, descriptions_;
    QChartView* ChartSiteIndexing = nullptr;
    QBarSet* indexedSet_ = nullptr;
    QBarSet* closedSet_ = nullptr;
    QBarCategoryAxis* indexingAxis_ = nullptr;
    QValueAxis* indexingValues_ = nullptr;
    QLabel* LabelSiteOverview = nullptr;
    QPushButton* BtnSiteReport = nullptr;
};

}  // namespace veskaron::ui
