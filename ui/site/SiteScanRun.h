#pragma once
// Reading the pages of a site folder in the background: the folder is walked,
// then many pages are read at once (a page not in the cache keeps its thread
// waiting for the disk). The rows come back in the pages' order, in batches,
// a few times a second; "Стоп" ends the reading early.
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/loader.h"
#include "engine/robots_directives.h"
#include "site/site_scan.h"
#include "ui/common/BackgroundWork.h"

namespace veskaron::ui {

class SiteScanRun final : public QObject {
    Q_OBJECT

public:
    explicit SiteScanRun(QObject* parent = nullptr);

    // Every page under `root` whose name matches `mask`, subfolders included.
    void startFolder(const std::string& root, const std::string& mask, const LoadOptions& options);
    // Just these pages (read again after a save).
    void startPages(const std::string& root, std::vector<std::string> paths, const LoadOptions& options);
    void stop() { run_.stop(); }
    // The robot whose verdicts the rows carry, from the next run on.
    void setRobot(Robot robot) { robot_ = robot; }
    Robot robot() const { return robot_; }
    // Takes the rows read, in the pages' order, on this object's thread.
    void setSink(std::function<void(std::vector<site::SiteRow>)> sink) { sink_ = std::move(sink); }
    bool running() const { return run_.running(); }
    bool stopped() const { return run_.stopped(); }

    std::size_t done() const { return run_.done(); }
    std::size_t total() const { return run_.total(); }  // 0 while the folder is walked

Q_SIGNALS:
    void progressed();
    // Folders that could not be read, links that lead nowhere.
    void ended(const QStringList& problems);

private:
    struct Walk;
    void start(std::string root, std::string mask, std::vector<std::string> paths, bool walk,
               const LoadOptions& options);

    BackgroundItems run_;
    std::shared_ptr<Walk> walk_;
    std::function<void(std::vector<site::SiteRow>)> sink_;
    Robot robot_ = Robot::Google;
};

}  // namespace veskaron::ui
