#pragma once
// The site window's save: every edited page planned off the window's thread,
// the review where the person ticks the pages to write, the writing and its
// report; and the journal of saves, whose undo writes pages back. The pages
// written either way are read again into the table.
#include <QObject>
#include <QStringList>
#include <string>
#include <vector>

#include "engine/loader.h"

namespace veskaron::session {
class Settings;
}

namespace veskaron::ui {

class SiteApplyRun;
class SiteWindow;

class SiteSaving final : public QObject {
    Q_OBJECT

public:
    // What the save asks of its window beyond the pages.
    class Host {
    public:
        // The options the pages are read with.
        virtual LoadOptions loadOptions() const = 0;
        // The progress of the runs, and the state of the buttons and the status line.
        virtual void showProgress() = 0;
        virtual void showState() = 0;
        // Pages just written, by path, read again into their rows.
        virtual void readSavedPages(std::vector<std::string> pages) = 0;

    protected:
        ~Host() = default;
    };

    // `apply` plans and writes the pages; the review and the reports are `window`'s.
    SiteSaving(SiteWindow& window, Host& host, SiteApplyRun& apply, const session::Settings& settings);

    // The review of the edited pages, then the save of the ticked ones.
    void reviewAndSave();
    // The journal of saves, where a batch can be taken back.
    void showJournal();

Q_SIGNALS:
    // Pages a save or an undo wrote, by path.
    void pagesSaved(const QStringList& paths);
    // The save of the reviewed pages ended (its report was shown).
    void saveEnded();

private:
    void planned();
    void committed();

    SiteWindow& window_;
    Host& host_;
    SiteApplyRun& apply_;
    const session::Settings& settings_;
};

}  // namespace veskaron::ui
