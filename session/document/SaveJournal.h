#pragma once
// The windows' saves in the journal of saves: one page from the main window,
// the reviewed pages of the site window.
#include <memory>
#include <string>
#include <vector>

#include "edits/journal.h"
#include "edits/journal_settings.h"
#include "engine/save.h"
#include "site/page_edit.h"

namespace veskaron::session {

// What asked, as the journal records it.
inline constexpr const char* kMainWindowOrigin = "veskaron: главное окно, «Сохранить»";
inline constexpr const char* kSiteWindowOrigin = "veskaron: окно «Сайт», «Сохранить»";
// Followed by the batch's number.
inline constexpr const char* kSiteWindowUndoOrigin = "veskaron: окно «Сайт», «Отменить пакет»";

// Journals one save of a page: set on SaveOptions::beforeReplace, it records
// the page's bytes before and after; Done() marks the page written and
// closes the batch.
class PageSaveJournal {
public:
    explicit PageSaveJournal(std::string origin) : origin_(std::move(origin)) {}
    void Attach(SaveOptions& options);
    void Done(bool written);

private:
    std::string origin_;
    std::unique_ptr<edits::JournalBatch> batch_;
};

// The site window's pages, recorded before any is replaced.
struct PlansJournal {
    std::shared_ptr<edits::JournalBatch> batch;  // null when refused
    std::string error;                           // why the journal refused the pages
    std::size_t first = 0;                       // the journal index of the first plan
};
PlansJournal JournalPlans(const std::vector<site::PlannedEdit>& plans, const std::string& origin);

}  // namespace veskaron::session
