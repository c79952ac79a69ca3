#pragma once
// The site window: every page of a folder in one table, read in the
// background, edited in place or through a CSV file, reviewed page by page
// and written. The table is a model over the pages (session/SiteModel); the
// window reads its controls, starts the runs and shows what they report. Its
// CSV files are SiteCsvFiles', the review and the save SiteSaving's.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/loader.h"
#include "session/site/SiteModel.h"
#include "ui/site/SiteSaving.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace veskaron::session {
class Settings;
}

namespace veskaron::ui {

class SiteApplyRun;
class SiteCsvFiles;
class SiteLinksPanel;
class SiteOverview;
class SiteScanRun;
class SiteTable;

class SiteWindow final : public QWidget, private SiteSaving::Host {
    Q_OBJECT

public:
    // The pages under `folder` that match the settings' file mask.
    SiteWindow(const QString& folder, session::Settings& settings, QWidget* parent = nullptr);
    ~SiteWindow() override;

    // What a double click on a row does with the page's path.
    void setPageOpener(std::function<void(const QString&)> open) { openPage_ = std::move(open); }

    const QString& folder() const { return folder_; }
    session::SiteModel& model() { return *model_; }
    bool busy() const;

    void rescan();
    void stopScan();
    void exportCsv();
    void importCsv();
    void dropEdits();
    void writeSitemap();
    // The journal of saves, where a batch can be taken back.
    void showJournal();
    // The review of the edited pages, then the save of the ticked ones.
    void reviewAndSave();

Q_SIGNALS:
    // A reading of the folder or of saved pages ended.
    void scanEnded();
    // The save of the reviewed pages ended (its report was shown).
    void saveEnded();
    // Pages the save wrote, by path: a window showing one of them is out of date.
    void pagesSaved(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void startScan(bool keepEdits);
    void takeRows(std::vector<site::SiteRow> rows);
    void scanFinished(const QStringList& problems);
    void readLinks();
    void showProgress() override;
    void showState() override;
    void fillCodes();
    void codeChosen(int index);
    // The table with the pages of a filter's code (a bar of the overview).
    void showCode(const QString& code);
    LoadOptions loadOptions() const override;
    void readSavedPages(std::vector<std::string> pages) override;

    QString folder_;
    session::Settings& settings_;
    std::function<void(const QString&)> openPage_;
    session::SiteModel* model_ = nullptr;
    session::SiteFilter* filter_ = nullptr;
    SiteScanRun* scan_ = nullptr;
    SiteApplyRun* apply_ = nullptr;
    std::unique_ptr<SiteCsvFiles> csv_;
    SiteSaving* saving_ = nullptr;
    QTimer* filterDelay_ = nullptr;

    QLabel* LabelSiteFolder = nullptr;
    QLineEdit* EditSiteFilter = nullptr;
    QComboBox* ComboSiteCode = nullptr;
    QComboBox* ComboSiteRobot = nullptr;
    QPushButton* BtnSiteSitemap = nullptr;
    QPushButton* BtnSiteJournal = nullptr;
    QString sitemapUrl_;  // the site's address as last typed for its sitemap
    QPushButton* BtnSiteRescan = nullptr;
    SiteTable* TableSite = nullptr;
    QTabWidget* PageSiteViews = nullptr;  // the table and the overview
    SiteOverview* PanelSiteOverview = nullptr;
    SiteLinksPanel* PanelSiteLinks = nullptr;
    QProgressBar* ProgressSite = nullptr;
    QPushButton* BtnSiteStop = nullptr;
    QLabel* LabelSiteStatus = nullptr;
    QLabel* LabelSiteHint = nullptr;
    QPushButton* BtnSiteExport = nullptr;
    QPushButton* BtnSiteImport = nullptr;
    QPushButton* BtnSiteUndo = nullptr;
    QPushButton* BtnSiteApply = nullptr;
    QPushButton* BtnSiteClose = nullptr;

    // Edits kept over a new reading of the folder, by relative path.
    std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> keptEdits_;
    bool rescanningSaved_ = false;  // the running scan reads pages just saved
    QString scanNote_;              // the last scan's stop or problems, for the status line
};

}  // namespace veskaron::ui
