#pragma once
// A site window on a folder for a test: shown at once, reading the folder,
// and closed when the test ends, a failed check included.
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include "session/settings/Settings.h"
#include "ui/site/SiteWindow.h"

namespace veskaron::ui {

struct OpenSite {
    OpenSite(const QString& folder, session::Settings& settings)
        : window(new SiteWindow(folder, settings)), scanned(window.data(), &SiteWindow::scanEnded) {
        window->show();
    }
    ~OpenSite() { delete window.data(); }
    OpenSite(const OpenSite&) = delete;
    OpenSite& operator=(const OpenSite&) = delete;

    // True once the folder's first reading has ended.
    bool Scanned() { return QTest::qWaitFor([this] { return scanned.count() == 1; }); }

    QPointer<SiteWindow> window;
    QSignalSpy scanned;
};

}  // namespace veskaron::ui
