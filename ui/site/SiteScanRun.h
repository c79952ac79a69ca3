#pragma once
// Reading the pages of a site folder in the background: the folder is walked,
// then many pages are read at once (a page not in the cache keeps its thread
// waiting for the disk). The rows come back in the pages' order, in batches,
// a few times a second; "Стоп" ends the reading early.
#include <QFutureWatcher>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/loader.h"
#include "engine/robots_directives.h"
#include "site/site_scan.h"

namespace veskaron::ui {

class SiteScanRun final : public QObject {
    Q_OBJECT

public:
    explicit SiteScanRun(QObject* parent = nullptr);
    // A run still working is stopped and waited for: the readers look at the
    // flag before each page, so that is short.
    ~SiteScanRun() override;

    // Every page under `root` whose name matches `mask`, subfolders included.
    void startFolder(const std::string& root, const std::string& mask, const LoadOptions& options);
    // Just these pages (read again after a save).
    void startPages(const std::string& root, std::vector<std::string> paths, const LoadOptions& options);
    void stop();
    // The robot whose verdicts the rows carry, from the next run on.
    void setRobot(Robot robot) { robot_ = robot; }
    Robot robot() const { return robot_; }
    // Takes the rows read, in the pages' order, on this object's thread.
    void setSink(std::function<void(std::vector<site::SiteRow>)> sink) { sink_ = std::move(sink); }
    bool running() const { return running_; }
    bool stopped() const { return stopped_; }

    std::size_t done() const;
    std::size_t total() const;  // 0 while the folder is walked

Q_SIGNALS:
    void progressed();
    // Folders that could not be read, links that lead nowhere.
    void ended(const QStringList& problems);

private:
    struct State;
    void start(std::string root, std::string mask, std::vector<std::string> paths, bool walk,
               const LoadOptions& options);
    void deliver();
    void finish();
    void end();

    QThreadPool pool_;
    QFutureWatcher<void> watcher_;
    QTimer timer_;
    std::shared_ptr<State> state_;
    std::function<void(std::vector<site::SiteRow>)> sink_;
    bool running_ = false;
    bool stopped_ = false;
    bool workDone_ = false;  // the readers ended; rows may still wait for the table
    Robot robot_ = Robot::Google;
};

}  // namespace veskaron::ui
